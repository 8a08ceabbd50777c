#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "xls/cfb/compound_file.h"
#include "xls/cfb/sector_space.h"

namespace xls::cfb {

// Parses a compound file held in memory, one structure at a time: header, FAT (through the
// DIFAT), directory and its tree, then the data of every stream the tree reaches.
class CompoundFileReader {
 public:
  explicit CompoundFileReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  CompoundFile Read();

 private:
  void CheckSignature() const;
  void ReadHeader();
  void ReadFat();
  std::vector<std::uint32_t> ListFatSectors();
  void ReadDirectory();
  void WalkDirectoryTree();
  void ReadStreams();
  std::vector<std::uint32_t> ReadMiniFat();

  std::span<const std::uint8_t> bytes_;
  CompoundFile file_;
  std::size_t sector_size_ = 0;
  std::vector<SectorSpace> space_;  // zero or one: built once the sector size is known
  std::vector<std::uint32_t> fat_;
};

// A directory name made printable for error messages.
std::string DescribeName(std::u16string_view name);

}  // namespace xls::cfb
