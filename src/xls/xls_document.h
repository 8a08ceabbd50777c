#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xls/biff/biff_workbook.h"
#include "xls/cfb/compound_file.h"
#include "xls/formula/uncomputable.h"

namespace xls {

// An Excel 97-2003 workbook file held wholly in memory: the compound file around it, the
// BIFF8 Workbook stream inside, and the path it came from. Every failure is an xls::Failure
// naming its kind, the file, and the sheet or cell concerned.
class XlsDocument {
 public:
  // Reads the whole file at once, so that nothing later depends on it staying unchanged.
  static std::unique_ptr<XlsDocument> Open(const std::filesystem::path& path);

  const std::filesystem::path& Path() const { return path_; }

  // The index of the worksheet of that name; kNoSuchSheet when there is none.
  std::size_t WorksheetIndex(std::u16string_view name) const;
  std::size_t SheetCount() const { return book_.SheetCount(); }
  const std::u16string& SheetName(std::size_t sheet) const { return book_.SheetName(sheet); }
  const biff::SheetSubstream& Sheet(std::size_t sheet) const { return book_.Sheet(sheet); }
  // The parsed workbook, for reading everything else (print layout, formulas).
  const biff::BiffWorkbook& Book() const { return book_; }

  // Rows and columns count from 1, as the callers address cells.
  std::u16string Cell(std::size_t sheet, int row, int column) const;
  void SetCell(std::size_t sheet, int row, int column, std::u16string_view text);

  // Writes the workbook back over its file atomically, every formula's stored result
  // computed anew first (formula::WorkbookCalculation). An unchanged workbook is written
  // back byte for byte. A file that cannot be written stays as it was. A workbook that
  // another spreadsheet program has open (its lock file lies beside it) is not written:
  // kHeldByAnotherProgram naming the holder, or nothing at all if there were no changes.
  //
  // `while_locked` runs after a successful save, while the file is still locked against
  // every other save of it (file::SaveFileAtomically); it must not throw.
  void Save(const std::function<void()>& while_locked = {});

  // What the last Save found it could not compute, by sheet index: the formulas whose
  // stored results it marked for the spreadsheet program. Null where the workbook has
  // changed since, or its last save computed nothing (it was unchanged, or never saved).
  const std::vector<formula::UncomputedCells>* UncomputedAtSave() const {
    return uncomputed_at_save_ ? &*uncomputed_at_save_ : nullptr;
  }

 private:
  XlsDocument(std::filesystem::path path, std::vector<std::uint8_t> bytes);
  void CheckCell(std::size_t sheet, int row, int column) const;

  std::filesystem::path path_;
  std::vector<std::uint8_t> file_bytes_;
  std::optional<cfb::CompoundFile> container_;
  std::u16string stream_name_;
  biff::BiffWorkbook book_;
  std::optional<std::vector<formula::UncomputedCells>> uncomputed_at_save_;
};

}  // namespace xls
