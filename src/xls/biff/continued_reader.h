#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace xls::biff {

// Reads data that a record carries on into CONTINUE records, as one sequence. Only string
// characters are special: where they cross into the next record, that record begins with a
// fresh flags byte saying whether the characters go on compressed or as UTF-16.
class ContinuedReader {
 public:
  // The bodies of the record and of its CONTINUE records, in order.
  explicit ContinuedReader(std::vector<std::span<const std::uint8_t>> chunks,
                           std::size_t start = 0);

  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  void Skip(std::uint64_t count);
  // count bytes as they lie, across records without any flags byte (formatting runs,
  // phonetic data).
  std::vector<std::uint8_t> Bytes(std::uint64_t count);
  // count characters; high_byte says whether they start as two-byte characters.
  std::u16string Characters(std::size_t count, bool high_byte);

  bool AtEnd();
  std::size_t ChunkIndex() const { return chunk_; }
  std::size_t OffsetInChunk() const { return offset_; }

 private:
  std::size_t Available() const { return chunks_[chunk_].size() - offset_; }
  // Moves past exhausted chunks; throws when the data ends.
  void NextChunkIfExhausted();

  std::vector<std::span<const std::uint8_t>> chunks_;
  std::size_t chunk_ = 0;
  std::size_t offset_ = 0;
};

// Reads an XLUnicodeString (16-bit length, flags, characters, and the rich-text runs or
// phonetic data that RSTRING and the shared strings may carry). plain is set to whether it
// carries neither.
std::u16string ReadUnicodeString(ContinuedReader& reader, bool* plain = nullptr);

// Reads an XLUnicodeString from a single record body at offset; no CONTINUE.
std::u16string ReadUnicodeString(std::span<const std::uint8_t> body, std::size_t offset);

// Reads a ShortXLUnicodeString (8-bit length), as sheet names, fonts, a formula's text
// constants and the names of other books are stored.
std::u16string ReadShortUnicodeString(std::span<const std::uint8_t> body, std::size_t offset);

// Reads the flags byte and count characters of a string from a single record body at at, and
// moves at past them. It serves the strings whose length lies apart from their characters
// (a NAME's) or that are followed by more data in the same body (array constants); these
// never carry formatting runs or phonetic data. Throws BiffFormatError when the body ends
// first.
std::u16string ReadFlaggedCharacters(std::span<const std::uint8_t> body, std::size_t& at,
                                     std::size_t count);

// Whether every character fits one byte, so that the string may be stored compressed.
bool FitsCompressed(std::u16string_view text);

// Writes the characters, one byte each when FitsCompressed, else UTF-16LE.
void AppendCharacters(std::vector<std::uint8_t>& out, std::u16string_view text, bool compressed);

// Writes an XLUnicodeString without formatting runs (the text must fit 65535 characters).
void AppendUnicodeString(std::vector<std::uint8_t>& out, std::u16string_view text);

}  // namespace xls::biff
