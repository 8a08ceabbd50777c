#pragma once

namespace xls::formula {

// The serial date and time of a calendar date and a time of day (seconds since midnight),
// in the 1900 date system (with its 1900-02-29) or the 1904 one. Defined with the date
// functions.
double SerialOfDateTime(int year, int month, int day, double seconds, bool date1904);

}  // namespace xls::formula
