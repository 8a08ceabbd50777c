#include "workbook/formula_descriptions.h"

#include <string>

namespace workbook {

namespace {

using xls::formula::UncomputableReason;

constexpr std::size_t kNamedCells = 10;

std::u16string Decimal(std::size_t number) {
  const std::string digits = std::to_string(number);
  return {digits.begin(), digits.end()};
}

// "H19": the column in letters, the row from 1, as spreadsheets name cells.
std::u16string CellName(std::uint16_t row, std::uint16_t column) {
  std::u16string letters;
  for (unsigned c = column + 1u; c > 0; c = (c - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char16_t>(u'A' + (c - 1) % 26));
  }
  return letters + Decimal(row + 1u);
}

std::u16string Reason(const xls::formula::Uncomputable& why) {
  switch (why.reason) {
    case UncomputableReason::kUnknownFunction:
      return u"用到本程序不会计算的函数 " + why.detail;
    case UncomputableReason::kAddInFunction:
      return why.detail.empty() ? u"用到加载项或宏的函数" : u"用到加载项或宏的函数 " + why.detail;
    case UncomputableReason::kCircularReference:
      return u"公式循环引用了自己的结果";
    case UncomputableReason::kExternalReference:
      return u"公式引用了另一个工作簿";
    case UncomputableReason::kTooDeep:
      return u"公式一层层引用其他公式，层数太多";
    case UncomputableReason::kUnsupportedExpression:
    case UncomputableReason::kDependsOnUncomputable:
      break;
  }
  return u"公式中有本程序不会计算的部分";
}

}  // namespace

std::u16string DescribeUncomputedCell(const xls::layout::SheetLayout& layout,
                                      const xls::layout::UncomputedCell& cell) {
  std::u16string line = u"单元格 " + CellName(cell.row, cell.column) + u"：";
  const bool itself = cell.why.cell.row == cell.row && cell.why.cell.column == cell.column &&
                      cell.sheet_of_cause == layout.sheet_name;
  if (itself) return line + Reason(cell.why);
  std::u16string cause = CellName(cell.why.cell.row, cell.why.cell.column);
  if (cell.sheet_of_cause != layout.sheet_name) cause = cell.sheet_of_cause + u"!" + cause;
  return line + u"它引用的 " + cause + u" 无法计算（" + Reason(cell.why) + u"）";
}

namespace {

std::u16string UncomputedFormulasList(const xls::layout::SheetLayout& layout) {
  if (layout.uncomputed.empty()) return {};
  std::u16string text =
      u"“" + layout.sheet_name + u"”上有 " + Decimal(layout.uncomputed.size()) +
      u" 个公式本程序无法计算，预览和打印中这些单元格显示的不是本次的计算结果：\n";
  for (std::size_t i = 0; i < layout.uncomputed.size() && i < kNamedCells; ++i) {
    text.append(u"\n").append(DescribeUncomputedCell(layout, layout.uncomputed[i]));
  }
  if (layout.uncomputed.size() > kNamedCells) {
    text.append(u"\n……另有 ")
        .append(Decimal(layout.uncomputed.size() - kNamedCells))
        .append(u" 个");
  }
  return text;
}

// One line per kind of thing the renderer does not draw: where it first occurs and how often.
std::u16string UndrawnContentList(const xls::layout::SheetLayout& layout) {
  using xls::layout::UndrawnFeature;
  struct Kind {
    UndrawnFeature feature;
    const char16_t* what;
    const char16_t* consequence;
  };
  static constexpr Kind kKinds[] = {
      {UndrawnFeature::kRotatedText, u"旋转或竖排的文字", u"将横排印出"},
      {UndrawnFeature::kRichText, u"一个单元格内用了几种字体的文字", u"将全用单元格的字体印出"},
  };
  std::u16string lines;
  for (const Kind& kind : kKinds) {
    std::size_t count = 0;
    const xls::layout::UndrawnCell* first = nullptr;
    for (const xls::layout::UndrawnCell& cell : layout.undrawn) {
      if (cell.feature != kind.feature) continue;
      if (first == nullptr) first = &cell;
      ++count;
    }
    if (first == nullptr) continue;
    lines.append(u"\n· ")
        .append(kind.what)
        .append(u"（单元格 ")
        .append(CellName(first->row, first->column));
    if (count > 1) lines.append(u" 等 ").append(Decimal(count)).append(u" 处");
    lines.append(u"）").append(kind.consequence);
  }
  if (layout.drawings > 0) {
    lines.append(u"\n· 工作表上的 ")
        .append(Decimal(layout.drawings))
        .append(u" 个图片、图表或图形不会印出");
  }
  if (lines.empty()) return {};
  return u"“" + layout.sheet_name + u"”上有本程序无法照原样打印的内容：" + lines;
}

constexpr char16_t kOffer[] = u"请改用电子表格程序（WPS、Excel 或 LibreOffice）打开工作簿打印";

}  // namespace

std::u16string UncomputedFormulasWarning(const xls::layout::SheetLayout& layout) {
  const std::u16string list = UncomputedFormulasList(layout);
  if (list.empty()) return {};
  return list + u"\n\n" + kOffer + u"，它会重新计算这些公式。";
}

std::u16string PrintoutWarning(const xls::layout::SheetLayout& layout) {
  const std::u16string formulas = UncomputedFormulasList(layout);
  const std::u16string undrawn = UndrawnContentList(layout);
  if (formulas.empty() && undrawn.empty()) return {};
  std::u16string text = formulas;
  if (!formulas.empty() && !undrawn.empty()) text += u"\n\n";
  text += undrawn;
  text += u"\n\n";
  text += kOffer;
  text += formulas.empty() ? u"。" : u"，它会重新计算这些公式。";
  return text;
}

}  // namespace workbook
