#include "printing/print_fonts.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QTextLayout>

namespace {

// The face Qt really draws the first letter of text in, after its fallbacks.
QString FaceDrawing(const QFont& font, const QString& text) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  return runs.isEmpty() ? QString() : runs.front().rawFont().familyName();
}

xls::layout::Font Named(const char16_t* name) {
  xls::layout::Font font;
  font.name = name;
  font.points = 11;
  return font;
}

// A face missing here draws its Latin letters in the system's substitute for it, the face
// its column widths are measured in, not in the song face that stands in for Chinese; and
// 黑体's Chinese is drawn in a sans-serif Chinese face where one is installed.
TEST(PrintFonts, MissingFacesTakeTheSystemsSubstituteAndHeiStaysSansSerif) {
  for (const char16_t* name : {u"Verdalon No Such Face", u"Calibri", u"Sans"}) {
    const QString family = QString::fromStdU16String(name);
    if (QFontDatabase::hasFamily(family)) continue;
    const QString substitute = QFontInfo(QFont(family)).family();
    EXPECT_TRUE(substitute.startsWith(FaceDrawing(printing::CellFont(Named(name), 11), "Ag")))
        << family.toStdString() << " drawn in "
        << FaceDrawing(printing::CellFont(Named(name), 11), "Ag").toStdString() << ", substitute "
        << substitute.toStdString();
  }
  // Windows has 黑体 itself; Linux desktops have WenQuanYi Zen Hei where they have a Chinese
  // sans-serif face at all.
  if (QFontDatabase::hasFamily("SimHei") || !QFontDatabase::hasFamily("WenQuanYi Zen Hei")) return;
  EXPECT_EQ(FaceDrawing(printing::CellFont(Named(u"黑体"), 11), QStringLiteral("合计")),
            QStringLiteral("WenQuanYi Zen Hei"));
  EXPECT_EQ(FaceDrawing(printing::CellFont(Named(u"Arial"), 11), QStringLiteral("合计")),
            QStringLiteral("AR PL UMing CN"));
}

}  // namespace
