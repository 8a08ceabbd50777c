#include "xls/number_format/serial_date.h"

#include <cmath>

namespace xls::number_format {

namespace {

const long long kDay1900 = base::DaysFromCivil(1899, 12, 31);  // serial 0
const long long kDay1904 = base::DaysFromCivil(1904, 1, 1);    // serial 0 of the 1904 system
constexpr long long kFictitiousLeapDay = 60;                   // 1900-02-29

// Days from 1970-01-01 of a serial day other than the 1900 system's fictitious one, which
// falls between 28 February and 1 March.
long long DaysSince1970(long long serial_day, bool date1904) {
  if (date1904) return kDay1904 + serial_day;
  return kDay1900 + serial_day - (serial_day > kFictitiousLeapDay ? 1 : 0);
}

void SetDate(long long days, bool date1904, DateTime& dt) {
  const base::CivilDate date = DateOfSerial(static_cast<double>(days), date1904);
  dt.year = static_cast<int>(date.year);
  dt.month = static_cast<int>(date.month);
  dt.day = static_cast<int>(date.day);
  if (!date1904 && days == kFictitiousLeapDay) {
    dt.weekday = 3;  // a Wednesday, as spreadsheets give the day that never was
    return;
  }
  const long long since_1970 = DaysSince1970(days, date1904);
  dt.weekday = static_cast<int>(((since_1970 % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
}

}  // namespace

base::CivilDate DateOfSerial(double serial, bool date1904) {
  const auto whole = static_cast<long long>(std::floor(serial));
  if (!date1904 && whole == kFictitiousLeapDay) return {1900, 2, 29};
  if (!date1904 && whole == 0) return {1900, 1, 0};
  return base::CivilFromDays(DaysSince1970(whole, date1904));
}

double SerialOfDays(long long days_since_1970, bool date1904) {
  if (date1904) return static_cast<double>(days_since_1970 - kDay1904);
  const auto serial = static_cast<double>(days_since_1970 - kDay1900);
  return serial >= kFictitiousLeapDay ? serial + 1 : serial;
}

double SerialOfDateTime(int year, int month, int day, double seconds, bool date1904) {
  return SerialOfDays(base::DaysFromCivil(year, month, day), date1904) + seconds / 86400.0;
}

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
