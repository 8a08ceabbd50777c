#include "xls/layout/sheet_layout_file.h"

#include <optional>
#include <system_error>
#include <vector>

#include "xls/biff/biff_format_error.h"
#include "xls/cfb/compound_file.h"
#include "xls/failure.h"
#include "xls/layout/sheet_layout_reader.h"
#include "xls/whole_file.h"
#include "xls/xls_document.h"

namespace xls::layout {

SheetLayout ReadSheetLayoutFile(const std::filesystem::path& path, std::u16string_view sheet) {
  // Opening the workbook as for writing tells every kind of unusable file apart; only a
  // sound workbook with that sheet reaches the layout reader.
  XlsDocument::Open(path)->WorksheetIndex(sheet);
  try {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    const cfb::CompoundFile file = cfb::CompoundFile::Read(bytes);
    std::optional<std::vector<std::uint8_t>> stream = file.ReadStream(u"Workbook");
    if (!stream) stream = file.ReadStream(u"Book");
    if (!stream) throw Failure(FailureKind::kNoWorkbookStream, path);
    SheetLayout layout = ReadSheetLayout(*stream, sheet);
    layout.file_name = path.filename().u16string();
    return layout;
  } catch (const std::system_error& e) {
    throw Failure(KindOfSystemError(e.code()), path, e.code());
  } catch (const cfb::FormatError&) {
    throw Failure(FailureKind::kDamaged, path);  // it changed since it was opened
  } catch (const biff::BiffFormatError&) {
    throw Failure(FailureKind::kDamaged, path);
  } catch (const Failure& failure) {
    // The reader does not know the file it read.
    if (!failure.Path().empty()) throw;
    throw Failure(failure.Kind(), path).WithSheet(failure.Sheet());
  }
}

}  // namespace xls::layout
