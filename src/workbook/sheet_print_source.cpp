#include "sheet_print_source.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "automation_error.h"
#include "text_encoding.h"
#include "workbook/biff/biff_format_error.h"
#include "workbook/cfb/compound_file.h"
#include "workbook/layout/sheet_layout_reader.h"
#include "xls_document.h"

namespace workbook {

layout::SheetLayout LoadSheetLayout(const std::filesystem::path& path, std::u16string_view sheet) {
  // Opening the workbook as for writing says in the clerk's words what is wrong with the
  // file or the sheet; only a sound workbook reaches the layout reader.
  const std::unique_ptr<XlsDocument> document = XlsDocument::Open(path);
  document->Worksheet(sheet);

  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  // The file was sound a moment ago; read it again as it is now.
  const cfb::CompoundFile file = [&] {
    try {
      return cfb::CompoundFile::Read(bytes);
    } catch (const cfb::FormatError&) {
      throw AutomationError(error_number::kBadFileFormat,
                            "文件“" + ToUtf8(path.u16string()) + "”在读取时被改动，无法打印。");
    }
  }();
  std::optional<std::vector<std::uint8_t>> stream = file.ReadStream(u"Workbook");
  if (!stream) stream = file.ReadStream(u"Book");
  if (!stream) {
    throw AutomationError(error_number::kBadFileFormat, "工作簿中没有可打印的工作表。");
  }
  try {
    layout::SheetLayout read = layout::ReadSheetLayout(*stream, sheet);
    read.file_name = path.filename().u16string();
    return read;
  } catch (const biff::BiffFormatError&) {
    // Records that only printing reads (fonts, formats, page setup) are damaged.
    throw AutomationError(error_number::kBadFileFormat,
                          "文件“" + ToUtf8(path.u16string()) + "”的格式记录已损坏，无法打印。");
  }
}

}  // namespace workbook
