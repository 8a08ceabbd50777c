#include "xls/biff/numeric_input.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/text_encoding.h"

namespace xls::biff {
namespace {

TEST(NumericInput, AcceptsOrdinaryNumberInput) {
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

TEST(NumericInput, EverythingElseStaysText) {
  for (const char16_t* text :
       {u"",    u"  ",   u"4m",        u"=1+1",  u"1+1", u"-",     u".",    u"e5",  u"1e",
        u"1e+", u"1,23", u"12,34,567", u",123",  u"1,",  u"1.2.3", u"0x10", u"inf", u"nan",
        u"5%",  u"$5",   u"１２",      u"1e400", u"--1", u"1 2",   u"\t4"}) {
    EXPECT_FALSE(ParseNumericInput(text).has_value()) << base::ToUtf8(text);
  }
}

}  // namespace
}  // namespace xls::biff
