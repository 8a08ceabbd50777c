#include "xls/layout/header_footer.h"

#include <gtest/gtest.h>

#include "biff_streams.h"
#include "xls/layout/page_setup_records.h"

namespace {

using xls::layout::Font;
using xls::layout::HeaderFooterContext;
using xls::layout::HeaderFooterParts;
using xls::layout::HeaderFooterRun;
using xls::layout::ParseHeaderFooter;
using xls::layout::Script;
using xls::layout::Underline;

HeaderFooterContext Context() {
  return {2, 5, u"码单", u"锯材账单.xls", u"2026/12/7", u"9:05"};
}

Font DefaultFont() {
  Font font;
  font.name = u"宋体";
  font.points = 11;
  return font;
}

HeaderFooterParts Parse(std::u16string_view code) {
  return ParseHeaderFooter(code, Context(), DefaultFont());
}

TEST(HeaderFooter, PartsLinesAndFields) {
  struct Case {
    std::u16string_view code;
    std::u16string left, centre, right;
  };
  const Case cases[] = {
      {u"&L&A&C第 &P 页，共 &N 页&R&D &T", u"码单", u"第 2 页，共 5 页", u"2026/12/7 9:05"},
      {u"Page &P", u"", u"Page 2", u""},  // centred until a part is named
      {u"&F &p+3/&P-1 &N", u"", u"锯材账单.xls 5/1 5", u""},
      {u"&C一&L左&C二", u"左", u"一二", u""},  // back in a part, its text goes on
      {u"&R上\r\n下\n\n底", u"", u"", u"上\n下\n\n底"},
      {u"&L\n\n&R右", u"", u"", u"右"},  // line breaks alone make no lines
      {u"&\"宋体,Bold\"&14&B木材&B && &KFF0000红&U&G&Z", u"", u"木材 & 红", u""},
      {u"末尾&", u"", u"末尾&", u""},
      {u"&K01+000主题色&\"未闭合", u"", u"主题色", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.code.begin(), c.code.end()));
    const HeaderFooterParts parts = Parse(c.code);
    EXPECT_EQ(parts.left.PlainText(), c.left);
    EXPECT_EQ(parts.centre.PlainText(), c.centre);
    EXPECT_EQ(parts.right.PlainText(), c.right);
  }
  EXPECT_TRUE(Parse(u"").Empty());
  EXPECT_EQ(Parse(u"&R上\n\n底").right.lines.size(), 3u);
}

TEST(HeaderFooter, FontSwitchesMakeRunsAndCarryAcrossParts) {
  const HeaderFooterParts parts =
      Parse(u"&L&\"Arial,Bold Italic\"&16甲&\"-,Regular\"乙&C&8&U丙&U&E丁&R&S&KFF8000戊&X2&X&Y3");
  auto run = [](const xls::layout::HeaderFooterSection& section, std::size_t i) {
    return section.lines.at(0).at(i);
  };
  ASSERT_EQ(parts.left.lines.at(0).size(), 2u);
  const HeaderFooterRun first = run(parts.left, 0);
  EXPECT_EQ(first.text, u"甲");
  EXPECT_EQ(first.font.name, u"Arial");
  EXPECT_EQ(first.font.points, 16);
  EXPECT_TRUE(first.font.bold && first.font.italic);
  const HeaderFooterRun second = run(parts.left, 1);  // "-" keeps the face, the style resets
  EXPECT_EQ(second.font.name, u"Arial");
  EXPECT_FALSE(second.font.bold || second.font.italic);
  // The size and face go on into the centre part.
  ASSERT_EQ(parts.centre.lines.at(0).size(), 2u);
  EXPECT_EQ(run(parts.centre, 0).font.name, u"Arial");
  EXPECT_EQ(run(parts.centre, 0).font.points, 8);
  EXPECT_EQ(run(parts.centre, 0).font.underline, Underline::kSingle);
  EXPECT_EQ(run(parts.centre, 1).font.underline, Underline::kDouble);
  ASSERT_EQ(parts.right.lines.at(0).size(), 3u);
  const HeaderFooterRun struck = run(parts.right, 0);
  EXPECT_TRUE(struck.font.strikeout);
  EXPECT_EQ(struck.font.colour, (xls::layout::Rgb{0xFF, 0x80, 0x00}));
  EXPECT_EQ(run(parts.right, 1).script, Script::kSuperscript);
  EXPECT_EQ(run(parts.right, 2).script, Script::kSubscript);
  EXPECT_EQ(run(parts.right, 2).text, u"3");

  // Chinese style names, and sizes no font can have left alone.
  const HeaderFooterRun chinese = run(Parse(u"&\"黑体,加粗 倾斜\"&0&999字").centre, 0);
  EXPECT_EQ(chinese.font.name, u"黑体");
  EXPECT_TRUE(chinese.font.bold && chinese.font.italic);
  EXPECT_EQ(chinese.font.points, 11);
}

// HEADERFOOTER's options reach the page setup only for the sheet itself, not a custom view.
TEST(HeaderFooter, ScalingAndAlignmentOptions) {
  auto record = [](std::uint16_t flags, std::uint8_t view) {
    xls::biff::Record r{0x089C, {}};
    test_support::PutU16(r.body, 0x089C);
    r.body.resize(12 + 16, 0);
    r.body[12] = view;
    test_support::PutU16(r.body, flags | 0x3330);  // upper bits are left as Excel leaves them
    for (int i = 0; i < 4; ++i) test_support::PutU16(r.body, 0);
    return r;
  };
  const auto defaults = xls::layout::ReadPageSetup({});
  EXPECT_TRUE(defaults.header_footer_scales);
  EXPECT_TRUE(defaults.header_footer_on_margins);
  const auto neither = xls::layout::ReadPageSetup({record(0x0000, 0)});
  EXPECT_FALSE(neither.header_footer_scales);
  EXPECT_FALSE(neither.header_footer_on_margins);
  const auto scales = xls::layout::ReadPageSetup({record(0x0004, 0)});
  EXPECT_TRUE(scales.header_footer_scales);
  EXPECT_FALSE(scales.header_footer_on_margins);
  const auto other_view = xls::layout::ReadPageSetup({record(0x0000, 7)});
  EXPECT_TRUE(other_view.header_footer_scales);
  const auto cut_short = xls::layout::ReadPageSetup({xls::biff::Record{0x089C, {0x9C, 0x08}}});
  EXPECT_TRUE(cut_short.header_footer_on_margins);
}

}  // namespace
