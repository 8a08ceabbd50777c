// The window's Song face: 宋体 where it exists, else a mainland Song face with the same
// character widths, so every heading stands over its column and the punctuation sits where a
// mainland reader expects it.
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QRawFont>

#include "ui/single_instance_guard.h"
#include "ui/window_fonts.h"
#include "ui/workbook_binding.h"
#include "window_fixture.h"

namespace ui::testing {
namespace {

const char* const kHeadings[] = {"Label6", "Label1_0", "Label1_1", "Label1_2", "Label5",
                                 "Label7", "Label10",  "Label3",   "Label8"};

bool IsHalfWidth(QChar character) {
  return character.unicode() < 0x80;
}

class WindowFontsTest : public WindowTest {};

TEST_F(WindowFontsTest, TheFaceIsSongWithMainlandPunctuation) {
  const QString family = QFontInfo(SongFont(kDefaultFontPixels)).family();
  const QStringList song = {"SimSun", "宋体", "AR PL SungtiL GB"};
  EXPECT_TRUE(song.contains(family)) << family.toStdString();
}

// Each heading's characters have the widths its blanks were counted for: 12 pixels for a
// Chinese character or full-width sign, 6 for a blank, a digit or "/"; and the caption fits
// its label.
TEST_F(WindowFontsTest, EveryHeadingKeepsTheTwelveAndSixPixelWidths) {
  for (const char* name : kHeadings) {
    auto* label = qobject_cast<QLabel*>(Control(name));
    ASSERT_NE(label, nullptr) << name;
    const QFontMetrics metrics(label->font());
    const QString caption = label->text();
    int expected = 0;
    for (QChar character : caption) {
      const int want = IsHalfWidth(character) ? 6 : 12;
      EXPECT_EQ(metrics.horizontalAdvance(character), want)
          << name << " '" << QString(character).toStdString() << "'";
      expected += want;
    }
    EXPECT_EQ(metrics.horizontalAdvance(caption), expected) << name;
    EXPECT_LE(expected, label->width()) << name << " is cut";
  }
}

// Every character the window and its messages show comes from the chosen face itself, not
// from a stand-in with other widths.
TEST_F(WindowFontsTest, TheFaceHasEveryCharacterTheProgramShows) {
  QString shown;
  for (const char* name : kHeadings) shown += qobject_cast<QLabel*>(Control(name))->text();
  shown += QStringLiteral("Verdalon清除数据导出表格最小化退出进入网站年月日0123456789.");
  shown += QString::fromUtf16(kCloseWorkbookReminder) + QString::fromUtf16(kAlreadyRunningMessage);
  const QRawFont face = QRawFont::fromFont(SongFont(kDefaultFontPixels));
  for (QChar character : shown) {
    EXPECT_TRUE(face.supportsCharacter(character)) << QString(character).toStdString();
  }
}

// Where the ink of a sign falls within its 12-pixel cell: the centre's distance from the
// cell's left edge and its height above the baseline.
QPointF InkCentre(const QFont& font, QChar sign) {
  const QFontMetrics metrics(font);
  QImage image(metrics.horizontalAdvance(sign), metrics.height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(0, metrics.ascent(), QString(sign));
  painter.end();
  QRect ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    }
  }
  return {ink.center().x() + 0.5, metrics.ascent() - ink.center().y() - 0.5};
}

// 宋体 sets the full-width colon and the enumeration comma of 单位：立方米、元 low in the left
// part of their cell; Taiwanese faces centre them.
TEST_F(WindowFontsTest, ColonAndEnumerationCommaSitLowAndLeft) {
  const QFont font = Control("Label5")->font();
  for (QChar sign : {QChar(u'：'), QChar(u'、')}) {
    const QPointF centre = InkCentre(font, sign);
    EXPECT_LT(centre.x(), 12 / 3.0) << QString(sign).toStdString();
    EXPECT_LT(centre.y(), 12 / 3.0) << QString(sign).toStdString();
  }
}

}  // namespace
}  // namespace ui::testing
