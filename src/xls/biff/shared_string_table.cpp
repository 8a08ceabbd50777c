#include "xls/biff/shared_string_table.h"

#include <algorithm>
#include <span>

#include "base/text_encoding.h"
#include "xls/biff/biff_format_error.h"
#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/continued_writer.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

constexpr std::size_t kCountsSize = 8;  // cstTotal, cstUnique
using string_flags::kExtended;          // here: phonetic data
using string_flags::kHighByte;
using string_flags::kRich;
using string_flags::kRunSize;
constexpr std::uint32_t kNotKept = 0xFFFFFFFF;

// Strings per EXTSST bucket: enough buckets to help a reader, few enough to fit one record.
std::uint16_t StringsPerBucket(std::size_t count) {
  return static_cast<std::uint16_t>(std::max<std::size_t>(8, count / 128 + 1));
}

}  // namespace

SharedStringTable SharedStringTable::Parse(std::vector<std::vector<std::uint8_t>> chunks) {
  SharedStringTable table;
  if (chunks.empty() || chunks[0].size() < kCountsSize) throw BiffFormatError("SST too short");
  const std::uint32_t declared_unique = GetU32(chunks[0], 4);
  table.total_references_ = GetU32(chunks[0], 0);
  std::vector<std::span<const std::uint8_t>> spans(chunks.begin(), chunks.end());
  ContinuedReader reader(spans, kCountsSize);
  while (!reader.AtEnd()) {
    Entry entry;
    try {
      const std::uint16_t length = reader.U16();
      const std::uint8_t flags = reader.U8();
      const std::uint16_t runs = (flags & kRich) != 0 ? reader.U16() : 0;
      const std::uint32_t phonetic = (flags & kExtended) != 0 ? reader.U32() : 0;
      entry.text = reader.Characters(length, (flags & kHighByte) != 0);
      entry.runs = reader.Bytes(std::size_t{runs} * kRunSize);
      entry.phonetic = reader.Bytes(phonetic);
    } catch (const BiffFormatError&) {
      // Bytes after all the declared strings are left-overs, and go.
      if (table.strings_.size() < declared_unique) throw;
      break;
    }
    table.strings_.push_back(std::move(entry));
  }
  return table;
}

const std::u16string* SharedStringTable::Find(std::size_t index) const {
  return index < strings_.size() ? &strings_[index].text : nullptr;
}

std::uint32_t SharedStringTable::Add(std::u16string_view text) {
  if (plain_index_.empty()) {
    for (std::size_t i = strings_.size(); i-- > 0;) {
      if (strings_[i].runs.empty() && strings_[i].phonetic.empty()) {
        plain_index_[strings_[i].text] = static_cast<std::uint32_t>(i);
      }
    }
  }
  // A lone half of a surrogate pair is no character; readers that check refuse the file.
  const std::u16string key = base::WithoutUnpairedSurrogates(text);
  if (const auto found = plain_index_.find(key); found != plain_index_.end()) return found->second;
  const auto index = static_cast<std::uint32_t>(strings_.size());
  strings_.push_back({key, {}, {}});
  plain_index_.emplace(key, index);
  return index;
}

std::vector<std::uint32_t> SharedStringTable::Compact(const std::vector<bool>& used) {
  std::vector<std::uint32_t> new_index(strings_.size());
  std::vector<Entry> kept;
  for (std::size_t i = 0; i < strings_.size(); ++i) {
    if (i < used.size() && used[i]) {
      new_index[i] = static_cast<std::uint32_t>(kept.size());
      kept.push_back(std::move(strings_[i]));
    } else {
      new_index[i] = kNotKept;
    }
  }
  strings_ = std::move(kept);
  for (std::uint32_t& index : new_index) {
    if (index == kNotKept) index = static_cast<std::uint32_t>(strings_.size());
  }
  plain_index_.clear();
  return new_index;
}

SharedStringTable::Layout SharedStringTable::LayOut() const {
  ContinuedWriter writer;
  writer.Current().resize(kCountsSize);
  Layout layout;
  for (const Entry& entry : strings_) {
    const std::u16string& text = entry.text;
    const bool compressed = FitsCompressed(text);
    const std::size_t char_size = compressed ? 1 : 2;
    const std::uint8_t flags =
        static_cast<std::uint8_t>((compressed ? 0 : kHighByte) | (entry.runs.empty() ? 0 : kRich) |
                                  (entry.phonetic.empty() ? 0 : kExtended));
    std::vector<std::uint8_t> header;
    AppendU16(header, static_cast<std::uint16_t>(text.size()));
    AppendU8(header, flags);
    if (!entry.runs.empty())
      AppendU16(header, static_cast<std::uint16_t>(entry.runs.size() / kRunSize));
    if (!entry.phonetic.empty())
      AppendU32(header, static_cast<std::uint32_t>(entry.phonetic.size()));
    // The header never splits, and Excel keeps at least one character beside it (two
    // units for a character outside the Basic Multilingual Plane).
    std::size_t first_part = header.size();
    if (!text.empty()) first_part += char_size * (base::IsHighSurrogate(text[0]) ? 2 : 1);
    if (writer.Room() < first_part) writer.StartRecord();
    const auto here = writer.Here();
    layout.positions.push_back({here.record, here.offset});
    writer.Current().insert(writer.Current().end(), header.begin(), header.end());
    writer.AppendCharacters(text, compressed);
    writer.Append(entry.runs, kRunSize);
    writer.Append(entry.phonetic, 1);
  }
  layout.chunks = writer.Take();
  PutU32(layout.chunks[0], 0, total_references_);
  PutU32(layout.chunks[0], 4, static_cast<std::uint32_t>(strings_.size()));
  return layout;
}

std::vector<Record> SharedStringTable::Records() const {
  std::vector<Record> records;
  for (auto& chunk : LayOut().chunks) {
    records.push_back(
        {records.empty() ? record_type::kSst : record_type::kContinue, std::move(chunk)});
  }
  return records;
}

Record SharedStringTable::ExtSstRecord(std::size_t sst_offset) const {
  const Layout layout = LayOut();
  std::vector<std::size_t> chunk_starts;
  std::size_t position = sst_offset;
  for (const auto& chunk : layout.chunks) {
    chunk_starts.push_back(position);
    position += kRecordHeaderSize + chunk.size();
  }
  const std::uint16_t per_bucket = StringsPerBucket(strings_.size());
  Record record{record_type::kExtSst, {}};
  AppendU16(record.body, per_bucket);
  for (std::size_t i = 0; i < layout.positions.size(); i += per_bucket) {
    const Position& start = layout.positions[i];
    const std::size_t in_record = kRecordHeaderSize + start.offset;
    AppendU32(record.body, static_cast<std::uint32_t>(chunk_starts[start.chunk] + in_record));
    AppendU16(record.body, static_cast<std::uint16_t>(in_record));
    AppendU16(record.body, 0);
  }
  return record;
}

}  // namespace xls::biff
