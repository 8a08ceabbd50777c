#pragma once

#include <cstdint>
#include <vector>

// The two contents the crash test's victim saves in turn. Several MB, so that a save takes a
// while, different in size so that a torn write cannot pass for either.
inline std::vector<std::uint8_t> VictimContent(bool second) {
  std::vector<std::uint8_t> bytes(second ? 3'000'000 : 2'000'000);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>((second ? 'B' : 'A') + i % 7);
  }
  return bytes;
}
