// CHAR and CODE's code page: every double-byte code stands for one character that gives it
// back, so CODE(CHAR(n)) is n as in Chinese Excel; known codes of the bills' characters.
#include <gtest/gtest.h>

#include "xls/formula/code_page_936.h"

namespace {

using xls::formula::CharacterOfCode;
using xls::formula::CodeOfCharacter;

TEST(CodePage936, CodesAndCharactersGoBothWays) {
  int characters = 0;
  for (int code = 1; code <= 0xFFFF; ++code) {
    const std::u16string c = CharacterOfCode(code);
    if (c.empty()) continue;
    ++characters;
    ASSERT_EQ(c.size(), 1u) << code;
    EXPECT_EQ(CodeOfCharacter(c[0]), code) << code;
  }
  EXPECT_GT(characters, 21000);  // GBK's 21,886 characters, less a few unassigned codes
  EXPECT_EQ(CharacterOfCode(0xB0A1), u"啊");  // the first of GB2312's characters
  EXPECT_EQ(CharacterOfCode(0xA1CC), u"√");   // CHAR(41420), the tick bills print
  EXPECT_EQ(CodeOfCharacter(u'木'), 0xC4BE);
  EXPECT_EQ(CodeOfCharacter(u'A'), 65);
  EXPECT_EQ(CodeOfCharacter(u'\u0E01'), '?');  // Thai: not in the code page
  EXPECT_TRUE(CharacterOfCode(0x81FF).empty());
}

}  // namespace
