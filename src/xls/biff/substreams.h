#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "xls/biff/record.h"

namespace xls::biff {

// BOF document types of the substreams the engine tells apart.
namespace substream_type {
inline constexpr std::uint16_t kGlobals = 0x0005;
inline constexpr std::uint16_t kWorksheet = 0x0010;
}  // namespace substream_type

// One top-level BOF..EOF run of records. Substreams nested inside it (charts embedded in a
// sheet) stay among its records, so that it is written back exactly as it was.
struct Substream {
  std::size_t offset = 0;  // where its BOF starts in the original stream
  std::uint16_t type = 0;  // the BOF's document type
  std::uint16_t version = 0;
  std::vector<Record> records;

  std::size_t Size() const;
};

// A Workbook stream cut into its substreams. Bytes after the last substream (padding some
// writers leave) are kept as they are.
struct SubstreamList {
  std::vector<Substream> substreams;
  std::vector<std::uint8_t> tail;
};

// Throws BiffFormatError when a record runs past the end of the stream or a substream never
// ends; the nesting depth is bounded so that no input can recurse without limit.
SubstreamList SplitSubstreams(std::span<const std::uint8_t> stream);

}  // namespace xls::biff
