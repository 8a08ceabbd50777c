#pragma once

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back (Howard
// Hinnant's algorithms). Spreadsheet serial numbers and the formatter's dates both count on
// it, so a date computed by a formula prints as the same day.

namespace base {

struct CivilDate {
  long long year = 1970;
  long long month = 1;  // 1 to 12
  long long day = 1;    // 1 to 31
};

constexpr long long DaysFromCivil(long long y, long long m, long long d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr CivilDate CivilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const long long d = doy - (153 * mp + 2) / 5 + 1;
  const long long m = mp + (mp < 10 ? 3 : -9);
  return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

}  // namespace base
