#pragma once

// Which bills the book's window asks for: a period of days, the beginning of a buyer's
// name ("张" finds 张记木业), the beginning of a number.

#include <string>

#include "billbook/bill.h"

namespace billbook {

// Days as YYYYMMDD, both ends included.
struct Period {
  int first_day = 0;
  int last_day = 99991231;
};

int DayNumber(int year, int month, int day);  // 2026, 12, 8 -> 20261208
Period Today(const LocalTime& now);
Period ThisMonth(const LocalTime& now);
Period LastMonth(const LocalTime& now);
Period AllDays();
Period Between(int first_day, int last_day);

struct BillQuery {
  Period period;
  std::string buyer_prefix;   // empty: every buyer
  std::string number_prefix;  // empty: every number
};

}  // namespace billbook
