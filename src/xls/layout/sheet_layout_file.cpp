#include "xls/layout/sheet_layout_file.h"

#include "xls/biff/biff_format_error.h"
#include "xls/failure.h"
#include "xls/formula/workbook_calculation.h"
#include "xls/layout/sheet_layout_reader.h"
#include "xls/xls_document.h"

namespace xls::layout {

namespace {

// Reads the layout with `read`, its failures naming the document's file and the sheet.
template <typename Read>
SheetLayout ReadNamingFile(const XlsDocument& document, std::u16string_view sheet, Read&& read) {
  document.WorksheetIndex(sheet);
  try {
    SheetLayout layout = read(document.Book());
    layout.file_name = document.Path().filename().u16string();
    return layout;
  } catch (const biff::BiffFormatError&) {
    throw Failure(FailureKind::kDamaged, document.Path());
  } catch (const Failure& failure) {
    // The reader does not know the file it read.
    if (!failure.Path().empty()) throw;
    throw Failure(failure.Kind(), document.Path()).WithSheet(failure.Sheet());
  }
}

}  // namespace

SheetLayout ReadSheetLayoutFile(const std::filesystem::path& path, std::u16string_view sheet) {
  // One reading of the file, as for writing, tells every kind of unusable file apart; the
  // layout is a view of that parsed workbook.
  const std::unique_ptr<XlsDocument> document = XlsDocument::Open(path);
  return ReadNamingFile(*document, sheet, [sheet](const biff::BiffWorkbook& book) {
    return ReadSheetLayout(book, sheet, formula::CurrentSerialTime(formula::UsesDate1904(book)));
  });
}

SheetLayout ReadSavedSheetLayout(const XlsDocument& document, std::u16string_view sheet) {
  return ReadNamingFile(document, sheet, [&](const biff::BiffWorkbook& book) {
    return ReadSavedSheetLayout(book, sheet, document.UncomputedAtSave());
  });
}

}  // namespace xls::layout
