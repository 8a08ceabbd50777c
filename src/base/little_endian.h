#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace xls {

// The engine's one little-endian reader and writer: compound files and BIFF8 records store
// every number least significant byte first, whatever the machine.
//
// Load and Store do not check bounds: the compound-file layer checks every sector before it
// looks inside. Record bodies, whose sizes come straight from the file, go through the
// checked reads of biff/byte_io.h, which end in these.

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

inline double LoadF64(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::bit_cast<double>(LoadU64(bytes, at));
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

inline void AppendU8(std::vector<std::uint8_t>& out, std::uint8_t value) {
  out.push_back(value);
}

inline void AppendU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  AppendU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  AppendU16(out, static_cast<std::uint16_t>(value >> 16));
}

inline void AppendF64(std::vector<std::uint8_t>& out, double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  AppendU32(out, static_cast<std::uint32_t>(bits & 0xFFFFFFFF));
  AppendU32(out, static_cast<std::uint32_t>(bits >> 32));
}

}  // namespace xls
