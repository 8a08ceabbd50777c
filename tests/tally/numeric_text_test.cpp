#include "tally/numeric_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tally {
namespace {

TEST(ParseNumber, ReadsTheLeadingDecimalNumberAndIgnoresTheRest) {
  const std::vector<std::pair<std::u16string, double>> cases = {
      {u"", 0},        {u"abc", 0},      {u"-", 0},        {u"4m", 4},        {u"1,200", 1},
      {u"1.2.3", 1.2}, {u".5", 0.5},     {u"5.", 5},       {u"-0.25", -0.25}, {u"2e3", 2000},
      {u"2d3", 2000},  {u"2D-3", 0.002}, {u"0.4000", 0.4}, {u"+7", 7},        {u"+.5", 0.5},
      {u".", 0},       {u"1e", 1},       {u"1e+", 1},      {u"1ex5", 1},      {u"3E2x", 300},
      {u"-.e5", 0},    {u"x12", 0},      {u"1２", 1},      {u"0.1", 0.1},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ParseNumber(text), expected) << std::string(text.begin(), text.end());
  }
}

TEST(ParseNumber, IgnoresBlanksTabsAndLineFeedsAnywhere) {
  EXPECT_EQ(ParseNumber(u" 12 . 5 "), 12.5);
  EXPECT_EQ(ParseNumber(u"12 34"), 1234);
  EXPECT_EQ(ParseNumber(u"\t1\n2"), 12);
  EXPECT_EQ(ParseNumber(u"- 5"), -5);
  EXPECT_EQ(ParseNumber(u"1 e 3"), 1000);
  // A carriage return is not among the ignored blanks: it ends the number.
  EXPECT_EQ(ParseNumber(u"1\r2"), 1);
}

TEST(ParseNumber, ReadsHexadecimalAndOctalAsSignedIntegers) {
  EXPECT_EQ(ParseNumber(u"&HFFFF"), -1);
  EXPECT_EQ(ParseNumber(u"&H7FFF"), 32767);
  EXPECT_EQ(ParseNumber(u"&h8000"), -32768);
  EXPECT_EQ(ParseNumber(u"&H10000"), 65536);
  EXPECT_EQ(ParseNumber(u"&HFFFFFFFF"), -1);
  EXPECT_EQ(ParseNumber(u"&H0000FFFF"), -1);
  EXPECT_EQ(ParseNumber(u"&H1aZ"), 26);
  EXPECT_EQ(ParseNumber(u"&O17"), 15);
  EXPECT_EQ(ParseNumber(u"&o178"), 15);
  EXPECT_EQ(ParseNumber(u"&H"), 0);
  EXPECT_EQ(ParseNumber(u"&O9"), 0);
  EXPECT_EQ(ParseNumber(u"&X12"), 0);
  EXPECT_EQ(ParseNumber(u"& H10"), 16);
}

TEST(ParseNumber, ReportsValuesBeyondTheDoubleRangeAsOverflow) {
  EXPECT_THROW(ParseNumber(u"1e400"), Overflow);
  EXPECT_THROW(ParseNumber(u"-1e400"), Overflow);
  EXPECT_THROW(ParseNumber(u"1" + std::u16string(400, u'0')), Overflow);
  EXPECT_THROW(ParseNumber(u"0.001e312"), Overflow);
  EXPECT_THROW(ParseNumber(u"1e99999999999999999999"), Overflow);
  EXPECT_THROW(ParseNumber(u"&H100000000"), Overflow);
  EXPECT_THROW(ParseNumber(u"&O40000000000"), Overflow);
  EXPECT_EQ(ParseNumber(u"1e308"), 1e308);
  EXPECT_EQ(ParseNumber(u"0.0001e310"), 1e306);
  // Too small is not an error: the value is simply zero.
  EXPECT_EQ(ParseNumber(u"1e-400"), 0);
  EXPECT_EQ(ParseNumber(u"12345e-99999999999999"), 0);
  EXPECT_EQ(ParseNumber(u"0e999999"), 0);
}

std::u16string Four(double value) {
  return FormatFixed(value, FixedPattern::FourDecimals);
}
std::u16string Two(double value) {
  return FormatFixed(value, FixedPattern::TwoDecimals);
}

TEST(FormatFixed, WritesFixedDecimalsWithHalvesAwayFromZero) {
  EXPECT_EQ(Four(0), u"0.0000");
  EXPECT_EQ(Two(0), u"0.00");
  EXPECT_EQ(Four(0.4), u"0.4000");
  EXPECT_EQ(Four(12.5), u"12.5000");
  EXPECT_EQ(Four(123.45), u"123.4500");
  EXPECT_EQ(Four(0.00004), u"0.0000");
  EXPECT_EQ(Four(0.00005), u"0.0001");
  EXPECT_EQ(Four(0.000049999), u"0.0000");
  EXPECT_EQ(Four(9.99995), u"10.0000");
  EXPECT_EQ(Two(999.995), u"1000.00");
  EXPECT_EQ(Two(0.125), u"0.13");
  EXPECT_EQ(Two(-0.5), u"-0.50");
  EXPECT_EQ(Two(-0.001), u"-0.00");
  EXPECT_EQ(Four(-0.5), u"-0.5000");
  EXPECT_EQ(Four(-0.0), u"0.0000");
  EXPECT_EQ(Four(1e-300), u"0.0000");
}

TEST(FormatFixed, RoundsTheFifteenDigitFormNotTheBinaryValue) {
  EXPECT_EQ(Two(2.675), u"2.68");  // the double lies just below 2.675
  EXPECT_EQ(Two(1.005), u"1.01");
  EXPECT_EQ(Two(0.2345 * 10), u"2.35");
  EXPECT_EQ(Four(0.1 + 0.2), u"0.3000");
  EXPECT_EQ(Two(1.00499), u"1.00");
  EXPECT_EQ(Two(1.0049999999999), u"1.00");  // 14 digits: nothing to round up
}

TEST(FormatFixed, WritesDigitsPastTheFifteenthAsZeros) {
  EXPECT_EQ(Two(123456789012345678.0), u"123456789012346000.00");
  EXPECT_EQ(Four(1e20), u"100000000000000000000.0000");
  EXPECT_EQ(Two(1e300).size(), 301u + 3u);
  EXPECT_EQ(Four(9999999999999.99), u"9999999999999.9900");
  EXPECT_EQ(Four(99999999999999.99), u"100000000000000.0000");  // 16 digits round at the 15th
}

TEST(FormatFixed, GivesTheEmptyTextForNonFiniteValues) {
  EXPECT_EQ(Four(std::numeric_limits<double>::infinity()), u"");
  EXPECT_EQ(Two(std::numeric_limits<double>::quiet_NaN()), u"");
}

TEST(SortsBefore, ComparesCodeUnitsWithoutLocaleOrNumbers) {
  EXPECT_TRUE(SortsBefore(u"", u"0.0001"));
  EXPECT_FALSE(SortsBefore(u"", u""));
  EXPECT_FALSE(SortsBefore(u"0.0001", u"0.0001"));
  EXPECT_TRUE(SortsBefore(u"0.0000", u"0.00001"));
  EXPECT_TRUE(SortsBefore(u"0.000", u"0.0001"));  // a proper beginning
  EXPECT_FALSE(SortsBefore(u"0.0001", u"0.00001"));
  EXPECT_TRUE(SortsBefore(u"-5", u"0"));
  EXPECT_TRUE(SortsBefore(u" 5", u"0"));
  EXPECT_FALSE(SortsBefore(u"007", u"0.01"));
  EXPECT_FALSE(SortsBefore(u"A", u"0.01"));
  EXPECT_FALSE(SortsBefore(u"张", u"0.01"));
  EXPECT_TRUE(SortsBefore(u"9", u"张"));
}

}  // namespace
}  // namespace tally
