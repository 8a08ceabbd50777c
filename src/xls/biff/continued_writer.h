#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace xls::biff {

// Writes a record's body that may run past kMaxRecordBody into the record and the
// CONTINUE records after it, by the rules Excel reads them with: other bytes split only
// between units of their own size, and characters split only between characters, never
// inside a surrogate pair (strict readers refuse a pair cut in two), each continuation
// saying again how wide its characters are.
class ContinuedWriter {
 public:
  struct Position {
    std::size_t record;  // 0 for the first record, then the CONTINUE records in turn
    std::size_t offset;  // within that record's body
  };

  ContinuedWriter() : bodies_(1) {}

  std::size_t Room() const;
  void StartRecord() { bodies_.emplace_back(); }
  std::vector<std::uint8_t>& Current() { return bodies_.back(); }
  Position Here() const { return {bodies_.size() - 1, bodies_.back().size()}; }

  // Bytes that may be split anywhere (unit 1), or only between units of `unit` bytes.
  void Append(std::span<const std::uint8_t> bytes, std::size_t unit);
  // Characters, one byte each (`compressed`) or two.
  void AppendCharacters(std::u16string_view text, bool compressed);

  // The bodies: the first record's, then each CONTINUE's.
  std::vector<std::vector<std::uint8_t>> Take() { return std::move(bodies_); }

 private:
  std::vector<std::vector<std::uint8_t>> bodies_;
};

}  // namespace xls::biff
