#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xls/biff/record.h"

namespace xls::biff {

// The shared string table (SST) with the EXTSST index that goes with it.
//
// Strings keep their rich-text runs and phonetic data. A written workbook's table holds
// only the strings its cells use (Compact): texts that earlier saves wrote and later ones
// replaced do not linger in the file, and the file does not grow with every export.
class SharedStringTable {
 public:
  // An empty table, for a workbook that has none yet.
  SharedStringTable() = default;
  // chunks: the SST body and the bodies of the CONTINUE records that follow it.
  static SharedStringTable Parse(std::vector<std::vector<std::uint8_t>> chunks);

  std::size_t Count() const { return strings_.size(); }
  // The string at index, or nothing for an index past the end.
  const std::u16string* Find(std::size_t index) const;
  // The formatting runs of the string at index (character, font: two 16-bit numbers each),
  // empty for a plain string or an index past the end.
  std::span<const std::uint8_t> FormattingRuns(std::size_t index) const {
    if (index >= strings_.size()) return {};
    return strings_[index].runs;
  }

  // The index of a plain copy of text already in the table, else of text appended to it.
  std::uint32_t Add(std::u16string_view text);

  // Keeps the strings whose used[index] is true, in their order, and drops the rest.
  // Returns each old index's new one; an unused or out-of-range index maps to Count().
  std::vector<std::uint32_t> Compact(const std::vector<bool>& used);

  // cstTotal: the number of LABELSST cells of the whole workbook.
  void SetTotalReferences(std::uint32_t total) { total_references_ = total; }

  // The SST record and its CONTINUE records. No string's header is split from its first
  // character, and no surrogate pair is split between records.
  std::vector<Record> Records() const;
  // The EXTSST record for the table written from stream position sst_offset.
  Record ExtSstRecord(std::size_t sst_offset) const;

 private:
  struct Entry {
    std::u16string text;
    std::vector<std::uint8_t> runs;      // formatting runs, 4 bytes each
    std::vector<std::uint8_t> phonetic;  // ExtRst, as read
  };
  struct Position {
    std::size_t chunk;
    std::size_t offset;  // within the chunk's body
  };
  struct Layout {
    std::vector<std::vector<std::uint8_t>> chunks;
    std::vector<Position> positions;  // of every string's header
  };
  Layout LayOut() const;

  std::vector<Entry> strings_;
  std::unordered_map<std::u16string, std::uint32_t> plain_index_;  // filled on first Add
  std::uint32_t total_references_ = 0;
};

}  // namespace xls::biff
