// The window on a scaled screen. ctest runs these at 125 % and 150 % (QT_SCALE_FACTOR), as on
// many clerks' laptops, besides the plain run at 100 %: the window keeps its layout in window
// pixels, the grid its single rules, the texts their last pixels, and the button pictures are
// drawn for the screen's pixels instead of being enlarged.
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <cmath>
#include <string>
#include <vector>

#include "ui/button_pictures.h"
#include "window_fixture.h"

namespace ui::testing {
namespace {

bool IsDark(QRgb pixel) {
  return qGray(pixel) < 100;
}

// The lengths of the dark runs along a line of pixels, and of the light runs between them.
struct Runs {
  std::vector<int> dark;
  std::vector<int> light;
};

Runs RunsAlong(const QImage& image, QPoint from, QPoint step, int count) {
  std::vector<std::pair<bool, int>> runs;  // dark?, length
  for (int i = 0; i < count; ++i) {
    const bool dark = IsDark(image.pixel(from + step * i));
    if (runs.empty() || runs.back().first != dark) runs.emplace_back(dark, 0);
    ++runs.back().second;
  }
  while (!runs.empty() && !runs.front().first) runs.erase(runs.begin());
  while (!runs.empty() && !runs.back().first) runs.pop_back();
  Runs result;
  for (const auto& [dark, length] : runs) (dark ? result.dark : result.light).push_back(length);
  return result;
}

class ScaledScreenTest : public WindowTest {
 protected:
  void BeforeShow(Form1& window) override {
    window.SetSellerCaption(u"绿源木材加工厂");
    window.SetClock([] { return QDate(2024, 11, 14); });
    window.OnTimer2Tick();
  }

  qreal Ratio() { return form().devicePixelRatioF(); }

  // A rectangle of the window in the screen's pixels.
  QRect OnScreen(const QRect& window_rect) {
    const qreal r = Ratio();
    return QRectF(window_rect.x() * r, window_rect.y() * r, window_rect.width() * r,
                  window_rect.height() * r)
        .toAlignedRect();
  }
  QRect InWindow(const char* name) {
    QWidget* control = Control(name);
    return QRect(control->mapTo(&form(), QPoint(0, 0)), control->size());
  }
};

TEST_F(ScaledScreenTest, TheWindowIsDrawnForTheScreensPixels) {
  const double wanted = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                            ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                            : 1.0;
  EXPECT_DOUBLE_EQ(Ratio(), wanted);
  EXPECT_EQ(form().size(), QSize(688, 504));
  const QImage image = form().grab().toImage();
  EXPECT_EQ(image.size(), QSize(static_cast<int>(std::lround(688 * wanted)),
                                static_cast<int>(std::lround(504 * wanted))));
}

// Down a column and along an empty row: one rule between neighbouring boxes, never two, and
// every box whole between its rules.
TEST_F(ScaledScreenTest, TheGridKeepsSingleRules) {
  const QImage image = form().grab().toImage();
  const qreal r = Ratio();
  const int thickest = static_cast<int>(std::ceil(r)) + 1;

  const QRect top = OnScreen(InWindow("Text3_0"));
  const QRect bottom = OnScreen(InWindow("Text3_12"));
  const Runs down = RunsAlong(image, QPoint(top.center().x(), top.top()), QPoint(0, 1),
                              bottom.bottom() - top.top() + 1);
  EXPECT_EQ(down.dark.size(), 14u);
  for (int rule : down.dark) EXPECT_LE(rule, thickest);
  for (int inside : down.light) EXPECT_GE(inside, static_cast<int>(21 * r));

  const QRect left = OnScreen(InWindow("Text1_6"));
  const QRect right = OnScreen(InWindow("Text8_6"));
  const Runs across = RunsAlong(image, QPoint(left.left(), left.center().y()), QPoint(1, 0),
                                right.right() - left.left() + 1);
  EXPECT_EQ(across.dark.size(), 9u);
  for (int rule : across.dark) EXPECT_LE(rule, thickest);
}

// Each caption ends inside its label: none of its ink on the label's last column or last row.
// The ink is what the caption adds to the window; the label itself lies over other things
// (Label1_0 reaches down onto the grid's top rule).
TEST_F(ScaledScreenTest, TextsStayWhole) {
  for (const char* name : {"Label6", "Label1_0", "Label1_1", "Label1_2", "Label5", "Label7",
                           "Label10", "Label3", "Label8", "Label4", "Label2"}) {
    auto* label = qobject_cast<QLabel*>(Control(name));
    ASSERT_NE(label, nullptr) << name;
    const QImage with_caption = form().grab().toImage();
    const QString caption = label->text();
    label->setText(QString());
    const QImage without = form().grab().toImage();
    label->setText(caption);

    const QRect rect = OnScreen(InWindow(name)).intersected(with_caption.rect());
    int ink = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      for (int x = rect.left(); x <= rect.right(); ++x) {
        if (with_caption.pixel(x, y) == without.pixel(x, y)) continue;
        ++ink;
        EXPECT_LT(x, rect.right()) << name << " is cut on the right";
        EXPECT_LT(y, rect.bottom()) << name << " is cut at the bottom";
      }
    }
    EXPECT_GT(ink, 0) << name;
  }
}

// The columns of ink a text has when nothing cuts it, drawn as the box draws it.
int UncutInkColumns(const QFont& font, const QString& text, qreal ratio) {
  QImage image(QSize(200, 40) * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QPointF(20, 25), text);
  painter.end();
  int left = image.width();
  int right = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!IsDark(image.pixel(x, y))) continue;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  return right - left + 1;
}

// The widest values the narrow columns are made for stand whole between the box's borders,
// whether the box shows the start of its text or, while typed into, its end.
TEST_F(ScaledScreenTest, WidestValuesStandWholeInTheirBoxes) {
  const std::pair<const char*, QString> values[] = {
      {"Text2_1", QStringLiteral("117.25")},     {"Text4_1", QStringLiteral("117.25")},
      {"Text1_1", QStringLiteral("1234.56")},    {"Text6_1", QStringLiteral("12345.6789")},
      {"Text8_1", QStringLiteral("1234567.89")},
  };
  const qreal r = Ratio();
  for (const auto& [name, value] : values) {
    QLineEdit* box = Edit(name);
    box->setText(value);
    const int uncut = UncutInkColumns(box->font(), value, r);
    for (int caret : {0, static_cast<int>(value.size())}) {
      box->setCursorPosition(caret);
      const QImage image = box->grab().toImage();
      // Between the border columns, in the rows the characters take.
      const int border = static_cast<int>(std::ceil(r));
      int left = image.width();
      int right = -1;
      for (int y = border; y < image.height() - border; ++y) {
        for (int x = border; x < image.width() - border; ++x) {
          if (qGray(image.pixel(x, y)) >= 150) continue;
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
      // On a scaled screen a glyph may land on a fraction of a pixel and take a column more.
      EXPECT_GE(right - left + 1, uncut) << name << " caret " << caret << " is cut";
    }
  }
}

// The picture on the button is pixel for pixel the one drawn for this screen: not a 100 %
// picture enlarged.
TEST_F(ScaledScreenTest, ButtonPicturesAreDrawnForTheScreensPixels) {
  const qreal r = Ratio();
  const QImage picture =
      ButtonPicture(QStringLiteral("清除数据"), WordSpacing::Together, false, r).toImage();
  EXPECT_EQ(picture.size(),
            QSize(static_cast<int>(std::lround(81 * r)), static_cast<int>(std::lround(33 * r))));
  const QImage button = Control("Command1")->grab().toImage();
  // Inside the raised border, wherever the picture covers the face.
  const int border = static_cast<int>(std::ceil(2 * r));
  int compared = 0;
  int different = 0;
  for (int y = border; y < button.height() - border; ++y) {
    for (int x = border; x < std::min(button.width(), picture.width()) - border; ++x) {
      if (qAlpha(picture.pixel(x, y)) != 255) continue;
      ++compared;
      if ((button.pixel(x, y) & 0xffffff) != (picture.pixel(x, y) & 0xffffff)) ++different;
    }
  }
  EXPECT_GT(compared, static_cast<int>(2000 * r * r));
  EXPECT_EQ(different, 0);
}

}  // namespace
}  // namespace ui::testing
