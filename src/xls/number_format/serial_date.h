#pragma once

#include <optional>

#include "base/civil_date.h"

namespace xls::number_format {

// Serial numbers count days from the file's epoch: in the 1900 date system day 1 is
// 1900-01-01, day 0 the 1900-01-00 spreadsheets show, and day 60 the 29 February 1900 they
// count though it never was; in the 1904 system day 0 is 1904-01-01. Formulas and formats
// both count by these rules, so a date a formula computes prints as the same day.

// The calendar date of a serial number's day.
base::CivilDate DateOfSerial(double serial, bool date1904);
// The serial number of a day counted from 1970-01-01 (base::DaysFromCivil).
double SerialOfDays(long long days_since_1970, bool date1904);
// The serial date and time of a calendar date and a time of day (seconds since midnight).
double SerialOfDateTime(int year, int month, int day, double seconds, bool date1904);

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

// The date and time of a serial number. Seconds are rounded unless the code shows their
// fractions (keep_fraction: to milliseconds). Nothing for serials before the epoch or after
// 9999.
std::optional<DateTime> SerialToDateTime(double serial, bool date1904, bool keep_fraction);

}  // namespace xls::number_format
