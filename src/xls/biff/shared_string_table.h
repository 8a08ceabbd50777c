#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xls/biff/record.h"

namespace xls::biff {

// The shared string table (SST) with the EXTSST index that goes with it.
//
// The bodies of the SST and its CONTINUE records are kept exactly as read, and new strings
// are only ever appended after the last one: existing strings keep their index and their
// bytes, however the original writer split them across records.
class SharedStringTable {
 public:
  // An empty table, for a workbook that has none yet.
  SharedStringTable();
  // chunks: the SST body and the bodies of the CONTINUE records that follow it.
  static SharedStringTable Parse(std::vector<std::vector<std::uint8_t>> chunks);

  std::size_t Count() const { return strings_.size(); }
  // The string at index, or nothing for an index past the end.
  const std::u16string* Find(std::size_t index) const;

  // The index of a plain copy of text already in the table, else of text appended to it.
  std::uint32_t Add(std::u16string_view text);
  bool Appended() const { return appended_; }

  // cstTotal: the number of LABELSST cells of the whole workbook.
  void SetTotalReferences(std::uint32_t total);

  // The SST record and its CONTINUE records.
  std::vector<Record> Records() const;
  // The EXTSST record for the table written from stream position sst_offset.
  Record ExtSstRecord(std::size_t sst_offset) const;

 private:
  struct Position {
    std::size_t chunk;
    std::size_t offset;  // within the chunk's body
  };
  void AppendString(std::u16string_view text);

  std::vector<std::vector<std::uint8_t>> chunks_;
  std::vector<std::u16string> strings_;
  std::vector<Position> positions_;
  std::vector<bool> plain_;
  std::unordered_map<std::u16string, std::uint32_t> plain_index_;  // filled on first Add
  bool appended_ = false;
};

}  // namespace xls::biff
