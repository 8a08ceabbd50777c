#include "xls/biff/continued_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "xls/biff/biff_format_error.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {
namespace {

using Bytes = std::vector<std::uint8_t>;
using string_flags::kExtended;
using string_flags::kHighByte;
using string_flags::kRich;

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

// The three ways a string lies in one record body: a 16-bit count (with the runs and phonetic
// data the flags may announce), an 8-bit count, and a count stored elsewhere (here 2), read
// from the body's first byte. Each case gives the text, or nothing where reading must fail,
// and for a count stored apart where the reading stops: the body goes on after the string.
TEST(ContinuedReader, ReadsEachFormOfStringFromOneBody) {
  enum class Form { kUnicode, kShort, kFlagged };
  struct Case {
    const char* what;
    Form form;
    Bytes body;
    std::optional<std::u16string> text;
    std::size_t end = 0;
  };
  const std::uint8_t kRichExtended = kRich | kExtended;
  const Case cases[] = {
      {"one byte a character", Form::kShort, {0x02, 0x00, 0x41, 0xE9, 0x7F}, u"Aé"},
      {"two bytes a character", Form::kShort, {0x01, kHighByte, 0x01, 0x78}, u"码"},
      {"a surrogate pair",
       Form::kUnicode,
       {0x02, 0x00, kHighByte, 0x34, 0xD8, 0x1E, 0xDD},
       u"\U0001D11E"},
      {"empty, 16-bit count", Form::kUnicode, {0x00, 0x00, kHighByte}, u""},
      {"empty, 8-bit count", Form::kShort, {0x00, 0x00}, u""},
      {"empty without its flags", Form::kShort, {0x00}, std::nullopt},
      {"runs and phonetic data skipped",
       Form::kUnicode,
       {0x01, 0x00, kRichExtended, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x5A, 0, 0, 5, 0, 0x61,
        0x62},
       u"Z"},
      {"count stored apart", Form::kFlagged, {0x00, 0x41, 0x42, 0x43}, u"AB", 3},
      {"count stored apart, wide",
       Form::kFlagged,
       {kHighByte, 0x41, 0x00, 0x42, 0x00, 0x43},
       u"AB",
       5},
      {"cut short, one byte a character", Form::kShort, {0x03, 0x00, 0x41, 0x42}, std::nullopt},
      {"cut short, two bytes a character",
       Form::kFlagged,
       {kHighByte, 0x41, 0x00, 0x42},
       std::nullopt},
      {"cut short inside its count", Form::kUnicode, {0x01}, std::nullopt},
  };
  for (const Case& c : cases) {
    std::size_t at = 0;
    const auto read = [&] {
      switch (c.form) {
        case Form::kUnicode:
          return ReadUnicodeString(c.body, 0);
        case Form::kShort:
          return ReadShortUnicodeString(c.body, 0);
        case Form::kFlagged:
          break;
      }
      return ReadFlaggedCharacters(c.body, at, 2);
    };
    if (!c.text) {
      EXPECT_THROW(read(), BiffFormatError) << c.what;
      continue;
    }
    EXPECT_EQ(read(), *c.text) << c.what;
    if (c.form == Form::kFlagged) {
      EXPECT_EQ(at, c.end) << c.what;
    }
  }
}

}  // namespace
}  // namespace xls::biff
