// Format codes with literal text between their digit placeholders (0角0分, 00-00), fraction
// codes, and the smaller codes bills use (scientific, percent, @, conditions), as TEXT gives
// them. The expected texts are LibreOffice 7.4's (TEXT(value; code) in a .fods, converted to
// CSV headless); Chinese codes carry [$-804] there, which LibreOffice needs to read DBNum.
#include <gtest/gtest.h>

#include <string_view>

#include "base/text_encoding.h"
#include "xls/number_format/number_format.h"

namespace {

struct Case {
  std::u16string_view code;
  double value;
  std::u16string_view shown;
};

constexpr Case kCases[] = {
    // Each placeholder shows its digit; the first takes every digit left over.
    {u"[DBNum2][$-804]0角0分", 2, u"零角贰分"},
    {u"[DBNum2][$-804]0角0分", 117, u"壹拾壹角柒分"},
    {u"[DBNum2]0角0分", 117, u"壹拾壹角柒分"},
    {u"[DBNum1][$-804]0角0分", 117, u"一十一角七分"},
    {u"[DBNum2][$-804]0元00", 2, u"零元零贰"},
    {u"[DBNum2][$-804]0元00", 117, u"壹元壹拾柒"},
    {u"[DBNum2][$-804]0元00", 12345, u"壹佰贰拾叁元肆拾伍"},
    {u"[DBNum1][$-804]0元00", 100, u"一元〇"},
    {u"[DBNum2][$-804]0元0角0分", 123, u"壹元贰角叁分"},
    {u"[DBNum2][$-804]#角0分", 2, u"角贰分"},
    {u"0.0角0分", 1.23, u"1.2角3分"},
    {u"[DBNum2][$-804]0角", 0, u"零角"},
    {u"0角0分", 117, u"11角7分"},
    {u"0角0分", 2, u"0角2分"},
    {u"0元00", 5, u"0元05"},
    {u"00-00", 1234, u"12-34"},
    {u"0-0", 1234.56, u"123-5"},
    // Fractions: the closest one the denominator's places allow, or the code's own
    // denominator; a whole number keeps the fraction's room as spaces.
    {u"# ?/?", 13, u"13    "},
    {u"# ?/?", 13.5, u"13 1/2"},
    {u"# ?/?", 0.5, u" 1/2"},
    {u"# ?/?", -2.25, u"-2 1/4"},
    {u"# ?\?/??", 3.14159, u"3 14/99"},
    {u"# ?\?/??", 0, u"0      "},
    {u"?/8", 0.3, u"2/8"},
    {u"# ?/8", 13.3, u"13 2/8"},
    {u"?/?", 0.5, u"1/2"},
    {u"?/?", 13.5, u"27/2"},
    {u"0 ?/?", 0.2, u"0 1/5"},
    // A ? without a digit to show is a space.
    {u"0.0??", 1.5, u"1.5  "},
    {u"?\?\?0", 12, u"  12"},
    {u"0.?", 1.5, u"1.5"},
    // Scientific, percent, text and conditional sections.
    {u"0.00E+00", 12345, u"1.23E+04"},
    {u"0.00E+00", 0.000123, u"1.23E-04"},
    {u"0.0%", 0.1234, u"12.3%"},
    {u"@", 12.5, u"12.5"},
    {u"[>=1000]#,##0;0.0", 1234.5, u"1,235"},
    {u"[>=1000]#,##0;0.0", 12.34, u"12.3"},
};

TEST(DigitsAndFractions, ShowAsLibreOfficeDoes) {
  for (const Case& c : kCases) {
    const auto shown =
        xls::number_format::FormatValue(xls::biff::CellValue::Number(c.value), c.code, false);
    EXPECT_EQ(base::ToUtf8(shown.text), base::ToUtf8(c.shown))
        << base::ToUtf8(c.code) << " of " << c.value;
  }
}

}  // namespace
