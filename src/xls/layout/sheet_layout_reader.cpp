#include "xls/layout/sheet_layout_reader.h"

#include <functional>
#include <map>
#include <optional>

#include "xls/biff/biff_format_error.h"
#include "xls/failure.h"
#include "xls/formula/workbook_calculation.h"
#include "xls/layout/page_setup_records.h"
#include "xls/layout/print_area.h"
#include "xls/layout/sheet_geometry.h"
#include "xls/layout/undrawn_content.h"
#include "xls/layout/workbook_styles.h"
#include "xls/number_format/number_format.h"

namespace xls::layout {

namespace {

// What a formula cell prints: the result computed now, or the one the workbook stores.
enum class FormulaResults { kComputedNow, kStored };

// The formulas of the sheet that cannot be computed, each with why, and where `results`
// asks for them the results of all the others.
struct SheetFormulas {
  std::map<biff::CellAddress, biff::CellValue> computed;
  formula::UncomputedCells uncomputed;
};

SheetFormulas ComputeSheetFormulas(const biff::BiffWorkbook& book, std::size_t sheet, double now,
                                   FormulaResults results) {
  SheetFormulas formulas;
  const formula::WorkbookCalculation calculation(book, now);
  for (const auto& [address, outcome] : calculation.Outcomes(sheet)) {
    if (!outcome.value) {
      formulas.uncomputed.emplace(address, outcome.why);
    } else if (results == FormulaResults::kComputedNow) {
      formulas.computed.emplace(address, formula::StoredForm(*outcome.value));
    }
  }
  return formulas;
}

SheetLayout ReadLayout(const biff::BiffWorkbook& book, std::u16string_view sheet_name,
                       const std::function<SheetFormulas(std::size_t sheet)>& formulas_of) {
  const std::optional<std::size_t> sheet_index = book.FindWorksheet(sheet_name);
  if (!sheet_index) {
    throw Failure(FailureKind::kNoSuchSheet, {}).WithSheet(std::u16string(sheet_name));
  }
  // Print areas are names of the sheet's entry among all the workbook's sheets.
  std::size_t entry = 0;
  const std::vector<std::optional<std::size_t>> worksheets = book.WorksheetOfEntries();
  while (entry < worksheets.size() && worksheets[entry] != sheet_index) ++entry;

  const std::vector<biff::Record>& globals = book.GlobalsRecords();
  const biff::SheetSubstream& sheet = book.Sheet(*sheet_index);
  const WorkbookStyles styles = ReadWorkbookStyles(book);
  SheetLayout layout;
  layout.sheet_name = book.SheetName(*sheet_index);
  layout.fonts = styles.fonts;
  for (const CellFormat& format : styles.formats) layout.styles.push_back(format.style);
  if (layout.styles.empty()) layout.styles.emplace_back();

  const double default_font_twips = layout.fonts.front().points * 20.0;
  ReadSheetGeometry(sheet.OriginalRecords(), default_font_twips, layout);
  layout.page = ReadPageSetup(sheet.OriginalRecords());
  layout.page.print_area = FindPrintArea(globals, entry);
  const PrintTitles titles = FindPrintTitles(globals, entry);
  layout.page.title_rows = titles.rows;
  layout.page.title_columns = titles.columns;

  const SheetFormulas formulas = formulas_of(*sheet_index);
  for (const auto& [address, data] : sheet.Cells()) {
    PrintCell cell;
    cell.row = address.row;
    cell.column = address.column;
    cell.style = data.xf < layout.styles.size() ? data.xf : 0;
    biff::CellValue value = data.value;
    if (const auto computed = formulas.computed.find(address);
        computed != formulas.computed.end()) {
      value = computed->second;
    } else if (const auto why = formulas.uncomputed.find(address);
               why != formulas.uncomputed.end()) {
      layout.uncomputed.push_back(
          {address.row, address.column, why->second, book.SheetName(why->second.sheet)});
    }
    const number_format::FormattedValue shown = number_format::FormatValue(
        value, styles.NumberFormatCode(styles.Format(data.xf).number_format), styles.date1904);
    cell.text = shown.text;
    cell.is_number = shown.is_number;
    cell.is_logical_or_error = shown.is_logical_or_error;
    cell.text_colour = shown.colour;
    layout.cells.push_back(std::move(cell));
  }
  FindUndrawnContent(globals, sheet.OriginalRecords(), layout);
  return layout;
}

}  // namespace

SheetLayout ReadSheetLayout(const biff::BiffWorkbook& book, std::u16string_view sheet_name,
                            double now) {
  return ReadLayout(book, sheet_name, [&](std::size_t sheet) {
    return ComputeSheetFormulas(book, sheet, now, FormulaResults::kComputedNow);
  });
}

SheetLayout ReadSavedSheetLayout(const biff::BiffWorkbook& book, std::u16string_view sheet_name,
                                 const std::vector<formula::UncomputedCells>* uncomputed_at_save) {
  return ReadLayout(book, sheet_name, [&](std::size_t sheet) {
    // The save computed every formula a moment ago; a print right after it needs only
    // what it found it could not compute.
    if (uncomputed_at_save && sheet < uncomputed_at_save->size()) {
      return SheetFormulas{{}, (*uncomputed_at_save)[sheet]};
    }
    return ComputeSheetFormulas(book, sheet,
                                formula::CurrentSerialTime(formula::UsesDate1904(book)),
                                FormulaResults::kStored);
  });
}

SheetLayout ReadSheetLayout(std::span<const std::uint8_t> workbook_stream,
                            std::u16string_view sheet_name) {
  const biff::BiffWorkbook book = biff::BiffWorkbook::Parse(workbook_stream);
  return ReadSheetLayout(book, sheet_name, formula::CurrentSerialTime(formula::UsesDate1904(book)));
}

}  // namespace xls::layout
