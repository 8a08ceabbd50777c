#include "xls/number_format/serial_date.h"

#include <gtest/gtest.h>

namespace xls::number_format {
namespace {

struct SerialDay {
  double serial;
  bool date1904;
  long long year;
  long long month;
  long long day;
};

// The days where the two date systems' rules turn: their epochs, the 1900 system's
// fictitious leap day and the days either side of it, and the last day either counts.
constexpr SerialDay kTurningDays[] = {
    {0, false, 1900, 1, 0},        {1, false, 1900, 1, 1},  {59, false, 1900, 2, 28},
    {60, false, 1900, 2, 29},      {61, false, 1900, 3, 1}, {2958465, false, 9999, 12, 31},
    {0, true, 1904, 1, 1},         {1, true, 1904, 1, 2},   {60, true, 1904, 3, 1},
    {2957003, true, 9999, 12, 31},
};

TEST(SerialDate, FormulasAndFormatsAgreeOnEveryTurningDay) {
  for (const SerialDay& c : kTurningDays) {
    SCOPED_TRACE(testing::Message() << c.serial << (c.date1904 ? " (1904)" : " (1900)"));
    const base::CivilDate date = DateOfSerial(c.serial + 0.75, c.date1904);
    EXPECT_EQ(date.year, c.year);
    EXPECT_EQ(date.month, c.month);
    EXPECT_EQ(date.day, c.day);
    const std::optional<DateTime> shown = SerialToDateTime(c.serial + 0.75, c.date1904, false);
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->year, c.year);
    EXPECT_EQ(shown->month, c.month);
    EXPECT_EQ(shown->day, c.day);
    EXPECT_EQ(shown->hour, 18);
  }
}

TEST(SerialDate, CalendarDatesCountBackToTheirSerials) {
  for (const SerialDay& c : kTurningDays) {
    // 1900-01-00 and 1900-02-29 are only shown: no calendar date counts to them.
    if (!c.date1904 && (c.serial == 0 || c.serial == 60)) continue;
    SCOPED_TRACE(testing::Message() << c.serial << (c.date1904 ? " (1904)" : " (1900)"));
    EXPECT_EQ(SerialOfDateTime(static_cast<int>(c.year), static_cast<int>(c.month),
                               static_cast<int>(c.day), 43200, c.date1904),
              c.serial + 0.5);
  }
}

TEST(SerialDate, WeekdaysOfTheFormatsRunOnTheTrueCalendar) {
  struct Case {
    double serial;
    bool date1904;
    int weekday;  // 0 is Sunday
  };
  const Case cases[] = {
      {1, false, 1},      // 1900-01-01 was a Monday
      {59, false, 3},     // 1900-02-28, a Wednesday
      {60, false, 3},     // the day that never was
      {61, false, 4},     // 1900-03-01, a Thursday
      {45000, false, 3},  // 2023-03-15, a Wednesday
      {0, true, 5},       // 1904-01-01, a Friday
  };
  for (const Case& c : cases) {
    const std::optional<DateTime> shown = SerialToDateTime(c.serial, c.date1904, false);
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->weekday, c.weekday) << c.serial;
  }
}

}  // namespace
}  // namespace xls::number_format
