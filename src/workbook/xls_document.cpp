#include "xls_document.h"

#include <system_error>

#include "atomic_file.h"
#include "automation_error.h"
#include "text_encoding.h"
#include "workbook/biff/biff_format_error.h"

namespace workbook {

namespace {

constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;
constexpr std::size_t kMaxCellText = 32767;  // what a cell of this format can hold

std::string Quoted(const std::filesystem::path& path) {
  return "“" + ToUtf8(path.u16string()) + "”";
}

[[noreturn]] void ThrowReadError(const std::filesystem::path& path, const std::system_error& e) {
  if (e.code() == std::errc::no_such_file_or_directory) {
    throw AutomationError(error_number::kFileNotFound, "找不到文件" + Quoted(path) + "。");
  }
  if (e.code() == std::errc::permission_denied) {
    throw AutomationError(error_number::kPermissionDenied,
                          "没有权限读取文件" + Quoted(path) + "。");
  }
  if (e.code() == std::errc::file_too_large) {
    throw AutomationError(error_number::kBadFileFormat,
                          "文件" + Quoted(path) + "太大，不像是锯材账单的工作簿。");
  }
  throw AutomationError(error_number::kPathFileAccess,
                        "无法读取文件" + Quoted(path) + "（" + e.code().message() + "）。");
}

[[noreturn]] void ThrowFormatError(const std::filesystem::path& path, const std::string& reason) {
  throw AutomationError(error_number::kBadFileFormat, "文件" + Quoted(path) + reason);
}

bool LooksLikeZip(const std::vector<std::uint8_t>& bytes) {
  return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' && bytes[2] == 3 && bytes[3] == 4;
}

[[noreturn]] void ThrowBiffError(const std::filesystem::path& path,
                                 const biff::BiffFormatError& e) {
  switch (e.Problem()) {
    case biff::FormatProblem::kEncrypted:
      ThrowFormatError(path,
                       "设有打开密码（已加密），无法读取。请在电子表格程序中取消密码后再试。");
    case biff::FormatProblem::kOlderFormat:
      ThrowFormatError(path,
                       "是 Excel 95 或更早的格式。请在电子表格程序中另存为“Excel 97-2003 "
                       "工作簿（.xls）”后再试。");
    case biff::FormatProblem::kDamaged:
      break;
  }
  ThrowFormatError(path, "已损坏，无法读取其中的工作表。");
}

}  // namespace

XlsDocument::XlsDocument(std::filesystem::path path, std::vector<std::uint8_t> bytes)
    : path_(std::move(path)), file_bytes_(std::move(bytes)) {}

std::unique_ptr<XlsDocument> XlsDocument::Open(const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes;
  try {
    bytes = ReadWholeFile(path);
  } catch (const std::system_error& e) {
    ThrowReadError(path, e);
  }
  std::unique_ptr<XlsDocument> document(new XlsDocument(path, std::move(bytes)));
  if (LooksLikeZip(document->file_bytes_)) {
    ThrowFormatError(path,
                     "是 Excel 2007 及以后的 .xlsx 工作簿，只是扩展名为 .xls。请另存为"
                     "“Excel 97-2003 工作簿（.xls）”后再试。");
  }
  try {
    document->container_ = cfb::CompoundFile::Read(document->file_bytes_);
  } catch (const cfb::FormatError&) {
    ThrowFormatError(path, "已损坏，或不是 Excel 97-2003 工作簿（.xls）。");
  }
  std::optional<std::vector<std::uint8_t>> stream;
  for (const std::u16string_view name : {u"Workbook", u"Book"}) {
    stream = document->container_->ReadStream(name);
    if (stream) {
      document->stream_name_ = name;
      break;
    }
  }
  if (!stream) ThrowFormatError(path, "不是 Excel 工作簿：其中没有工作簿数据。");
  try {
    document->book_ = biff::BiffWorkbook::Parse(*stream);
  } catch (const biff::BiffFormatError& e) {
    ThrowBiffError(path, e);
  }
  return document;
}

std::size_t XlsDocument::Worksheet(std::u16string_view name) const {
  if (const std::optional<std::size_t> sheet = book_.FindWorksheet(name)) return *sheet;
  throw AutomationError(error_number::kSubscriptOutOfRange,
                        "工作簿" + Quoted(path_) + "中没有名为“" + ToUtf8(name) + "”的工作表。");
}

namespace {

void CheckCell(int row, int column) {
  if (row >= 1 && row <= kMaxRows && column >= 1 && column <= kMaxColumns) return;
  throw AutomationError(error_number::kAutomation,
                        "单元格（第 " + std::to_string(row) + " 行，第 " + std::to_string(column) +
                            " 列）超出工作表的范围（65536 行，256 列）。");
}

}  // namespace

std::u16string XlsDocument::Cell(std::size_t sheet, int row, int column) const {
  CheckCell(row, column);
  return book_.CellText(sheet, static_cast<std::uint16_t>(row - 1),
                        static_cast<std::uint16_t>(column - 1));
}

void XlsDocument::SetCell(std::size_t sheet, int row, int column, std::u16string_view text) {
  CheckCell(row, column);
  if (text.size() > kMaxCellText) {
    throw AutomationError(error_number::kAutomation,
                          "文本太长（" + std::to_string(text.size()) +
                              " 个字符），单元格最多只能容纳 32767 个字符。");
  }
  book_.SetCellText(sheet, static_cast<std::uint16_t>(row - 1),
                    static_cast<std::uint16_t>(column - 1), text);
}

void XlsDocument::Save() {
  // An unchanged workbook is written back exactly as it was read.
  std::vector<std::uint8_t> rebuilt;
  if (book_.Modified()) {
    cfb::CompoundFile container = *container_;
    container.ReplaceStream(stream_name_, book_.Serialize());
    rebuilt = container.Write();
  }
  try {
    SaveFileAtomically(path_, book_.Modified() ? rebuilt : file_bytes_);
  } catch (const std::system_error& e) {
    if (e.code() == std::errc::permission_denied || e.code() == std::errc::read_only_file_system ||
        e.code() == std::errc::operation_not_permitted) {
      throw AutomationError(
          error_number::kPermissionDenied,
          "无法保存文件" + Quoted(path_) +
              "：没有写入权限（文件或所在文件夹是只读的，或文件正被其他程序使用）。");
    }
    throw AutomationError(
        error_number::kPathFileAccess,
        "保存文件" + Quoted(path_) + "失败（" + e.code().message() + "），原文件未被改动。");
  }
}

}  // namespace workbook
