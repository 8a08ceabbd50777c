#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xls/biff/cell_address.h"
#include "xls/biff/sheet_substream.h"
#include "xls/biff/substreams.h"
#include "xls/biff/workbook_globals.h"

namespace xls::biff {

// The longest text a cell holds, in UTF-16 code units, as spreadsheets allow it.
inline constexpr std::size_t kMaxCellText = 32767;

// A text longer than kMaxCellText, refused before anything of the workbook changed.
class TextTooLong : public std::length_error {
 public:
  explicit TextTooLong(std::size_t length)
      : std::length_error("text longer than a cell can hold"), length_(length) {}
  std::size_t Length() const { return length_; }

 private:
  std::size_t length_;
};

// A BIFF8 Workbook stream held in memory: read cells as text, write texts into cells, and
// write the stream back. Rows and columns count from 0 here, as in the file.
class BiffWorkbook {
 public:
  // Throws BiffFormatError (damaged, encrypted, or older than BIFF8).
  static BiffWorkbook Parse(std::span<const std::uint8_t> stream);

  std::size_t SheetCount() const { return sheets_.size(); }
  const std::u16string& SheetName(std::size_t sheet) const;
  // The worksheet of that name (letters A-Z compared without regard to case, as
  // spreadsheets do), or nothing; chart and macro sheets have no cells and are not found.
  std::optional<std::size_t> FindWorksheet(std::u16string_view name) const;
  const SheetSubstream& Sheet(std::size_t sheet) const;
  // For storing computed formula results; cells are written through SetCellText.
  SheetSubstream& Sheet(std::size_t sheet);
  // The workbook globals' records as read (names, links to other sheets, fonts, formats).
  const std::vector<Record>& GlobalsRecords() const;
  // What is read of them once for every use: sheets, cell and number formats, date system.
  const WorkbookGlobals& Globals() const { return globals_; }
  // Per sheet entry of the globals (BOUNDSHEET order, as formulas count sheets), the
  // worksheet it is, or nothing for chart and macro sheets.
  std::vector<std::optional<std::size_t>> WorksheetOfEntries() const;

  // The cell's value as a General cell shows it; empty for a cell that holds nothing.
  std::u16string CellText(std::size_t sheet, CellAddress cell) const;

  // Stores a text as a spreadsheet stores typed input: a number where it reads as one
  // (unless the cell is formatted as Text), else a shared string; never a formula. The
  // empty text drops the value and keeps the cell's format. Throws TextTooLong.
  void SetCellText(std::size_t sheet, CellAddress cell, std::u16string_view text);

  bool Modified() const;
  // The cells SetCellText wrote since the workbook was read, by sheet.
  const std::set<std::pair<std::size_t, CellAddress>>& WrittenCells() const { return written_; }
  // The stream; unchanged workbooks give back exactly the bytes they were read from.
  std::vector<std::uint8_t> Serialize();

 private:
  // Drops the shared strings no cell shows any more and renumbers the cells' references.
  void CompactSharedStrings();
  // The sheets' substreams after the globals, which end at globals_size; offsets gets where
  // each substream starts (0 for the globals).
  std::vector<std::uint8_t> SerializeSheets(std::size_t globals_size,
                                            std::vector<std::size_t>& offsets);

  struct SheetSlot {
    std::size_t entry = 0;      // in the globals' sheet list
    std::size_t substream = 0;  // in substreams_
  };

  SubstreamList substreams_;
  WorkbookGlobals globals_;
  std::vector<std::optional<SheetSubstream>> worksheets_;  // parallel to substreams_
  std::vector<SheetSlot> sheets_;
  std::vector<std::optional<std::size_t>> entry_substream_;  // per globals sheet entry
  std::set<std::pair<std::size_t, CellAddress>> written_;
};

}  // namespace xls::biff
