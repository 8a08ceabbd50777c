#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "xls/cfb/cfb_constants.h"

namespace xls::cfb {

enum class EntryType : std::uint8_t {
  kUnused = 0,
  kStorage = 1,
  kStream = 2,
  kRoot = 5,
};

// One 128-byte directory entry. The raw bytes are kept so that everything we do not
// interpret (CLSID, state bits, timestamps, colour, even bytes after the name) is written
// back as found; only the start sector and size are recomputed on writing.
struct DirectoryEntry {
  std::array<std::uint8_t, kDirectoryEntrySize> raw{};
  // Reached from the root by the directory tree. Unreachable entries are dead space.
  bool reachable = false;
  // The storage this entry sits in (0 for the root level); meaningful when reachable.
  std::uint32_t parent = kNoStream;
  // The stream's contents; only for reachable streams and the root (unused there).
  std::vector<std::uint8_t> data;

  EntryType Type() const;
  std::u16string Name() const;  // throws FormatError if the name length field is invalid
  std::uint32_t LeftSibling() const;
  std::uint32_t RightSibling() const;
  std::uint32_t Child() const;
  std::uint32_t StartSector() const;
  // Version 3 files keep only 32 bits of size; the high half may hold garbage there.
  std::uint64_t StreamSize(std::uint16_t major_version) const;

  void SetStartAndSize(std::uint32_t start_sector, std::uint64_t size);
  // The bytes of an empty slot, as the format asks for free entries.
  static std::array<std::uint8_t, kDirectoryEntrySize> UnusedBytes();
};

}  // namespace xls::cfb
