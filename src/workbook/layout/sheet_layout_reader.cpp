#include "workbook/layout/sheet_layout_reader.h"

#include <map>
#include <optional>

#include "workbook/biff/biff_format_error.h"
#include "workbook/biff/sheet_substream.h"
#include "workbook/biff/substreams.h"
#include "workbook/biff/workbook_globals.h"
#include "workbook/layout/formula_results.h"
#include "workbook/layout/number_format.h"
#include "workbook/layout/page_setup_records.h"
#include "workbook/layout/print_area.h"
#include "workbook/layout/sheet_geometry.h"
#include "workbook/layout/workbook_styles.h"

namespace workbook::layout {

namespace {

bool SameSheetName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char16_t c) {
      return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

}  // namespace

SheetLayout ReadSheetLayout(std::span<const std::uint8_t> workbook_stream,
                            std::u16string_view sheet_name) {
  biff::SubstreamList list = biff::SplitSubstreams(workbook_stream);
  if (list.substreams.empty()) throw biff::BiffFormatError("no workbook globals");
  const biff::Substream& globals_stream = list.substreams.front();
  const biff::WorkbookGlobals globals = biff::WorkbookGlobals::Parse(globals_stream);

  std::optional<std::size_t> sheet_index;
  for (std::size_t i = 0; i < globals.Sheets().size(); ++i) {
    if (SameSheetName(globals.Sheets()[i].name, sheet_name)) {
      sheet_index = i;
      break;
    }
  }
  biff::Substream* sheet_stream = nullptr;
  if (sheet_index) {
    for (biff::Substream& s : list.substreams) {
      if (s.offset == globals.Sheets()[*sheet_index].offset &&
          s.type == biff::substream_type::kWorksheet) {
        sheet_stream = &s;
      }
    }
  }
  if (sheet_stream == nullptr) throw SheetNotFound("no worksheet of that name");

  const WorkbookStyles styles = ReadWorkbookStyles(globals_stream.records);
  SheetLayout layout;
  layout.sheet_name = globals.Sheets()[*sheet_index].name;
  layout.fonts = styles.fonts;
  for (const CellFormat& format : styles.formats) layout.styles.push_back(format.style);
  if (layout.styles.empty()) layout.styles.emplace_back();

  const double default_font_twips = layout.fonts.front().points * 20.0;
  ReadSheetGeometry(sheet_stream->records, default_font_twips, layout);
  layout.page = ReadPageSetup(sheet_stream->records);
  layout.page.print_area = FindPrintArea(globals_stream.records, *sheet_index);

  const std::vector<biff::Record> sheet_records = sheet_stream->records;
  const biff::SheetSubstream sheet =
      biff::SheetSubstream::Parse(std::move(*sheet_stream), globals.Strings());
  std::map<std::uint32_t, biff::CellValue> values;
  for (const auto& [key, data] : sheet.Cells()) values[key] = data.value;
  RecomputeFormulas(sheet_records, values);
  for (const auto& [key, data] : sheet.Cells()) {
    PrintCell cell;
    cell.row = static_cast<std::uint16_t>(key >> 16);
    cell.column = static_cast<std::uint16_t>(key & 0xFFFF);
    cell.style = data.xf < layout.styles.size() ? data.xf : 0;
    const FormattedValue shown =
        FormatValue(values[key], styles.NumberFormatCode(styles.Format(data.xf).number_format),
                    styles.date1904);
    cell.text = shown.text;
    cell.is_number = shown.is_number;
    cell.text_colour = shown.colour;
    layout.cells.push_back(std::move(cell));
  }
  return layout;
}

}  // namespace workbook::layout
