#include "billbook/bill_query.h"

namespace billbook {

namespace {

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

Period WholeMonth(int year, int month) {
  return {DayNumber(year, month, 1), DayNumber(year, month, DaysInMonth(year, month))};
}

}  // namespace

int DayNumber(int year, int month, int day) {
  return year * 10000 + month * 100 + day;
}

Period Today(const LocalTime& now) {
  const int today = DayNumber(now.year, now.month, now.day);
  return {today, today};
}

Period ThisMonth(const LocalTime& now) {
  return WholeMonth(now.year, now.month);
}

Period LastMonth(const LocalTime& now) {
  return now.month == 1 ? WholeMonth(now.year - 1, 12) : WholeMonth(now.year, now.month - 1);
}

Period AllDays() {
  return {};
}

Period Between(int first_day, int last_day) {
  return first_day <= last_day ? Period{first_day, last_day} : Period{last_day, first_day};
}

}  // namespace billbook
