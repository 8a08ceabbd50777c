#include "xls/biff/continued_reader.h"

#include <algorithm>

#include "xls/biff/biff_format_error.h"
#include "xls/biff/byte_io.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

using string_flags::kExtended;
using string_flags::kHighByte;
using string_flags::kRich;

}  // namespace

ContinuedReader::ContinuedReader(std::vector<std::span<const std::uint8_t>> chunks,
                                 std::size_t start)
    : chunks_(std::move(chunks)), offset_(start) {
  if (chunks_.empty()) chunks_.emplace_back();
  if (offset_ > chunks_[0].size()) throw BiffFormatError("record too short");
}

void ContinuedReader::NextChunkIfExhausted() {
  while (Available() == 0) {
    if (chunk_ + 1 >= chunks_.size()) throw BiffFormatError("data ends inside a record");
    ++chunk_;
    offset_ = 0;
  }
}

bool ContinuedReader::AtEnd() {
  while (Available() == 0 && chunk_ + 1 < chunks_.size()) {
    ++chunk_;
    offset_ = 0;
  }
  return Available() == 0;
}

std::uint8_t ContinuedReader::U8() {
  NextChunkIfExhausted();
  return chunks_[chunk_][offset_++];
}

std::uint16_t ContinuedReader::U16() {
  const std::uint8_t low = U8();
  return static_cast<std::uint16_t>(low | (U8() << 8));
}

std::uint32_t ContinuedReader::U32() {
  const std::uint16_t low = U16();
  return static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(U16()) << 16);
}

void ContinuedReader::Skip(std::uint64_t count) {
  while (count > 0) {
    NextChunkIfExhausted();
    const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(count, Available()));
    offset_ += step;
    count -= step;
  }
}

std::vector<std::uint8_t> ContinuedReader::Bytes(std::uint64_t count) {
  std::vector<std::uint8_t> bytes;
  while (count > 0) {
    NextChunkIfExhausted();
    const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(count, Available()));
    const std::span<const std::uint8_t> chunk = chunks_[chunk_].subspan(offset_, step);
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    offset_ += step;
    count -= step;
  }
  return bytes;
}

std::u16string ContinuedReader::Characters(std::size_t count, bool high_byte) {
  std::u16string text;
  text.reserve(count);
  while (text.size() < count) {
    if (Available() == 0) {
      if (chunk_ + 1 >= chunks_.size()) throw BiffFormatError("string ends early");
      ++chunk_;
      offset_ = 0;
      high_byte = (U8() & kHighByte) != 0;
      continue;
    }
    const std::span<const std::uint8_t> chunk = chunks_[chunk_];
    if (high_byte) {
      if (Available() < 2) throw BiffFormatError("character split across records");
      text.push_back(static_cast<char16_t>(chunk[offset_] | (chunk[offset_ + 1] << 8)));
      offset_ += 2;
    } else {
      text.push_back(static_cast<char16_t>(chunk[offset_]));
      offset_ += 1;
    }
  }
  return text;
}

std::u16string ReadUnicodeString(ContinuedReader& reader, bool* plain) {
  const std::uint16_t length = reader.U16();
  const std::uint8_t flags = reader.U8();
  const std::uint16_t runs = (flags & kRich) != 0 ? reader.U16() : 0;
  const std::uint32_t ext_size = (flags & kExtended) != 0 ? reader.U32() : 0;
  std::u16string text = reader.Characters(length, (flags & kHighByte) != 0);
  reader.Skip(runs * string_flags::kRunSize);
  reader.Skip(ext_size);
  if (plain != nullptr) *plain = (flags & (kRich | kExtended)) == 0;
  return text;
}

std::u16string ReadUnicodeString(std::span<const std::uint8_t> body, std::size_t offset) {
  ContinuedReader reader({body}, offset);
  return ReadUnicodeString(reader);
}

std::u16string ReadShortUnicodeString(std::span<const std::uint8_t> body, std::size_t offset) {
  std::size_t at = offset + 1;
  return ReadFlaggedCharacters(body, at, GetU8(body, offset));
}

std::u16string ReadFlaggedCharacters(std::span<const std::uint8_t> body, std::size_t& at,
                                     std::size_t count) {
  // A single body: where the characters would go on into a next record, the reader throws.
  ContinuedReader reader({body}, at);
  const bool high_byte = (reader.U8() & kHighByte) != 0;
  std::u16string text = reader.Characters(count, high_byte);
  at = reader.OffsetInChunk();
  return text;
}

bool FitsCompressed(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

void AppendCharacters(std::vector<std::uint8_t>& out, std::u16string_view text, bool compressed) {
  for (const char16_t c : text) {
    if (compressed) {
      out.push_back(static_cast<std::uint8_t>(c));
    } else {
      AppendU16(out, static_cast<std::uint16_t>(c));
    }
  }
}

void AppendUnicodeString(std::vector<std::uint8_t>& out, std::u16string_view text) {
  const bool compressed = FitsCompressed(text);
  AppendU16(out, static_cast<std::uint16_t>(text.size()));
  AppendU8(out, compressed ? 0 : kHighByte);
  AppendCharacters(out, text, compressed);
}

}  // namespace xls::biff
