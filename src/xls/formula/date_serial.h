#pragma once

#include "base/civil_date.h"

namespace xls::formula {

// The serial date and time of a calendar date and a time of day (seconds since midnight),
// in the 1900 date system (with its 1900-02-29) or the 1904 one. Defined with the date
// functions.
double SerialOfDateTime(int year, int month, int day, double seconds, bool date1904);
// The calendar date of a serial number's day (1900-01-00 for 0, 1900-02-29 for 60 in the
// 1900 system, as spreadsheets count).
base::CivilDate DateOfSerial(double serial, bool date1904);

}  // namespace xls::formula
