#include "xls/biff/record.h"

#include <stdexcept>

#include "xls/biff/byte_io.h"

namespace xls::biff {

void AppendRecord(std::vector<std::uint8_t>& out, std::uint16_t type,
                  std::span<const std::uint8_t> body) {
  if (body.size() > 0xFFFF) throw std::length_error("BIFF record body longer than 65535 bytes");
  AppendU16(out, type);
  AppendU16(out, static_cast<std::uint16_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
}

}  // namespace xls::biff
