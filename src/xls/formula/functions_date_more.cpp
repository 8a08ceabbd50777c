// Weekdays, times and date arithmetic: WEEKDAY, WEEKNUM, HOUR, MINUTE, SECOND, TIME,
// DATEDIF, EDATE, EOMONTH, NETWORKDAYS, WORKDAY, DAYS360, DAYS.
#include <cmath>
#include <set>

#include "base/civil_date.h"
#include "xls/formula/coercion.h"
#include "xls/formula/function_table.h"
#include "xls/formula/operators.h"
#include "xls/number_format/serial_date.h"

namespace xls::formula {

namespace {

using number_format::DateOfSerial;
using number_format::SerialOfDateTime;

constexpr double kLastSerial = 2958465;  // 9999-12-31

double Serial(const Value& argument, Context& c) {
  const double serial = NumberArgument(argument, c);
  if (serial < 0 || serial > kLastSerial + 1) throw ErrorResult{ErrorCode::kNumber};
  return serial;
}

double Day(const Value& argument, Context& c) {
  return std::floor(Serial(argument, c));
}

// Monday 0 to Sunday 6 of a serial day. Serial 1 of the 1900 system (1900-01-01, counted as
// if 1900 were a leap year) is a Sunday; 0 of the 1904 system a Friday.
int DayOfWeek(double day, bool date1904) {
  const auto n = static_cast<long long>(day);
  if (date1904) return static_cast<int>((n + 4) % 7);
  // Before the fictitious 1900-02-29 the weekdays run one day behind the true calendar.
  return static_cast<int>((n + 5) % 7);
}

double SerialOfCivil(long long year, long long month, long long day, bool date1904) {
  // Month arithmetic: normalise, then let the day roll on from the month's first.
  const long long months = year * 12 + month - 1;
  const long long y = months >= 0 ? months / 12 : (months - 11) / 12;
  const long long m = months - y * 12 + 1;
  const double first = SerialOfDateTime(static_cast<int>(y), static_cast<int>(m), 1, 0, date1904);
  return first + static_cast<double>(day - 1);
}

int DaysInMonth(long long year, long long month) {
  const long long next = base::DaysFromCivil(year + (month == 12), month == 12 ? 1 : month + 1, 1);
  return static_cast<int>(next - base::DaysFromCivil(year, month, 1));
}

Value Weekday(std::span<const Value> a, Context& c) {
  const int monday0 = DayOfWeek(Day(a[0], c), c.Date1904());
  const int type = a.size() > 1 ? static_cast<int>(NumberArgument(a[1], c)) : 1;
  switch (type) {
    case 1:
    case 17:
      return Value::Number((monday0 + 1) % 7 + 1);  // Sunday 1
    case 2:
    case 11:
      return Value::Number(monday0 + 1);  // Monday 1
    case 3:
      return Value::Number(monday0);  // Monday 0
    default:
      if (type >= 12 && type <= 16) {  // the week starting Tuesday (12) to Saturday (16)
        return Value::Number((monday0 - (type - 11) + 7) % 7 + 1);
      }
      return Value::Error(ErrorCode::kNumber);
  }
}

// The week of the year, the first holding January 1st, weeks starting on Sunday (1, 17),
// Monday (2, 11), or Tuesday to Saturday (12 to 16); 21 the ISO week.
Value WeekNum(std::span<const Value> a, Context& c) {
  const double day = Day(a[0], c);
  const int type = a.size() > 1 ? static_cast<int>(NumberArgument(a[1], c)) : 1;
  const base::CivilDate date = DateOfSerial(day, c.Date1904());
  const int monday0 = DayOfWeek(day, c.Date1904());
  if (type == 21) {
    // ISO: the week with the year's first Thursday is week 1.
    const double thursday = day - monday0 + 3;
    const base::CivilDate of_thursday = DateOfSerial(thursday, c.Date1904());
    const double year_start =
        SerialOfDateTime(static_cast<int>(of_thursday.year), 1, 1, 0, c.Date1904());
    return Value::Number(std::floor((thursday - year_start) / 7) + 1);
  }
  int start = 0;  // the week's first day, Monday 0
  if (type == 1 || type == 17) {
    start = 6;
  } else if (type == 2 || type == 11) {
    start = 0;
  } else if (type >= 12 && type <= 16) {
    start = type - 11;
  } else {
    return Value::Error(ErrorCode::kNumber);
  }
  const double jan1 = SerialOfDateTime(static_cast<int>(date.year), 1, 1, 0, c.Date1904());
  const int jan1_offset = (DayOfWeek(jan1, c.Date1904()) - start + 7) % 7;
  return Value::Number(std::floor((day - jan1 + jan1_offset) / 7) + 1);
}

// The time of day to the nearest second, as spreadsheets show it.
long long SecondsOfDay(const Value& argument, Context& c) {
  const double serial = Serial(argument, c);
  const auto seconds =
      static_cast<long long>(std::floor((serial - std::floor(serial)) * 86400 + 0.5));
  return seconds % 86400;
}
Value Hour(std::span<const Value> a, Context& c) {
  return Value::Number(static_cast<double>(SecondsOfDay(a[0], c) / 3600));
}
Value Minute(std::span<const Value> a, Context& c) {
  return Value::Number(static_cast<double>(SecondsOfDay(a[0], c) / 60 % 60));
}
Value Second(std::span<const Value> a, Context& c) {
  return Value::Number(static_cast<double>(SecondsOfDay(a[0], c) % 60));
}
Value Time(std::span<const Value> a, Context& c) {
  const double seconds = std::trunc(NumberArgument(a[0], c)) * 3600 +
                         std::trunc(NumberArgument(a[1], c)) * 60 +
                         std::trunc(NumberArgument(a[2], c));
  if (seconds < 0) return Value::Error(ErrorCode::kNumber);
  return NumberResult(std::fmod(seconds, 86400) / 86400);
}

Value DateDif(std::span<const Value> a, Context& c) {
  const double start = Day(a[0], c);
  const double end = Day(a[1], c);
  std::u16string unit = TextArgument(a[2], c);
  for (char16_t& ch : unit) {
    if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - u'a' + u'A');
  }
  if (start > end) return Value::Error(ErrorCode::kNumber);
  const base::CivilDate from = DateOfSerial(start, c.Date1904());
  const base::CivilDate to = DateOfSerial(end, c.Date1904());
  long long months = (to.year - from.year) * 12 + (to.month - from.month);
  if (to.day < from.day) --months;
  if (unit == u"D") return Value::Number(end - start);
  if (unit == u"M") return Value::Number(static_cast<double>(months));
  if (unit == u"Y") return Value::Number(static_cast<double>(months / 12));
  if (unit == u"YM") return Value::Number(static_cast<double>(months % 12));
  if (unit == u"MD") {
    if (to.day >= from.day) return Value::Number(static_cast<double>(to.day - from.day));
    // Days from the start's day of the month before the end's.
    const long long prev_month = to.month == 1 ? 12 : to.month - 1;
    const long long prev_year = to.month == 1 ? to.year - 1 : to.year;
    return Value::Number(
        static_cast<double>(DaysInMonth(prev_year, prev_month) - from.day + to.day));
  }
  if (unit == u"YD") {
    // The start moved into the year before the end, within a year of it.
    long long year = to.year;
    if (to.month < from.month || (to.month == from.month && to.day < from.day)) --year;
    // A 29 February start rolls on to 1 March in a common year.
    const double moved = SerialOfCivil(year, from.month, from.day, c.Date1904());
    return Value::Number(end - moved);
  }
  return Value::Error(ErrorCode::kNumber);
}

// The same day of the month `months` later, the month's last where it has fewer days;
// EOMONTH that month's last day.
template <bool kEndOfMonth>
Value MonthsLater(std::span<const Value> a, Context& c) {
  const base::CivilDate from = DateOfSerial(Day(a[0], c), c.Date1904());
  const auto months = static_cast<long long>(std::trunc(NumberArgument(a[1], c)));
  const long long total = from.year * 12 + (from.month - 1) + months;
  const long long year = total / 12;
  const long long month = total % 12 + 1;
  if (year < 1900 || year > 9999) return Value::Error(ErrorCode::kNumber);
  const long long last = DaysInMonth(year, month);
  const long long day = kEndOfMonth ? last : std::min<long long>(from.day, last);
  const double serial = SerialOfCivil(year, month, day, c.Date1904());
  if (serial < 0) return Value::Error(ErrorCode::kNumber);
  return Value::Number(serial);
}

std::set<double> Holidays(std::span<const Value> a, std::size_t at, Context& c) {
  std::set<double> days;
  if (a.size() <= at) return days;
  ForEachListValue(a[at], c, [&](const Value& value, bool) {
    if (value.IsError()) throw ErrorResult{value.error};
    if (value.kind == Value::Kind::kEmpty) return;
    days.insert(std::floor(ToNumber(value, c.Date1904())));
  });
  return days;
}

bool Workday(double day, const std::set<double>& holidays, bool date1904) {
  return DayOfWeek(day, date1904) < 5 && !holidays.contains(day);
}

Value NetworkDays(std::span<const Value> a, Context& c) {
  double start = Day(a[0], c);
  double end = Day(a[1], c);
  const std::set<double> holidays = Holidays(a, 2, c);
  const double sign = start > end ? -1 : 1;
  if (start > end) std::swap(start, end);
  double count = 0;
  for (double day = start; day <= end; ++day) {
    if (Workday(day, holidays, c.Date1904())) ++count;
  }
  return Value::Number(sign * count);
}

Value WorkDay(std::span<const Value> a, Context& c) {
  double day = Day(a[0], c);
  const auto days = static_cast<long long>(std::trunc(NumberArgument(a[1], c)));
  const std::set<double> holidays = Holidays(a, 2, c);
  const int step = days < 0 ? -1 : 1;
  for (long long left = days < 0 ? -days : days; left > 0;) {
    day += step;
    if (day < 0 || day > kLastSerial) return Value::Error(ErrorCode::kNumber);
    if (Workday(day, holidays, c.Date1904())) --left;
  }
  return Value::Number(day);
}

// Days between two dates counting months of 30 days: the US (NASD) method, or the
// European one where the third argument is TRUE.
Value Days360(std::span<const Value> a, Context& c) {
  const base::CivilDate from = DateOfSerial(Day(a[0], c), c.Date1904());
  const base::CivilDate to = DateOfSerial(Day(a[1], c), c.Date1904());
  const bool european = a.size() > 2 && BooleanArgument(a[2], c);
  long long d1 = from.day;
  long long d2 = to.day;
  if (european) {
    if (d1 == 31) d1 = 30;
    if (d2 == 31) d2 = 30;
  } else {
    const bool from_last_of_february = from.month == 2 && d1 == DaysInMonth(from.year, 2);
    if (d1 == 31 || from_last_of_february) d1 = 30;
    if (d2 == 31 && d1 >= 30) d2 = 30;
  }
  return Value::Number(
      static_cast<double>((to.year - from.year) * 360 + (to.month - from.month) * 30 + (d2 - d1)));
}

Value Days(std::span<const Value> a, Context& c) {
  return Value::Number(Day(a[0], c) - Day(a[1], c));
}

constexpr std::uint16_t kWeekNumId = 0xF230;
constexpr std::uint16_t kEDateId = 0xF231;
constexpr std::uint16_t kEOMonthId = 0xF232;
constexpr std::uint16_t kNetworkDaysId = 0xF233;
constexpr std::uint16_t kWorkDayId = 0xF234;
constexpr std::uint16_t kDaysId = 0xF235;

constexpr FunctionInfo kDateMore[] = {
    {70, u"WEEKDAY", 1, 2, Weekday},
    {kWeekNumId, u"WEEKNUM", 1, 2, WeekNum},
    {71, u"HOUR", 1, 1, Hour},
    {72, u"MINUTE", 1, 1, Minute},
    {73, u"SECOND", 1, 1, Second},
    {66, u"TIME", 3, 3, Time},
    {351, u"DATEDIF", 3, 3, DateDif},
    {kEDateId, u"EDATE", 2, 2, MonthsLater<false>},
    {kEOMonthId, u"EOMONTH", 2, 2, MonthsLater<true>},
    {kNetworkDaysId, u"NETWORKDAYS", 2, 3, NetworkDays},
    {kWorkDayId, u"WORKDAY", 2, 3, WorkDay},
    {220, u"DAYS360", 2, 3, Days360},
    {kDaysId, u"DAYS", 2, 2, Days},
};

}  // namespace

std::span<const FunctionInfo> MoreDateFunctions() {
  return kDateMore;
}

}  // namespace xls::formula
