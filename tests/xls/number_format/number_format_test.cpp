#include "xls/number_format/number_format.h"

#include <gtest/gtest.h>

namespace {

using xls::biff::CellValue;
using xls::number_format::BuiltInFormatCode;
using xls::number_format::FormatValue;

std::u16string Shown(double value, std::u16string_view code, bool date1904 = false) {
  return FormatValue(CellValue::Number(value), code, date1904).text;
}

TEST(NumberFormat, FixedDecimalsRoundAsTheDecimalReads) {
  EXPECT_EQ(Shown(2.345, u"0.00"), u"2.35");  // stored a hair below 2.345
  EXPECT_EQ(Shown(0.84425, u"0.0000"), u"0.8443");
  EXPECT_EQ(Shown(1.005, u"0.00"), u"1.01");
  EXPECT_EQ(Shown(9.9999, u"0.00"), u"10.00");
  EXPECT_EQ(Shown(0.4, u"0.0000"), u"0.4000");
  EXPECT_EQ(Shown(0, u"0.00"), u"0.00");
  EXPECT_EQ(Shown(-2.5, u"0"), u"-3");
  EXPECT_EQ(Shown(-0.001, u"0.00"), u"0.00");  // no minus on a shown zero
  EXPECT_EQ(Shown(0.5, u"#.##"), u".5");
  EXPECT_EQ(Shown(3, u"0.0#"), u"3.0");
}

TEST(NumberFormat, ThousandsPercentScientificAndScaling) {
  EXPECT_EQ(Shown(1234567.891, u"#,##0.00"), u"1,234,567.89");
  EXPECT_EQ(Shown(999.5, u"#,##0"), u"1,000");
  EXPECT_EQ(Shown(123, u"#,##0"), u"123");
  EXPECT_EQ(Shown(0.13, u"0%"), u"13%");
  EXPECT_EQ(Shown(0.125, u"0.00%"), u"12.50%");
  EXPECT_EQ(Shown(12345, u"0.00E+00"), u"1.23E+04");
  EXPECT_EQ(Shown(0.00012, u"0.0E+00"), u"1.2E-04");
  EXPECT_EQ(Shown(1234567, u"#,##0,"), u"1,235");
  EXPECT_EQ(Shown(1850, u"\"¥\"#,##0.00"), u"¥1,850.00");
  EXPECT_EQ(Shown(2.5, u"0.00\" 元\""), u"2.50 元");
}

TEST(NumberFormat, SectionsConditionsAndColours) {
  const std::u16string code = u"#,##0.00;[Red]-#,##0.00;\"-\"";
  EXPECT_EQ(Shown(1234.5, code), u"1,234.50");
  EXPECT_EQ(Shown(-1234.5, code), u"-1,234.50");
  EXPECT_EQ(Shown(0, code), u"-");
  const auto red = FormatValue(CellValue::Number(-1), code, false).colour;
  ASSERT_TRUE(red.has_value());
  EXPECT_EQ(red->red, 255);
  EXPECT_EQ(red->green, 0);
  // The negative section shows the magnitude: its own text says where the minus goes.
  EXPECT_EQ(Shown(-5, u"0;(0)"), u"(5)");
  EXPECT_EQ(Shown(150, u"[>=100]\"大\";\"小\""), u"大");
  EXPECT_EQ(Shown(5, u"[>=100]\"大\";\"小\""), u"小");
}

TEST(NumberFormat, TextAndGeneral) {
  EXPECT_EQ(FormatValue(CellValue::String(u"王师傅"), u"@", false).text, u"王师傅");
  EXPECT_EQ(FormatValue(CellValue::String(u"木"), u"\"品名：\"@", false).text, u"品名：木");
  EXPECT_EQ(FormatValue(CellValue::String(u"x"), u"0.00", false).text, u"x");
  EXPECT_EQ(FormatValue(CellValue::String(u"x"), u"0;-0;0;\"[\"@\"]\"", false).text, u"[x]");
  EXPECT_FALSE(FormatValue(CellValue::String(u"12"), u"General", false).is_number);
  EXPECT_EQ(Shown(0.1 + 0.2, u"General"), u"0.3");
  EXPECT_EQ(Shown(1234, u"@"), u"1234");
  EXPECT_TRUE(FormatValue(CellValue::Number(1), u"General", false).is_number);
  EXPECT_EQ(FormatValue(CellValue{}, u"0.00", false).text, u"");
  EXPECT_EQ(FormatValue(CellValue::Boolean(true), u"0.00", false).text, u"TRUE");
  // Logical and error values are marked to stand centred under General, numbers not.
  EXPECT_TRUE(FormatValue(CellValue::Boolean(false), u"General", false).is_logical_or_error);
  EXPECT_TRUE(FormatValue(CellValue::Error(0x07), u"General", false).is_logical_or_error);
  EXPECT_FALSE(FormatValue(CellValue::Number(1), u"General", false).is_logical_or_error);
}

TEST(NumberFormat, DatesAndTimes) {
  // 45000 is 15 March 2023 (a Wednesday) in the 1900 date system.
  EXPECT_EQ(Shown(45000, u"yyyy-mm-dd"), u"2023-03-15");
  EXPECT_EQ(Shown(45000, BuiltInFormatCode(14)), u"2023/3/15");
  EXPECT_EQ(Shown(45000, BuiltInFormatCode(31)), u"2023年3月15日");
  EXPECT_EQ(Shown(45000, u"d-mmm-yy"), u"15-Mar-23");
  EXPECT_EQ(Shown(45000, u"dddd, mmmm d"), u"Wednesday, March 15");
  EXPECT_EQ(Shown(45000, u"aaaa"), u"星期三");
  EXPECT_EQ(Shown(45000.75, u"yyyy/m/d h:mm"), u"2023/3/15 18:00");
  EXPECT_EQ(Shown(0.75, u"h:mm AM/PM"), u"6:00 PM");
  EXPECT_EQ(Shown(0.5 + 30.0 / 86400, u"hh:mm:ss"), u"12:00:30");
  EXPECT_EQ(Shown(1.5, u"[h]:mm"), u"36:00");
  EXPECT_EQ(Shown(60, u"yyyy-mm-dd"), u"1900-02-29");  // the day the 1900 system invents
  EXPECT_EQ(Shown(61, u"yyyy-mm-dd"), u"1900-03-01");
  EXPECT_EQ(Shown(1, u"yyyy-mm-dd"), u"1900-01-01");
  EXPECT_EQ(Shown(0, u"yyyy-mm-dd", true), u"1904-01-01");
  EXPECT_EQ(Shown(-1, u"yyyy-mm-dd"), u"###");
}

TEST(NumberFormat, BuiltInCodes) {
  EXPECT_EQ(BuiltInFormatCode(0), u"General");
  EXPECT_EQ(BuiltInFormatCode(2), u"0.00");
  EXPECT_EQ(BuiltInFormatCode(4), u"#,##0.00");
  EXPECT_EQ(BuiltInFormatCode(10), u"0.00%");
  EXPECT_EQ(BuiltInFormatCode(49), u"@");
  EXPECT_EQ(BuiltInFormatCode(300), u"General");
}

}  // namespace
