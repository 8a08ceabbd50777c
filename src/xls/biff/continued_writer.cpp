#include "xls/biff/continued_writer.h"

#include <algorithm>

#include "base/text_encoding.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/record.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

std::size_t ContinuedWriter::Room() const {
  return kMaxRecordBody - std::min(kMaxRecordBody, bodies_.back().size());
}

void ContinuedWriter::Append(std::span<const std::uint8_t> bytes, std::size_t unit) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t count = std::min(Room() / unit * unit, bytes.size() - done);
    if (count == 0) {
      StartRecord();
      continue;
    }
    Current().insert(Current().end(), bytes.begin() + static_cast<std::ptrdiff_t>(done),
                     bytes.begin() + static_cast<std::ptrdiff_t>(done + count));
    done += count;
  }
}

void ContinuedWriter::AppendCharacters(std::u16string_view text, bool compressed) {
  const std::size_t char_size = compressed ? 1 : 2;
  std::size_t written = 0;
  while (written < text.size()) {
    std::size_t count = std::min(Room() / char_size, text.size() - written);
    if (count > 0 && written + count < text.size() &&
        base::IsHighSurrogate(text[written + count - 1])) {
      --count;
    }
    if (count == 0) {
      StartRecord();
      Current().push_back(compressed ? 0 : string_flags::kHighByte);
      continue;
    }
    biff::AppendCharacters(Current(), text.substr(written, count), compressed);
    written += count;
  }
}

}  // namespace xls::biff
