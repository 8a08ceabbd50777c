#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "xls/cfb/compound_file.h"

namespace xls::cfb {

// Lays a compound file out anew: FAT and DIFAT sectors first, then the directory, the mini
// FAT, the mini stream and the large streams, each in one contiguous run.
class CompoundFileWriter {
 public:
  explicit CompoundFileWriter(const CompoundFile& file);

  std::vector<std::uint8_t> Write();

 private:
  void PlaceStreams();
  void PlanSectors();
  std::uint32_t AllocateRun(std::size_t sector_count);
  void WriteHeader();
  void WriteFatAndDifat();
  void WriteRun(std::uint32_t first_sector, std::span<const std::uint8_t> data);

  const CompoundFile& file_;
  std::size_t sector_size_;
  std::vector<std::array<std::uint8_t, kDirectoryEntrySize>> directory_;
  std::vector<std::uint8_t> mini_stream_;
  std::vector<std::uint32_t> mini_fat_;
  std::vector<std::size_t> large_streams_;  // entry indices, in directory order

  std::size_t fat_sector_count_ = 0;
  std::size_t difat_sector_count_ = 0;
  std::vector<std::uint32_t> fat_;
  std::uint32_t next_free_sector_ = 0;
  std::vector<std::uint8_t> out_;
};

}  // namespace xls::cfb
