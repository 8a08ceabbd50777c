#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/little_endian.h"
#include "xls/biff/biff_format_error.h"

namespace xls::biff {

// Checked little-endian access to record bodies: every offset comes from the file, so a
// record too short for what it claims fails cleanly rather than being read past its end.
// The bytes themselves are assembled by xls/little_endian.h.

inline void RequireBytes(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t count) {
  if (at > bytes.size() || bytes.size() - at < count) throw BiffFormatError("record too short");
}

inline std::uint8_t GetU8(std::span<const std::uint8_t> bytes, std::size_t at) {
  RequireBytes(bytes, at, 1);
  return bytes[at];
}

inline std::uint16_t GetU16(std::span<const std::uint8_t> bytes, std::size_t at) {
  RequireBytes(bytes, at, 2);
  return LoadU16(bytes, at);
}

inline std::uint32_t GetU32(std::span<const std::uint8_t> bytes, std::size_t at) {
  RequireBytes(bytes, at, 4);
  return LoadU32(bytes, at);
}

inline double GetF64(std::span<const std::uint8_t> bytes, std::size_t at) {
  RequireBytes(bytes, at, 8);
  return LoadF64(bytes, at);
}

inline void PutU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
  RequireBytes(bytes, at, 2);
  StoreU16(bytes, at, value);
}

inline void PutU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  RequireBytes(bytes, at, 4);
  StoreU32(bytes, at, value);
}

}  // namespace xls::biff
