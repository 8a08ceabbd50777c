// What Chinese spreadsheets write into format codes: [DBNum1] [DBNum2] [DBNum3], the locale
// tags ([$-804] and kin) and G/通用格式, as TEXT(value, code) gives them.
//
// The expected texts are LibreOffice 7.4's, from text_formulas.fods next to this file:
//   soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' text_formulas.fods
// (with formulas recalculated on load). LibreOffice reads DBNum only with a Chinese locale and
// does not know G/通用格式, so the file spells each code as Excel means it: [DBNum2] is
// [DBNum2][$-804]General, G/通用格式 is General. Where Excel is known to write otherwise the
// row follows Excel, and its comment gives LibreOffice's text:
// - the decimal point stays "." (TEXT(12.5,"[DBNum2]") is 壹拾贰.伍), not 点 or ．;
// - a minus stays "-" in every code, not 负 or －;
// - hours are read out as dates are (十三时三十分, the example Excel's own format list gives);
// - [DBNum3] writes full-width digits with the units (１万２千３百４十５) for numbers; dates
//   keep LibreOffice's plain full-width digits, Excel's being unknown;
// - [$-zh-CN], [$-x-sysdate] and 上午/下午 are accepted, where LibreOffice says Err:502.
// LibreOffice reads 10 as 一十 and puts 〇 inside lower-case numbers (一千〇一); Excel is
// believed to do the same (the common SUBSTITUTE(…,"一十","十") fix exists for it), and
// the rows follow it. gnumeric knows none of the DBNum codes (#VALUE!).
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
    // Lower-case numerals: units, and one zero for each gap.
    {u"[DBNum1]", 0, u"〇"},
    {u"[DBNum1]", 10, u"一十"},
    {u"[DBNum1]", 15, u"一十五"},
    {u"[DBNum1]", 101, u"一百〇一"},
    {u"[DBNum1]", 1001, u"一千〇一"},
    {u"[DBNum1]", 1010, u"一千〇一十"},
    {u"[DBNum1]", 10001, u"一万〇一"},
    {u"[DBNum1]", 100000, u"一十万"},
    {u"[DBNum1]", 100010, u"一十万〇一十"},
    {u"[DBNum1]", 1001000, u"一百万一千"},
    {u"[DBNum1]", 100001000, u"一亿〇一千"},
    {u"[DBNum1]", 12345, u"一万二千三百四十五"},
    {u"[DBNum1]", 123456789, u"一亿二千三百四十五万六千七百八十九"},
    {u"[DBNum1]", 1234567890123, u"一兆二千三百四十五亿六千七百八十九万〇一百二十三"},
    {u"[DBNum1]", 2301.77, u"二千三百〇一.七七"},  // LibreOffice: 二千三百〇一．七七
    {u"[DBNum1]", 0.5, u"〇.五"},                  // LibreOffice: 〇．五
    {u"[DBNum1]", -100, u"-一百"},
    // Capital (financial) numerals.
    {u"[DBNum2]", 0, u"零"},
    {u"[DBNum2]", 7, u"柒"},
    {u"[DBNum2]", 10, u"壹拾"},
    {u"[DBNum2]", 11, u"壹拾壹"},
    {u"[DBNum2]", 20, u"贰拾"},
    {u"[DBNum2]", 110, u"壹佰壹拾"},
    {u"[DBNum2]", 1001, u"壹仟零壹"},
    {u"[DBNum2]", 100000, u"壹拾万"},
    {u"[DBNum2]", 12345, u"壹万贰仟叁佰肆拾伍"},
    {u"[DBNum2]", 100000001, u"壹亿零壹"},
    {u"[DBNum2]", 1010101010, u"壹拾亿壹仟零壹拾万壹仟零壹拾"},
    {u"[DBNum2]", 12.5, u"壹拾贰.伍"},             // LibreOffice: 壹拾贰点伍
    {u"[DBNum2]", 2301.77, u"贰仟叁佰零壹.柒柒"},  // LibreOffice: 贰仟叁佰零壹点柒柒
    {u"[DBNum2]", 0.05, u"零.零伍"},               // LibreOffice: 零点零伍
    {u"[DBNum2]", -100, u"-壹佰"},
    {u"[DBNum2]G/通用格式", 88888.88, u"捌万捌仟捌佰捌拾捌.捌捌"},  // LibreOffice: 点
    {u"[DBNum2][$-804]General", 12.5, u"壹拾贰.伍"},                // LibreOffice: 点
    {u"[DBNum2][$-804]G/通用格式", 2301, u"贰仟叁佰零壹"},
    // Numerals in digit codes: rounded as the code says, never grouped or padded.
    {u"[DBNum2]0", 0, u"零"},
    {u"[DBNum2]0", 12.5, u"壹拾叁"},
    {u"[DBNum2]0", -100, u"-壹佰"},                    // LibreOffice: 负壹佰
    {u"[DBNum2]0.00", 2301.77, u"贰仟叁佰零壹.柒柒"},  // LibreOffice: 点
    {u"[DBNum1]0.00", 12.5, u"一十二.五〇"},           // LibreOffice: ．
    {u"[DBNum1]#,##0", 1234567, u"一百二十三万四千五百六十七"},
    {u"[DBNum1]#.##", 0.5, u".五"},  // LibreOffice: ．五
    {u"[DBNum2]0\"元\"", 2301, u"贰仟叁佰零壹元"},
    {u"[DBNum2]\"合计\"0\"元整\"", 12.34, u"合计壹拾贰元整"},
    {u"[DBNum1]0%", 0.125, u"一十三%"},
    {u"[DBNum1]00000", 10, u"一十"},
    {u"[DBNum2]#", 0, u""},
    {u"[DBNum2]0,", 1234567, u"壹仟贰佰叁拾伍"},
    {u"[DBNum2]0.0E+00", 12345, u"1.2E+04"},
    // Each section has its own numerals.
    {u"[DBNum2]0;(0)", -12.34, u"(12)"},
    {u"[DBNum2]0.00;[Red]-0.00;\"零元\"", 0, u"零元"},
    {u"[DBNum2]0.00;[Red]-0.00;\"零元\"", -12.34, u"-12.34"},
    {u"[DBNum2]General;[DBNum2]\"负\"General", -3.5, u"负叁.伍"},  // LibreOffice: 点
    // Full-width digits; LibreOffice writes them without units: ０ １０ １０１ １２３４５ １２．５.
    {u"[DBNum3]", 0, u"０"},
    {u"[DBNum3]", 10, u"１十"},
    {u"[DBNum3]", 101, u"１百０１"},
    {u"[DBNum3]", 12345, u"１万２千３百４十５"},
    {u"[DBNum3]", 12.5, u"１十２.５"},
    {u"[DBNum3]0.00", 2301.77, u"２千３百０１.７７"},  // LibreOffice: ２３０１．７７
    // Locale tags show nothing; a currency symbol in one does.
    {u"[$-804]0.00", 2301.77, u"2301.77"},
    {u"[$-804]0.00", -12.5, u"-12.50"},
    {u"[$-804]General", 12.5, u"12.5"},
    {u"G/通用格式", 2301.77, u"2301.77"},
    {u"[$-zh-CN]0.00", 3.14159, u"3.14"},                // LibreOffice: Err:502
    {u"[$-x-sysdate]yyyy-mm-dd", 45000, u"2023-03-15"},  // LibreOffice: Err:502
    {u"[$-F800]dddd, mmmm dd, yyyy", 45000, u"Wednesday, March 15, 2023"},
    {u"[$¥-804]#,##0.00", 45000, u"¥45,000.00"},
    // LibreOffice saves some DBNum codes in .xls files as a numeral system in a locale tag,
    // and reads them back with the digits written one for one.
    {u"[$-1E000804]General", 2301.77, u"二三〇一.七七"},  // LibreOffice: 二三〇一．七七
    {u"[$-1F000804]0.00", 1001, u"壹零零壹.零零"},        // LibreOffice: 壹零零壹点零零
    {u"[$-20000804]General", 12345, u"１２３４５"},
    {u"[$-1E000804]yyyy\"年\"m\"月\"d\"日\"", 45000, u"二〇二三年三月十五日"},
    {u"[$-1000409]0.00", 2301.77, u"2301.77"},
    // Dates: years digit by digit, the other parts read out.
    {u"[DBNum1][$-804]yyyy\"年\"m\"月\"d\"日\"", 45000, u"二〇二三年三月十五日"},
    {u"[DBNum1][$-804]yyyy\"年\"m\"月\"d\"日\"", 45281, u"二〇二三年十二月二十一日"},
    {u"[DBNum1][$-804]yyyy\"年\"m\"月\"", 45300, u"二〇二四年一月"},
    {u"[DBNum1][$-804]m\"月\"d\"日\"", 44995, u"三月十日"},
    {u"[DBNum2]yyyy\"年\"m\"月\"d\"日\"", 45016, u"贰零贰叁年叁月叁拾壹日"},
    {u"[DBNum3]yyyy\"年\"m\"月\"d\"日\"", 45281, u"２０２３年１２月２１日"},
    {u"[DBNum1]yy\"年\"", 45000, u"二三年"},
    {u"[DBNum1]aaaa", 45000, u"星期三"},
    {u"[DBNum1]h\"时\"mm\"分\"", 45000, u"〇时〇分"},
    {u"[DBNum1]h\"时\"mm\"分\"", 45000.5625, u"十三时三十分"},         // LibreOffice: 一十三时
    {u"[DBNum1]h\"时\"mm\"分\"", 45000.75347222222, u"十八时五分"},    // LibreOffice: 一十八时
    {u"[DBNum1]上午/下午h\"时\"mm\"分\"", 45000.75, u"下午六时〇分"},  // LibreOffice: Err:502
    {u"[DBNum2]hh\"时\"mm\"分\"ss\"秒\"", 45000.423842592594, u"拾时拾分贰拾秒"},  // 壹拾时壹拾分
};

TEST(ChineseFormatCodes, ShowNumbersAsExcelAndLibreOfficeDo) {
  for (const Case& c : kCases) {
    const auto shown =
        xls::number_format::FormatValue(xls::biff::CellValue::Number(c.value), c.code, false);
    EXPECT_EQ(base::ToUtf8(shown.text), base::ToUtf8(c.shown))
        << base::ToUtf8(c.code) << " of " << c.value;
  }
}

}  // namespace
