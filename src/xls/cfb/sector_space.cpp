#include "xls/cfb/sector_space.h"

#include <algorithm>
#include <string>

#include "xls/cfb/cfb_constants.h"
#include "xls/cfb/format_error.h"

namespace xls::cfb {

namespace {

[[noreturn]] void Fail(std::string_view what, const std::string& problem) {
  throw FormatError(std::string(what) + ": " + problem);
}

}  // namespace

SectorSpace::SectorSpace(std::span<const std::uint8_t> bytes, std::size_t sector_size)
    : bytes_(bytes),
      sector_size_(sector_size),
      sector_count_((bytes.size() + sector_size - 1) / sector_size),
      claimed_(sector_count_, false) {}

void SectorSpace::Claim(std::uint32_t sector, std::string_view what) {
  if (sector >= sector_count_) {
    Fail(what, "sector " + std::to_string(sector) + " lies beyond the end of the file");
  }
  if (claimed_[sector]) {
    Fail(what, "sector " + std::to_string(sector) + " is used twice (a loop or a shared sector)");
  }
  claimed_[sector] = true;
}

std::span<const std::uint8_t> SectorSpace::WholeSector(std::uint32_t sector,
                                                       std::string_view what) const {
  return SectorPrefix(sector, sector_size_, what);
}

std::span<const std::uint8_t> SectorSpace::SectorPrefix(std::uint32_t sector, std::size_t length,
                                                        std::string_view what) const {
  const std::size_t offset = static_cast<std::size_t>(sector) * sector_size_;
  if (sector >= sector_count_ || length > sector_size_ || bytes_.size() - offset < length) {
    Fail(what, "the file is truncated inside sector " + std::to_string(sector));
  }
  return bytes_.subspan(offset, length);
}

std::uint32_t SectorSpace::Next(std::span<const std::uint32_t> allocation, std::uint32_t sector,
                                std::string_view what) const {
  if (sector >= allocation.size()) {
    Fail(what, "sector " + std::to_string(sector) + " has no allocation table entry");
  }
  return allocation[sector];
}

std::vector<std::uint32_t> SectorSpace::FollowChain(std::span<const std::uint32_t> allocation,
                                                    std::uint32_t start, std::size_t count,
                                                    std::string_view what) {
  if (count > sector_count_) Fail(what, "is longer than the file");
  std::vector<std::uint32_t> chain;
  chain.reserve(count);
  std::uint32_t sector = start;
  for (std::size_t i = 0; i < count; ++i) {
    if (sector > kMaxRegularSector) Fail(what, "the chain ends before the data does");
    Claim(sector, what);
    chain.push_back(sector);
    if (i + 1 < count) sector = Next(allocation, sector, what);
  }
  return chain;
}

std::vector<std::uint32_t> SectorSpace::FollowChainToEnd(std::span<const std::uint32_t> allocation,
                                                         std::uint32_t start,
                                                         std::string_view what) {
  std::vector<std::uint32_t> chain;
  std::uint32_t sector = start;
  // Claim() fails before the chain can outgrow the file, so this loop is bounded.
  while (sector != kEndOfChain) {
    if (sector > kMaxRegularSector) {
      Fail(what, "the chain is broken (marker " + std::to_string(sector) + ")");
    }
    Claim(sector, what);
    chain.push_back(sector);
    sector = Next(allocation, sector, what);
  }
  return chain;
}

std::vector<std::uint8_t> SectorSpace::ReadStream(std::span<const std::uint32_t> allocation,
                                                  std::uint32_t start, std::uint64_t size,
                                                  std::string_view what) {
  // Checked before any allocation: the size comes straight from the file.
  if (size > bytes_.size()) Fail(what, "is larger than the file");
  const auto length = static_cast<std::size_t>(size);
  const std::size_t count = (length + sector_size_ - 1) / sector_size_;
  const std::vector<std::uint32_t> chain = FollowChain(allocation, start, count, what);
  std::vector<std::uint8_t> data;
  data.reserve(length);
  for (const std::uint32_t sector : chain) {
    const std::size_t take = std::min(sector_size_, length - data.size());
    const auto part = SectorPrefix(sector, take, what);
    data.insert(data.end(), part.begin(), part.end());
  }
  return data;
}

}  // namespace xls::cfb
