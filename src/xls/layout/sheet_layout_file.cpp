#include "xls/layout/sheet_layout_file.h"

#include "xls/biff/biff_format_error.h"
#include "xls/failure.h"
#include "xls/formula/workbook_calculation.h"
#include "xls/layout/sheet_layout_reader.h"
#include "xls/xls_document.h"

namespace xls::layout {

SheetLayout ReadSheetLayoutFile(const std::filesystem::path& path, std::u16string_view sheet) {
  // One reading of the file, as for writing, tells every kind of unusable file apart; the
  // layout is a view of that parsed workbook.
  const std::unique_ptr<XlsDocument> document = XlsDocument::Open(path);
  document->WorksheetIndex(sheet);
  const biff::BiffWorkbook& book = document->Book();
  try {
    SheetLayout layout =
        ReadSheetLayout(book, sheet, formula::CurrentSerialTime(formula::UsesDate1904(book)));
    layout.file_name = path.filename().u16string();
    return layout;
  } catch (const biff::BiffFormatError&) {
    throw Failure(FailureKind::kDamaged, path);
  } catch (const Failure& failure) {
    // The reader does not know the file it read.
    if (!failure.Path().empty()) throw;
    throw Failure(failure.Kind(), path).WithSheet(failure.Sheet());
  }
}

}  // namespace xls::layout
