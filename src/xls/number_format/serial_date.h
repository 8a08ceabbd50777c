#pragma once

#include <optional>

namespace xls::number_format {

// A cell's serial number as a calendar date and a time of day.
struct DateTime {
  int year = 1900;
  int month = 1;
  int day = 1;
  int weekday = 0;  // 0 is Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
  double fraction = 0;  // of a second, for ss.0 codes
};

// The date and time of a serial number counted in days from the file's epoch (date1904: from
// 1904-01-01, else the 1900 system with its 29 February 1900 and its day 0, 1900-01-00).
// Seconds are rounded unless the code shows their fractions (keep_fraction: to milliseconds).
// Nothing for serials before the epoch or after 9999.
std::optional<DateTime> SerialToDateTime(double serial, bool date1904, bool keep_fraction);

}  // namespace xls::number_format
