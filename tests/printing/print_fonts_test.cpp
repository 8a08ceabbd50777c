#include "printing/print_fonts.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QTextLayout>

namespace {

// The face Qt really draws text in, after its fallbacks.
QString FaceDrawing(const QFont& font, const QString& text) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  return layout.glyphRuns().value(0).rawFont().familyName();
}

// Where Windows' 黑体 is missing, Chinese in 黑体 prints in a sans-serif Chinese face, and
// Chinese in a Latin face in the song face, as the window shows it. (A missing Latin face
// taking the system's substitute is checked against LibreOffice's page.)
TEST(PrintFonts, HeiStaysSansSerifWhereWindowsFaceIsMissing) {
  if (QFontDatabase::hasFamily("SimHei") || !QFontDatabase::hasFamily("WenQuanYi Zen Hei")) {
    GTEST_SKIP() << "黑体 is installed, or no sans-serif Chinese face is";
  }
  for (const auto& [name, face] : {std::pair{u"黑体", "WenQuanYi Zen Hei"},
                                   {u"SimHei", "WenQuanYi Zen Hei"},
                                   {u"Arial", "AR PL UMing CN"}}) {
    xls::layout::Font font;
    font.name = name;
    EXPECT_EQ(FaceDrawing(printing::CellFont(font, 11), QStringLiteral("合计")), face);
  }
}

}  // namespace
