#include "base/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace base {
namespace {

// Expected bytes are written out by hand from the UTF-8 and UTF-16 definitions.
TEST(TextEncoding, ChineseAndSupplementaryCharactersRoundTrip) {
  EXPECT_EQ(ToUtf8(u"锯材账单.xls"), "\xE9\x94\xAF\xE6\x9D\x90\xE8\xB4\xA6\xE5\x8D\x95.xls");
  EXPECT_EQ(ToUtf8(u"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(ToUtf8(u"\U00020BB7"), "\xF0\xA0\xAE\xB7");  // 𠮷, a surrogate pair in UTF-16
  EXPECT_EQ(FromUtf8("\xF0\xA0\xAE\xB7"), u"\U00020BB7");
  EXPECT_EQ(FromUtf8("\xE7\xA0\x81\xE5\x8D\x95"), u"码单");
  EXPECT_EQ(FromUtf8(ToUtf8(u"买方 A-1 \U0001F600")), u"买方 A-1 \U0001F600");
  EXPECT_EQ(ToUtf8(u""), "");
}

TEST(TextEncoding, BrokenInputBecomesReplacementCharacters) {
  EXPECT_EQ(ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");  // lone high surrogate
  EXPECT_EQ(ToUtf8(std::u16string{u'\xDC00', u'a'}),
            "\xEF\xBF\xBD"
            "a");
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xE9\x94"), u"\uFFFD\uFFFD");    // cut off inside a character
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD");          // overlong '/'
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD");      // an encoded surrogate
  EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80"), u"\uFFFD");  // beyond U+10FFFF
}

}  // namespace
}  // namespace base
