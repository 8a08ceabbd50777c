#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/text_encoding.h"
#include "xls/biff/general_number_format.h"
#include "xls/biff/numeric_input.h"

namespace xls::biff {
namespace {

TEST(GeneralNumberFormatTest, PlainNotationForOrdinaryMagnitudes) {
  EXPECT_EQ(FormatGeneral(3), "3");
  EXPECT_EQ(FormatGeneral(0.4), "0.4");
  EXPECT_EQ(FormatGeneral(-0.5), "-0.5");
  EXPECT_EQ(FormatGeneral(320.00), "320");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");  // 15 significant digits hide the binary tail
  EXPECT_EQ(FormatGeneral(1234.5678), "1234.5678");
  EXPECT_EQ(FormatGeneral(100), "100");
  EXPECT_EQ(FormatGeneral(-0.0), "0");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(123456789012345), "123456789012345");
  EXPECT_EQ(FormatGeneral(999999999999999), "999999999999999");
}

TEST(GeneralNumberFormatTest, ScientificBeyondTheSwitchPoints) {
  EXPECT_EQ(FormatGeneral(1e15), "1E+15");
  EXPECT_EQ(FormatGeneral(1e20), "1E+20");
  EXPECT_EQ(FormatGeneral(-1.5e20), "-1.5E+20");
  EXPECT_EQ(FormatGeneral(1e100), "1E+100");
  EXPECT_EQ(FormatGeneral(0.00001), "1E-05");
  EXPECT_EQ(FormatGeneral(1.25e-7), "1.25E-07");
  EXPECT_EQ(FormatGeneral(9.99999999999999e14), "999999999999999");
  // Rounding to 15 digits may carry into the next power of ten.
  EXPECT_EQ(FormatGeneral(9.9999999999999999e14), "1E+15");
  EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::infinity()), "#NUM!");
}

TEST(NumericInputTest, AcceptsOrdinaryNumberInput) {
  EXPECT_EQ(ParseNumericInput(u"320.00"), 320.0);
  EXPECT_EQ(ParseNumericInput(u"4"), 4.0);
  EXPECT_EQ(ParseNumericInput(u"-0.5"), -0.5);
  EXPECT_EQ(ParseNumericInput(u"+7"), 7.0);
  EXPECT_EQ(ParseNumericInput(u"  12  "), 12.0);
  EXPECT_EQ(ParseNumericInput(u".5"), 0.5);
  EXPECT_EQ(ParseNumericInput(u"5."), 5.0);
  EXPECT_EQ(ParseNumericInput(u"1,234,567.5"), 1234567.5);
  EXPECT_EQ(ParseNumericInput(u"1e5"), 1e5);
  EXPECT_EQ(ParseNumericInput(u"2E-3"), 0.002);
  EXPECT_EQ(ParseNumericInput(u"007"), 7.0);
  const auto zero = ParseNumericInput(u"-0");
  ASSERT_TRUE(zero.has_value());
  EXPECT_FALSE(std::signbit(*zero));
}

TEST(NumericInputTest, EverythingElseStaysText) {
  for (const char16_t* text :
       {u"",    u"  ",   u"4m",        u"=1+1",  u"1+1", u"-",     u".",    u"e5",  u"1e",
        u"1e+", u"1,23", u"12,34,567", u",123",  u"1,",  u"1.2.3", u"0x10", u"inf", u"nan",
        u"5%",  u"$5",   u"１２",      u"1e400", u"--1", u"1 2",   u"\t4"}) {
    EXPECT_FALSE(ParseNumericInput(text).has_value()) << base::ToUtf8(text);
  }
}

}  // namespace
}  // namespace xls::biff
