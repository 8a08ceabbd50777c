#pragma once

#include <string>

#include "xls/number_format/format_section.h"

namespace xls::number_format {

// A serial number by a section of date and time parts: years, months (numbers, names),
// days (numbers, weekday names, the Chinese aaa/aaaa), hours on 24 or 12 hours (AM/PM, A/P,
// 上午/下午), minutes, seconds with their fractions, and elapsed [h] [m] [s]; "###" for a
// serial outside the calendar. In the Chinese numeral systems years go digit by digit
// (二〇二三) and the other parts are read out as dates are (十五日, 十三时).
std::u16string FormatDate(double serial, const Section& section, bool date1904);

}  // namespace xls::number_format
