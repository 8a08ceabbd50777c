#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace xls::cfb {

// Compound files are little-endian whatever the machine. Callers check the bounds first;
// these helpers only assemble and split the bytes.

inline std::uint16_t LoadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline std::uint32_t LoadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(LoadU16(bytes, at)) |
         (static_cast<std::uint32_t>(LoadU16(bytes, at + 2)) << 16);
}

inline std::uint64_t LoadU64(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint64_t>(LoadU32(bytes, at)) |
         (static_cast<std::uint64_t>(LoadU32(bytes, at + 4)) << 32);
}

inline void StoreU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void StoreU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  StoreU16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
  StoreU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

inline void StoreU64(std::span<std::uint8_t> bytes, std::size_t at, std::uint64_t value) {
  StoreU32(bytes, at, static_cast<std::uint32_t>(value & 0xFFFFFFFF));
  StoreU32(bytes, at + 4, static_cast<std::uint32_t>(value >> 32));
}

}  // namespace xls::cfb
