#include "xls/biff/substreams.h"

#include "xls/biff/biff_format_error.h"
#include "xls/biff/byte_io.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

// Embedded charts nest one level inside a sheet; anything far deeper is damage.
constexpr int kMaxNesting = 8;

}  // namespace

std::size_t Substream::Size() const {
  std::size_t size = 0;
  for (const Record& record : records) size += record.Size();
  return size;
}

SubstreamList SplitSubstreams(std::span<const std::uint8_t> stream) {
  SubstreamList list;
  std::size_t position = 0;
  int depth = 0;
  while (position < stream.size()) {
    const std::size_t remaining = stream.size() - position;
    if (depth == 0 &&
        (remaining < kRecordHeaderSize || GetU16(stream, position) != record_type::kBof)) {
      list.tail.assign(stream.begin() + static_cast<std::ptrdiff_t>(position), stream.end());
      break;
    }
    if (remaining < kRecordHeaderSize) throw BiffFormatError("stream ends inside a record header");
    const std::uint16_t type = GetU16(stream, position);
    const std::size_t length = GetU16(stream, position + 2);
    if (remaining - kRecordHeaderSize < length) throw BiffFormatError("truncated record");
    const auto body_start =
        stream.begin() + static_cast<std::ptrdiff_t>(position + kRecordHeaderSize);
    Record record{type, std::vector<std::uint8_t>(
                            body_start, body_start + static_cast<std::ptrdiff_t>(length))};
    if (type == record_type::kBof) {
      if (depth == 0) {
        Substream substream;
        substream.offset = position;
        substream.version = record.body.size() >= 2 ? GetU16(record.body, bof_record::kVersion) : 0;
        substream.type = record.body.size() >= 4 ? GetU16(record.body, bof_record::kType) : 0;
        list.substreams.push_back(std::move(substream));
      }
      if (++depth > kMaxNesting) throw BiffFormatError("substreams nested too deeply");
    }
    list.substreams.back().records.push_back(std::move(record));
    if (type == record_type::kEof) --depth;
    position += kRecordHeaderSize + length;
  }
  if (depth != 0) throw BiffFormatError("stream ends inside a substream");
  return list;
}

}  // namespace xls::biff
