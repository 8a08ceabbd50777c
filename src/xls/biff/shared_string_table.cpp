#include "xls/biff/shared_string_table.h"

#include <algorithm>
#include <span>

#include "xls/biff/biff_format_error.h"
#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"

namespace xls::biff {

namespace {

constexpr std::size_t kCountsSize = 8;  // cstTotal, cstUnique
constexpr std::size_t kStringHeaderSize = 3;
constexpr std::uint8_t kHighByte = 0x01;

// Strings per EXTSST bucket: enough buckets to help a reader, few enough to fit one record.
std::uint16_t StringsPerBucket(std::size_t count) {
  return static_cast<std::uint16_t>(std::max<std::size_t>(8, count / 128 + 1));
}

}  // namespace

SharedStringTable::SharedStringTable() : chunks_{std::vector<std::uint8_t>(kCountsSize, 0)} {}

SharedStringTable SharedStringTable::Parse(std::vector<std::vector<std::uint8_t>> chunks) {
  SharedStringTable table;
  if (chunks.empty() || chunks[0].size() < kCountsSize) throw BiffFormatError("SST too short");
  table.chunks_ = std::move(chunks);
  const std::uint32_t declared_unique = GetU32(table.chunks_[0], 4);
  std::vector<std::span<const std::uint8_t>> spans(table.chunks_.begin(), table.chunks_.end());
  ContinuedReader reader(spans, kCountsSize);
  while (!reader.AtEnd()) {
    const Position start{reader.ChunkIndex(), reader.OffsetInChunk()};
    bool plain = false;
    try {
      table.strings_.push_back(ReadUnicodeString(reader, &plain));
    } catch (const BiffFormatError&) {
      // Bytes after all the declared strings are left-overs: cut them, so that appended
      // strings follow the last whole one and keep the index a reader will count.
      if (table.strings_.size() < declared_unique) throw;
      table.chunks_.resize(start.chunk + 1);
      table.chunks_[start.chunk].resize(start.offset);
      break;
    }
    table.positions_.push_back(start);
    table.plain_.push_back(plain);
  }
  return table;
}

const std::u16string* SharedStringTable::Find(std::size_t index) const {
  return index < strings_.size() ? &strings_[index] : nullptr;
}

std::uint32_t SharedStringTable::Add(std::u16string_view text) {
  if (plain_index_.empty()) {
    for (std::size_t i = strings_.size(); i-- > 0;) {
      if (plain_[i]) plain_index_[strings_[i]] = static_cast<std::uint32_t>(i);
    }
  }
  const std::u16string key(text);
  if (const auto found = plain_index_.find(key); found != plain_index_.end()) return found->second;
  const auto index = static_cast<std::uint32_t>(strings_.size());
  AppendString(text);
  strings_.push_back(key);
  plain_.push_back(true);
  plain_index_.emplace(key, index);
  appended_ = true;
  return index;
}

void SharedStringTable::AppendString(std::u16string_view text) {
  const bool compressed = FitsCompressed(text);
  const std::size_t char_size = compressed ? 1 : 2;
  const std::uint8_t flags = compressed ? 0 : kHighByte;
  // The header never splits, and Excel keeps at least one character beside it.
  const std::size_t first_part = kStringHeaderSize + (text.empty() ? 0 : char_size);
  if (kMaxRecordBody - chunks_.back().size() < first_part) chunks_.emplace_back();
  positions_.push_back({chunks_.size() - 1, chunks_.back().size()});
  AppendU16(chunks_.back(), static_cast<std::uint16_t>(text.size()));
  AppendU8(chunks_.back(), flags);
  std::size_t written = 0;
  while (written < text.size()) {
    const std::size_t room = (kMaxRecordBody - chunks_.back().size()) / char_size;
    const std::size_t count = std::min(room, text.size() - written);
    if (count == 0) {
      chunks_.emplace_back();
      AppendU8(chunks_.back(), flags);  // characters go on in a CONTINUE: say their width again
      continue;
    }
    AppendCharacters(chunks_.back(), text.substr(written, count), compressed);
    written += count;
  }
}

void SharedStringTable::SetTotalReferences(std::uint32_t total) {
  PutU32(chunks_[0], 0, total);
  PutU32(chunks_[0], 4, static_cast<std::uint32_t>(strings_.size()));
}

std::vector<Record> SharedStringTable::Records() const {
  std::vector<Record> records;
  for (const auto& chunk : chunks_) {
    records.push_back({records.empty() ? record_type::kSst : record_type::kContinue, chunk});
  }
  return records;
}

Record SharedStringTable::ExtSstRecord(std::size_t sst_offset) const {
  std::vector<std::size_t> chunk_starts;
  std::size_t position = sst_offset;
  for (const auto& chunk : chunks_) {
    chunk_starts.push_back(position);
    position += kRecordHeaderSize + chunk.size();
  }
  const std::uint16_t per_bucket = StringsPerBucket(strings_.size());
  Record record{record_type::kExtSst, {}};
  AppendU16(record.body, per_bucket);
  for (std::size_t i = 0; i < positions_.size(); i += per_bucket) {
    const Position& start = positions_[i];
    const std::size_t in_record = kRecordHeaderSize + start.offset;
    AppendU32(record.body, static_cast<std::uint32_t>(chunk_starts[start.chunk] + in_record));
    AppendU16(record.body, static_cast<std::uint16_t>(in_record));
    AppendU16(record.body, 0);
  }
  return record;
}

}  // namespace xls::biff
