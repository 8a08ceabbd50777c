#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace xls::cfb {

// The sectors of a compound file being read (or of its mini stream): where each one lies,
// and which chain has already claimed it. Claiming a sector twice means two chains share it
// or one chain loops; either way the file is damaged. Because every sector is claimed at
// most once, walking all chains costs at most one pass over the file, and the data copied
// out of it can never exceed its size.
class SectorSpace {
 public:
  // `bytes` starts at sector 0 (after the header sector for regular sectors).
  SectorSpace(std::span<const std::uint8_t> bytes, std::size_t sector_size);

  std::size_t SectorSize() const { return sector_size_; }
  std::size_t SectorCount() const { return sector_count_; }

  // Marks a sector as used by `what`; throws FormatError if it does not exist or is taken.
  void Claim(std::uint32_t sector, std::string_view what);

  // A whole sector, for metadata; throws FormatError if the file ends inside it.
  std::span<const std::uint8_t> WholeSector(std::uint32_t sector, std::string_view what) const;

  // The first `length` bytes of a sector, for stream data; the last sector of a file may
  // be cut short as long as the stream's bytes are there.
  std::span<const std::uint8_t> SectorPrefix(std::uint32_t sector, std::size_t length,
                                             std::string_view what) const;

  // Follows `allocation` from `start` for exactly `count` sectors, claiming each.
  std::vector<std::uint32_t> FollowChain(std::span<const std::uint32_t> allocation,
                                         std::uint32_t start, std::size_t count,
                                         std::string_view what);

  // Follows `allocation` from `start` to its end-of-chain marker, claiming each sector.
  std::vector<std::uint32_t> FollowChainToEnd(std::span<const std::uint32_t> allocation,
                                              std::uint32_t start, std::string_view what);

  // Copies `size` bytes of the stream that starts at `start`.
  std::vector<std::uint8_t> ReadStream(std::span<const std::uint32_t> allocation,
                                       std::uint32_t start, std::uint64_t size,
                                       std::string_view what);

 private:
  std::uint32_t Next(std::span<const std::uint32_t> allocation, std::uint32_t sector,
                     std::string_view what) const;

  std::span<const std::uint8_t> bytes_;
  std::size_t sector_size_;
  std::size_t sector_count_;
  std::vector<bool> claimed_;
};

}  // namespace xls::cfb
