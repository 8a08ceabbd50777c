#include "xls/layout/narrow_number.h"

#include <gtest/gtest.h>

#include <string>

namespace xls::layout {
namespace {

// Digits, E and + a unit wide, point, comma and minus half a unit, anything else two.
double Width(std::u16string_view text) {
  double width = 0;
  for (const char16_t c : text) {
    if ((c >= u'0' && c <= u'9') || c == u'E' || c == u'+' || c == u'#') {
      width += 1;
    } else if (c == u'.' || c == u',' || c == u'-') {
      width += 0.5;
    } else {
      width += 2;
    }
  }
  return width;
}

TEST(NarrowNumberTest, NumbersNeverLoseDigitsToANarrowCell) {
  const NumberGlyphWidths glyphs{1, 0.5, 0.5, 1};
  struct Case {
    const char* what;
    std::u16string shown;
    bool general;
    double room;
    std::u16string printed;
  };
  const Case cases[] = {
      {"a number that fits stays", u"-7,654,321.50", false, 11, u"-7,654,321.50"},
      {"a formatted number too wide prints ###", u"-7,654,321.50", false, 10.5, u"###"},
      {"fixed decimals are never dropped", u"12345678901234.60", false, 16, u"###"},
      {"General decimals are rounded away", u"3.14159265358979", true, 6, u"3.1416"},
      {"a narrow point makes room for a digit", u"3.14159265358979", true, 4.5, u"3.142"},
      {"General whole numbers go scientific", u"123456789", true, 8, u"1.23E+08"},
      {"the minus counts", u"-2.71828182845905", true, 6, u"-2.7183"},
      {"negative scientific", u"-98765432109", true, 8, u"-9.88E+10"},
      {"small values keep their leading zeros", u"0.000123456789", true, 8, u"0.000123"},
      {"rounding carries into the whole part", u"9.99999", true, 2, u"10"},
      {"a tiny negative rounds to 0, not -0", u"-0.0001", true, 3, u"0"},
      {"nothing fits: ###", u"123456789", true, 4, u"###"},
      {"numerals that are no digits print ###", u"一千〇一", true, 6, u"###"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitNumberText(c.shown, c.general, c.room, glyphs, Width), c.printed) << c.what;
  }
}

}  // namespace
}  // namespace xls::layout
