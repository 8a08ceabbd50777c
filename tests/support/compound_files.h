#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

using Bytes = std::vector<std::uint8_t>;

std::filesystem::path CorpusDir();
Bytes LoadFile(const std::filesystem::path& path);
void SaveFile(const std::filesystem::path& path, const Bytes& bytes);

// Every .xls of one corpus folder ("excel", "other" or "edge"), sorted by name.
std::vector<std::filesystem::path> CorpusFiles(const std::string& folder);

std::uint16_t U16At(const Bytes& bytes, std::size_t at);
std::uint32_t U32At(const Bytes& bytes, std::size_t at);
void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value);

// An independent, minimal look at a compound file written by the code under test: the raw
// 128-byte directory entries, found by following the FAT from the header alone.
std::vector<std::array<std::uint8_t, 128>> RawDirectory(const Bytes& file);
std::u16string EntryName(const std::array<std::uint8_t, 128>& entry);

struct TestStream {
  std::u16string name;
  Bytes data;
};

// Builds a compound file by hand, the way another writer might: one FAT sector, one
// directory sector, mini streams for small streams. Enough for version 4 files, which no
// corpus file uses. Streams are chained as right siblings of each other.
Bytes BuildCompoundFile(std::uint16_t major_version, const std::vector<TestStream>& streams);

// A temporary folder removed when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace test_support
