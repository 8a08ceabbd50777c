#include "xls/layout/sheet_layout_reader.h"

#include <map>
#include <optional>

#include "base/ascii_case.h"
#include "xls/biff/biff_format_error.h"
#include "xls/biff/sheet_substream.h"
#include "xls/biff/substreams.h"
#include "xls/biff/workbook_globals.h"
#include "xls/failure.h"
#include "xls/layout/formula_results.h"
#include "xls/layout/number_format.h"
#include "xls/layout/page_setup_records.h"
#include "xls/layout/print_area.h"
#include "xls/layout/sheet_geometry.h"
#include "xls/layout/workbook_styles.h"

namespace xls::layout {

SheetLayout ReadSheetLayout(std::span<const std::uint8_t> workbook_stream,
                            std::u16string_view sheet_name) {
  biff::SubstreamList list = biff::SplitSubstreams(workbook_stream);
  if (list.substreams.empty()) throw biff::BiffFormatError("no workbook globals");
  const biff::Substream& globals_stream = list.substreams.front();
  const biff::WorkbookGlobals globals = biff::WorkbookGlobals::Parse(globals_stream);

  std::optional<std::size_t> sheet_index;
  for (std::size_t i = 0; i < globals.Sheets().size(); ++i) {
    if (base::EqualIgnoringAsciiCase(std::u16string_view(globals.Sheets()[i].name), sheet_name)) {
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
  if (sheet_stream == nullptr) {
    throw Failure(FailureKind::kNoSuchSheet, {}).WithSheet(std::u16string(sheet_name));
  }

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
  auto key = [](const biff::CellAddress& address) {
    return static_cast<std::uint32_t>(address.row) << 16 | address.column;
  };
  for (const auto& [address, data] : sheet.Cells()) values[key(address)] = data.value;
  RecomputeFormulas(sheet_records, values);
  for (const auto& [address, data] : sheet.Cells()) {
    PrintCell cell;
    cell.row = address.row;
    cell.column = address.column;
    cell.style = data.xf < layout.styles.size() ? data.xf : 0;
    const FormattedValue shown =
        FormatValue(values[key(address)],
                    styles.NumberFormatCode(styles.Format(data.xf).number_format), styles.date1904);
    cell.text = shown.text;
    cell.is_number = shown.is_number;
    cell.text_colour = shown.colour;
    layout.cells.push_back(std::move(cell));
  }
  return layout;
}

}  // namespace xls::layout
