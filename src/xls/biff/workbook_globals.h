#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "xls/biff/shared_string_table.h"
#include "xls/biff/substreams.h"

namespace xls::biff {

// A sheet as BOUNDSHEET8 lists it.
struct SheetEntry {
  std::u16string name;
  std::uint32_t offset = 0;      // lbPlyPos: where the sheet's BOF lies in the stream
  std::size_t record_index = 0;  // of its BOUNDSHEET8 in the globals
};

// A cell format (XF) as the globals list it, at the index cells refer to it by.
struct XfEntry {
  std::uint16_t number_format = 0;  // ifmt: a built-in format or one of NumberFormats()
  std::size_t record_index = 0;     // of its XF record in the globals, for the rest of it
};

// What the engine needs from the workbook globals: the sheets, the shared strings, the cell
// and number formats, and the date system. Each of these records is read here only.
class WorkbookGlobals {
 public:
  // Throws BiffFormatError with kEncrypted for a FILEPASS, kOlderFormat for anything
  // before BIFF8, kDamaged for unreadable records.
  static WorkbookGlobals Parse(const Substream& globals);

  const std::vector<SheetEntry>& Sheets() const { return sheets_; }
  const SharedStringTable& Strings() const { return strings_; }
  SharedStringTable& Strings() { return strings_; }
  bool HasStringTable() const { return sst_index_.has_value(); }

  const std::vector<XfEntry>& CellFormats() const { return xfs_; }
  // The workbook's own number format codes (FORMAT), by index; a later record of an index
  // replaces an earlier one.
  const std::map<std::uint16_t, std::u16string>& NumberFormats() const { return formats_; }
  // Serial numbers count from 1904-01-01 (DATEMODE); a record too short to say is 1900.
  bool Date1904() const { return date1904_; }

  // Whether the XF's number format is Text ("@"), which keeps written texts as text.
  bool IsTextFormat(std::uint16_t xf) const;

  // The globals with what a write changes: the sheets' offsets (one per entry of Sheets()),
  // the shared strings and their index (laid out anew), and RecalcId's engine id 0, added if
  // missing, so that Excel recalculates on open. Every other record is copied as it was.
  std::vector<Record> Rewrite(const Substream& original,
                              const std::vector<std::uint32_t>& sheet_offsets,
                              std::size_t globals_offset) const;

 private:
  std::vector<SheetEntry> sheets_;
  std::vector<XfEntry> xfs_;
  std::map<std::uint16_t, std::u16string> formats_;
  bool date1904_ = false;
  SharedStringTable strings_;
  std::optional<std::size_t> sst_index_;  // first record of the SST
  std::size_t sst_record_count_ = 0;      // SST and its CONTINUEs
  std::optional<std::size_t> ext_sst_index_;
};

}  // namespace xls::biff
