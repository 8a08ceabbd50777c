#include "xls/cfb/directory_entry.h"

#include "base/little_endian.h"
#include "xls/cfb/format_error.h"

namespace xls::cfb {

namespace {
constexpr std::size_t kMaxNameBytes = 64;  // 31 UTF-16 code units and the terminator
}

EntryType DirectoryEntry::Type() const {
  return static_cast<EntryType>(raw[entry::kType]);
}

std::u16string DirectoryEntry::Name() const {
  const std::uint16_t length = LoadU16(raw, entry::kNameLength);
  if (length > kMaxNameBytes || length % 2 != 0) {
    throw FormatError("directory entry has an invalid name length " + std::to_string(length));
  }
  std::u16string name;
  // The length counts the terminating zero; tolerate writers that leave it out.
  for (std::size_t at = 0; at + 1 < length; at += 2) {
    const char16_t c = static_cast<char16_t>(LoadU16(raw, at));
    if (c == 0) break;
    name.push_back(c);
  }
  return name;
}

std::uint32_t DirectoryEntry::LeftSibling() const {
  return LoadU32(raw, entry::kLeftSibling);
}
std::uint32_t DirectoryEntry::RightSibling() const {
  return LoadU32(raw, entry::kRightSibling);
}
std::uint32_t DirectoryEntry::Child() const {
  return LoadU32(raw, entry::kChild);
}
std::uint32_t DirectoryEntry::StartSector() const {
  return LoadU32(raw, entry::kStartSector);
}

std::uint64_t DirectoryEntry::StreamSize(std::uint16_t major_version) const {
  return major_version == 3 ? LoadU32(raw, entry::kStreamSize) : LoadU64(raw, entry::kStreamSize);
}

void DirectoryEntry::SetStartAndSize(std::uint32_t start_sector, std::uint64_t size) {
  StoreU32(raw, entry::kStartSector, start_sector);
  StoreU64(raw, entry::kStreamSize, size);
}

std::array<std::uint8_t, kDirectoryEntrySize> DirectoryEntry::UnusedBytes() {
  std::array<std::uint8_t, kDirectoryEntrySize> bytes{};
  StoreU32(bytes, entry::kLeftSibling, kNoStream);
  StoreU32(bytes, entry::kRightSibling, kNoStream);
  StoreU32(bytes, entry::kChild, kNoStream);
  return bytes;
}

}  // namespace xls::cfb
