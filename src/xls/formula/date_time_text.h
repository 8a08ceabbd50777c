#pragma once

#include <optional>
#include <string_view>

namespace xls::formula {

// A date and/or a time of day written as text, as DATEVALUE and TIMEVALUE read it in a
// Chinese locale: 2024-3-5, 2024/3/5, 2024年3月5日, 24-3-5 (years 0 to 29 in this century,
// 30 to 99 in the last) and month/day/year with a four-digit year; a time 13:05, 13:05:30.5,
// 1:05 PM, 下午1:05, 13时5分30秒. A date and a time may come together, separated by spaces.
// Given the current year, a date without one is that year's, as Excel takes it: 12-8, 12/8,
// 12月8日 (month first), 8-Dec, Dec-8, and with a month's English name also 8-Dec-2026.
struct DateTimeText {
  std::optional<int> year;  // set with month and day
  int month = 0;
  int day = 0;
  std::optional<double> seconds;  // since midnight, may exceed a day (25:61 is 26:01)
};

// Nothing where the text is neither, or names no real day (2023-2-29).
std::optional<DateTimeText> ParseDateTimeText(std::u16string_view text,
                                              std::optional<int> current_year = std::nullopt);

}  // namespace xls::formula
