#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "xls/biff/biff_format_error.h"

namespace xls::biff {

// Little-endian access to record bodies. Reads are bounds-checked, because every offset
// comes from the file and a short record must fail cleanly rather than read past its end.

inline void RequireBytes(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t count) {
  if (at > bytes.size() || bytes.size() - at < count) throw BiffFormatError("record too short");
}

inline std::uint8_t GetU8(std::span<const std::uint8_t> bytes, std::size_t at) {
  RequireBytes(bytes, at, 1);
  return bytes[at];
}

inline std::uint16_t GetU16(std::span<const std::uint8_t> bytes, std::size_t at) {
  RequireBytes(bytes, at, 2);
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline std::uint32_t GetU32(std::span<const std::uint8_t> bytes, std::size_t at) {
  RequireBytes(bytes, at, 4);
  return static_cast<std::uint32_t>(GetU16(bytes, at)) |
         (static_cast<std::uint32_t>(GetU16(bytes, at + 2)) << 16);
}

inline double GetF64(std::span<const std::uint8_t> bytes, std::size_t at) {
  RequireBytes(bytes, at, 8);
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(bytes[at + i]) << (8 * i);
  return std::bit_cast<double>(bits);
}

inline void PutU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
  RequireBytes(bytes, at, 2);
  bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  PutU16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
  PutU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
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
  for (std::size_t i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

}  // namespace xls::biff
