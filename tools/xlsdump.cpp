// xlsdump: lists the BIFF records of an .xls workbook's Workbook stream, one per line, for
// looking at what another program wrote or what a save changed (diff two dumps).
//
//   xlsdump FILE [BYTES]
//
// Each line: stream offset, record type (hex) and name where known, body length, and the
// first BYTES bytes of the body in hex (default 16). Substreams are indented below their BOF.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "utf8_command_line.h"
#include "xls/biff/record.h"
#include "xls/cfb/compound_file.h"
#include "xls/file/whole_file.h"

namespace {

std::uint16_t U16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void Dump(std::span<const std::uint8_t> stream, std::size_t shown_bytes) {
  int depth = 0;
  std::size_t at = 0;
  while (at + xls::biff::kRecordHeaderSize <= stream.size()) {
    const std::uint16_t type = U16(stream, at);
    const std::uint16_t length = U16(stream, at + 2);
    const std::string name(xls::biff::RecordName(type));
    if (type == xls::biff::record_type::kEof) depth = std::max(depth - 1, 0);
    std::printf("%08zx %*s%04x %-16s %5u ", at, 2 * depth, "", static_cast<unsigned>(type),
                name.empty() ? "?" : name.c_str(), static_cast<unsigned>(length));
    const std::size_t body = at + xls::biff::kRecordHeaderSize;
    const std::size_t available = std::min<std::size_t>(length, stream.size() - body);
    for (std::size_t i = 0; i < std::min(available, shown_bytes); ++i) {
      std::printf("%02x", static_cast<unsigned>(stream[body + i]));
    }
    std::printf(available < length ? " [cut short by the end of the stream]\n" : "\n");
    if (type == xls::biff::record_type::kBof) ++depth;
    at = body + available;
  }
  if (at < stream.size()) std::printf("%08zx %zu trailing bytes\n", at, stream.size() - at);
}

}  // namespace

int main(int argc, char** argv) {
  tools::PrintUtf8();
  const std::vector<std::string> args = tools::Utf8Arguments(argc, argv);
  if (args.empty() || args.size() > 2) {
    std::fprintf(stderr, "usage: xlsdump FILE [BYTES]\n");
    return 2;
  }
  const char* name = args[0].c_str();
  try {
    const std::vector<std::uint8_t> file =
        xls::file::ReadWholeFile(std::filesystem::path(base::FromUtf8(args[0])));
    const auto compound = xls::cfb::CompoundFile::Read(file);
    auto stream = compound.ReadStream(u"Workbook");
    if (!stream) stream = compound.ReadStream(u"Book");
    if (!stream) {
      std::fprintf(stderr, "xlsdump: %s has no Workbook stream\n", name);
      return 1;
    }
    Dump(*stream, args.size() == 2 ? std::strtoul(args[1].c_str(), nullptr, 10) : 16);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "xlsdump: %s: %s\n", name, error.what());
    return 1;
  }
  return 0;
}
