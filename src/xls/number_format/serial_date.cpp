#include "xls/number_format/serial_date.h"

#include <cmath>

#include "base/civil_date.h"

namespace xls::number_format {

namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(long long z, DateTime& dt) {
  const base::CivilDate date = base::CivilFromDays(z);
  dt.year = static_cast<int>(date.year);
  dt.month = static_cast<int>(date.month);
  dt.day = static_cast<int>(date.day);
}

void SetDate(long long days, bool date1904, DateTime& dt) {
  if (!date1904 && days == 60) {
    // The 1900 system counts a 29 February 1900 that never was; it is shown as such.
    dt.year = 1900;
    dt.month = 2;
    dt.day = 29;
    dt.weekday = 3;
    return;
  }
  // Days from 1970-01-01 of the file's day 0.
  const long long unix_days =
      date1904 ? days - 24107 : days - (days < 60 ? 25568 : 25569);  // 1904-01-01 is day 0
  CivilFromDays(unix_days, dt);
  dt.weekday = static_cast<int>(((unix_days % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
  if (!date1904 && days == 0) {
    dt.year = 1900;
    dt.month = 1;
    dt.day = 0;  // day 0 shows as 1900-01-00
  }
}

}  // namespace

std::optional<DateTime> SerialToDateTime(double serial, bool date1904, bool keep_fraction) {
  if (serial < 0 || serial >= 2958466) return std::nullopt;  // before 1900 or after 9999
  long long days = static_cast<long long>(std::floor(serial));
  double seconds = (serial - static_cast<double>(days)) * 86400.0;
  seconds = keep_fraction ? std::round(seconds * 1000.0) / 1000.0 : std::round(seconds);
  if (seconds >= 86400.0) {
    ++days;
    seconds -= 86400.0;
  }
  DateTime dt;
  SetDate(days, date1904, dt);
  const long long whole = static_cast<long long>(std::floor(seconds));
  dt.fraction = seconds - static_cast<double>(whole);
  dt.hour = static_cast<int>(whole / 3600);
  dt.minute = static_cast<int>(whole / 60 % 60);
  dt.second = static_cast<int>(whole % 60);
  return dt;
}

}  // namespace xls::number_format
