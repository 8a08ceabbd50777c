#include "xls/biff/continued_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "xls/biff/biff_format_error.h"

namespace xls::biff {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ContinuedReader, WritesCompressedWhenEveryCharacterFitsOneByte) {
  Bytes latin;
  AppendUnicodeString(latin, u"Aé");
  EXPECT_EQ(latin, (Bytes{0x02, 0x00, 0x00, 0x41, 0xE9}));
  Bytes chinese;
  AppendUnicodeString(chinese, u"码A");
  EXPECT_EQ(chinese, (Bytes{0x02, 0x00, 0x01, 0x01, 0x78, 0x41, 0x00}));
  EXPECT_EQ(ReadUnicodeString(chinese, 0), u"码A");
  EXPECT_EQ(ReadUnicodeString(latin, 0), u"Aé");
}

TEST(ContinuedReader, ShortRecordsFailInsteadOfReadingPastTheEnd) {
  const Bytes truncated{0x05, 0x00, 0x00, 0x41, 0x42};  // says 5 characters, holds 2
  EXPECT_THROW(ReadUnicodeString(truncated, 0), BiffFormatError);
  const Bytes odd_utf16{0x02, 0x00, 0x01, 0x41, 0x00, 0x42};  // second character cut in half
  EXPECT_THROW(ReadUnicodeString(odd_utf16, 0), BiffFormatError);
}

}  // namespace
}  // namespace xls::biff
