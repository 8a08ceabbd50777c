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

// What the engine needs from the workbook globals: the sheets, the shared strings, and
// which cell formats show text as entered.
class WorkbookGlobals {
 public:
  // Throws BiffFormatError with kEncrypted for a FILEPASS, kOlderFormat for anything
  // before BIFF8, kDamaged for unreadable records.
  static WorkbookGlobals Parse(const Substream& globals);

  const std::vector<SheetEntry>& Sheets() const { return sheets_; }
  const SharedStringTable& Strings() const { return strings_; }
  SharedStringTable& Strings() { return strings_; }
  bool HasStringTable() const { return sst_index_.has_value(); }

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
  std::vector<std::uint16_t> xf_formats_;
  std::map<std::uint16_t, std::u16string> formats_;
  SharedStringTable strings_;
  std::optional<std::size_t> sst_index_;  // first record of the SST
  std::size_t sst_record_count_ = 0;      // SST and its CONTINUEs
  std::optional<std::size_t> ext_sst_index_;
};

}  // namespace xls::biff
