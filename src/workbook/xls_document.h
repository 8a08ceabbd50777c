#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/biff/biff_workbook.h"
#include "workbook/cfb/compound_file.h"

namespace workbook {

// An Excel 97-2003 workbook file held wholly in memory: the compound file around it, the
// BIFF8 Workbook stream inside, and the path it came from. Failures are AutomationErrors
// with Chinese descriptions naming the file or sheet.
class XlsDocument {
 public:
  // Reads the whole file at once, so that nothing later depends on it staying unchanged.
  static std::unique_ptr<XlsDocument> Open(const std::filesystem::path& path);

  const std::filesystem::path& Path() const { return path_; }

  // The worksheet of that name; error 9 naming the sheet when there is none.
  std::size_t Worksheet(std::u16string_view name) const;
  std::size_t SheetCount() const { return book_.SheetCount(); }
  const std::u16string& SheetName(std::size_t sheet) const { return book_.SheetName(sheet); }
  const biff::SheetSubstream& Sheet(std::size_t sheet) const { return book_.Sheet(sheet); }

  // Rows and columns count from 1, as the callers address cells.
  std::u16string Cell(std::size_t sheet, int row, int column) const;
  void SetCell(std::size_t sheet, int row, int column, std::u16string_view text);

  // Writes the workbook back over its file atomically. An unchanged workbook is written
  // back byte for byte. A file that cannot be written fails with 70 or 75 and stays as it was.
  void Save();

 private:
  XlsDocument(std::filesystem::path path, std::vector<std::uint8_t> bytes);

  std::filesystem::path path_;
  std::vector<std::uint8_t> file_bytes_;
  std::optional<cfb::CompoundFile> container_;
  std::u16string stream_name_;
  biff::BiffWorkbook book_;
};

}  // namespace workbook
