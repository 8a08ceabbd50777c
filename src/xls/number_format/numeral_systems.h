#pragma once

#include <string>
#include <string_view>

namespace xls::number_format {

// The digits a section writes: Arabic, or what [DBNum1], [DBNum2] and [DBNum3] ask for in a
// Chinese (PRC) locale.
enum class Numerals {
  kArabic,
  kLower,      // [DBNum1]: 一万二千三百四十五, zero 〇
  kCapital,    // [DBNum2]: the financial 壹万贰仟叁佰肆拾伍, zero 零
  kFullWidth,  // [DBNum3]: full-width digits with the units, １万２千３百４十５
};

// How a number from 10 to 19 starts: numbers are read 一十五, dates and times 十五.
enum class Tens { kWithOne, kBare };

// ASCII text with each digit written in `numerals`; every other character stays as it is.
// With kArabic this only widens the text.
std::u16string Digits(std::string_view ascii, Numerals numerals);

// A whole number, given by its decimal digits (leading zeros allowed), read out with place
// units and the Chinese zero rules: one zero for a gap between digits, none at the end of a
// group of four, 一亿〇一 for 100000001. Arabic digits stay digits, without leading zeros.
std::u16string Counted(std::string_view digits, Numerals numerals, Tens tens = Tens::kWithOne);

// A number as the Chinese systems show it: the whole part read out, then, after a point
// (Excel's ".", not LibreOffice's 点), the decimals digit by digit: 壹拾贰.伍.
std::u16string CountedWithDecimals(std::string_view integer, std::string_view decimals, bool point,
                                   Numerals numerals);

}  // namespace xls::number_format
