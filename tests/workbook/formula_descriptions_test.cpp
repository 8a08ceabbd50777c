// What the clerk reads about formulas Verdalon cannot compute: each cell named as the
// spreadsheet names it, with its reason, or the cell it depends on.
#include "workbook/formula_descriptions.h"

#include <gtest/gtest.h>

namespace {

using xls::formula::UncomputableReason;
using xls::layout::UncomputedCell;

UncomputedCell Cell(std::uint16_t row, std::uint16_t column, UncomputableReason reason,
                    std::u16string detail, std::u16string sheet, xls::biff::CellAddress cause) {
  UncomputedCell cell;
  cell.row = row;
  cell.column = column;
  cell.why.reason = reason;
  cell.why.detail = std::move(detail);
  cell.why.cell = cause;
  cell.sheet_of_cause = std::move(sheet);
  return cell;
}

TEST(FormulaDescriptions, NameTheCellAndWhy) {
  xls::layout::SheetLayout layout;
  layout.sheet_name = u"码单";
  const struct {
    UncomputedCell cell;
    std::u16string line;
  } cases[] = {
      {Cell(18, 7, UncomputableReason::kUnknownFunction, u"VLOOKUP", u"码单", {18, 7}),
       u"单元格 H19：用到本程序不会计算的函数 VLOOKUP"},
      {Cell(0, 26, UncomputableReason::kCircularReference, u"", u"码单", {0, 26}),
       u"单元格 AA1：公式循环引用了自己的结果"},
      {Cell(2, 1, UncomputableReason::kAddInFunction, u"_xlfn.CONCAT", u"资料", {4, 2}),
       u"单元格 B3：它引用的 资料!C5 无法计算（用到加载项或宏的函数 _xlfn.CONCAT）"},
      {Cell(3, 255, UncomputableReason::kExternalReference, u"", u"码单", {3, 255}),
       u"单元格 IV4：公式引用了另一个工作簿"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(workbook::DescribeUncomputedCell(layout, c.cell), c.line);
  }
  EXPECT_TRUE(workbook::UncomputedFormulasWarning(layout).empty());
  for (int i = 0; i < 12; ++i) layout.uncomputed.push_back(cases[0].cell);
  const std::u16string warning = workbook::UncomputedFormulasWarning(layout);
  EXPECT_NE(warning.find(u"有 12 个公式"), std::u16string::npos);
  EXPECT_NE(warning.find(u"另有 2 个"), std::u16string::npos);
  EXPECT_NE(warning.find(u"电子表格程序"), std::u16string::npos);
}

}  // namespace

// What the printout cannot draw is told once, each kind on one line with its first cell and
// how often, in the same notice as the formulas and with one offer of the spreadsheet program.
TEST(FormulaDescriptions, ThePrintoutWarningNamesWhatCannotBeDrawn) {
  using xls::layout::UndrawnFeature;
  xls::layout::SheetLayout layout;
  layout.sheet_name = u"码单";
  EXPECT_TRUE(workbook::PrintoutWarning(layout).empty());

  layout.undrawn = {{UndrawnFeature::kRotatedText, 0, 1},
                    {UndrawnFeature::kRichText, 2, 0},
                    {UndrawnFeature::kRotatedText, 3, 4},
                    {UndrawnFeature::kRotatedText, 9, 4}};
  layout.drawings = 2;
  const std::u16string drawn = workbook::PrintoutWarning(layout);
  const struct {
    const char16_t* part;
    std::size_t times;
  } parts[] = {
      {u"“码单”上有本程序无法照原样打印的内容", 1},
      {u"旋转或竖排的文字（单元格 B1 等 3 处）将横排印出", 1},
      {u"一个单元格内用了几种字体的文字（单元格 A3）", 1},
      {u"缩小字体", 0},
      {u"2 个图片、图表或图形不会印出", 1},
      {u"电子表格程序", 1},
      {u"重新计算", 0},  // no formula to speak of
  };
  auto count = [](const std::u16string& text, std::u16string_view part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::u16string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  };
  for (const auto& p : parts) {
    EXPECT_EQ(count(drawn, p.part), p.times) << "part " << (&p - parts);
  }

  layout.uncomputed.push_back(
      Cell(18, 7, UncomputableReason::kUnknownFunction, u"VLOOKUP", u"码单", {18, 7}));
  const std::u16string both = workbook::PrintoutWarning(layout);
  EXPECT_EQ(count(both, u"单元格 H19"), 1u);
  EXPECT_EQ(count(both, u"将横排印出"), 1u);
  EXPECT_EQ(count(both, u"请改用电子表格程序"), 1u);
  EXPECT_EQ(count(both, u"它会重新计算这些公式"), 1u);
}
