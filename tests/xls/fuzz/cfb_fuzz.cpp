// libFuzzer entry point: any bytes given to the compound file layer must either parse or
// raise FormatError, and whatever parses must write out and read back to the same streams.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "xls/cfb/compound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using xls::cfb::CompoundFile;
  try {
    const CompoundFile file = CompoundFile::Read(std::span(data, size));
    const CompoundFile again = CompoundFile::Read(file.Write());
    for (const auto& name : file.RootStreamNames()) {
      if (file.ReadStream(name) != again.ReadStream(name)) std::abort();
    }
  } catch (const xls::cfb::FormatError&) {
  }
  return 0;
}
