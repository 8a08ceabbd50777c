#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace xls::cfb {

// Sector numbers above kMaxRegularSector are markers, not places in the file.
inline constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
inline constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
inline constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
inline constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
// A directory link that leads nowhere.
inline constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

inline constexpr std::uint16_t kByteOrderMark = 0xFFFE;  // little-endian, the only order
inline constexpr std::array<std::uint8_t, 8> kSignature = {0xD0, 0xCF, 0x11, 0xE0,
                                                           0xA1, 0xB1, 0x1A, 0xE1};

inline constexpr std::size_t kHeaderSize = 512;
inline constexpr std::size_t kHeaderDifatEntries = 109;
inline constexpr std::size_t kDirectoryEntrySize = 128;
inline constexpr std::size_t kMiniSectorSize = 64;
// Streams shorter than this live in the mini stream; the format fixes the value.
inline constexpr std::size_t kMiniStreamCutoff = 4096;

// Byte offsets of the header fields.
namespace header {
inline constexpr std::size_t kClsid = 8;
inline constexpr std::size_t kMinorVersion = 24;
inline constexpr std::size_t kMajorVersion = 26;
inline constexpr std::size_t kByteOrder = 28;
inline constexpr std::size_t kSectorShift = 30;
inline constexpr std::size_t kMiniSectorShift = 32;
inline constexpr std::size_t kDirectorySectorCount = 40;
inline constexpr std::size_t kFatSectorCount = 44;
inline constexpr std::size_t kFirstDirectorySector = 48;
inline constexpr std::size_t kTransactionSignature = 52;
inline constexpr std::size_t kMiniStreamCutoffSize = 56;
inline constexpr std::size_t kFirstMiniFatSector = 60;
inline constexpr std::size_t kMiniFatSectorCount = 64;
inline constexpr std::size_t kFirstDifatSector = 68;
inline constexpr std::size_t kDifatSectorCount = 72;
inline constexpr std::size_t kDifat = 76;
}  // namespace header

// Byte offsets of the directory entry fields.
namespace entry {
inline constexpr std::size_t kNameLength = 64;
inline constexpr std::size_t kType = 66;
inline constexpr std::size_t kColor = 67;
inline constexpr std::size_t kLeftSibling = 68;
inline constexpr std::size_t kRightSibling = 72;
inline constexpr std::size_t kChild = 76;
inline constexpr std::size_t kStartSector = 116;
inline constexpr std::size_t kStreamSize = 120;
}  // namespace entry

}  // namespace xls::cfb
