// Dates: DATE, YEAR, MONTH, DAY, TODAY, NOW. Serial numbers count days from 1900-01-00 with
// spreadsheets' 1900-02-29, or from 1904-01-01 in workbooks of the 1904 date system.
#include <cmath>

#include "base/civil_date.h"

#include "xls/formula/coercion.h"
#include "xls/formula/function_table.h"
#include "xls/formula/operators.h"
#include "xls/number_format/serial_date.h"

namespace xls::formula {

namespace {

using base::DaysFromCivil;
using number_format::DateOfSerial;

constexpr double kLastSerial = 2958465;  // 9999-12-31

double SerialArgument(const Value& argument, Context& context) {
  const double serial = NumberArgument(argument, context);
  if (serial < 0 || serial > kLastSerial) throw ErrorResult{ErrorCode::kNumber};
  return serial;
}

Value Date(std::span<const Value> a, Context& c) {
  double year = std::trunc(NumberArgument(a[0], c));
  const double month = std::trunc(NumberArgument(a[1], c));
  const double day = std::trunc(NumberArgument(a[2], c));
  if (year < 0 || year >= 10000) return Value::Error(ErrorCode::kNumber);
  if (year < 1900) year += 1900;
  if (std::fabs(month) > 1e6 || std::fabs(day) > 1e8) return Value::Error(ErrorCode::kNumber);
  const auto months = static_cast<long long>(year) * 12 + static_cast<long long>(month) - 1;
  const long long y = months >= 0 ? months / 12 : (months - 11) / 12;
  const long long m = months - y * 12 + 1;
  const long long days = DaysFromCivil(y, m, 1) + static_cast<long long>(day) - 1;
  const double serial = number_format::SerialOfDays(days, c.Date1904());
  if (serial < 0 || serial > kLastSerial) return Value::Error(ErrorCode::kNumber);
  return Value::Number(serial);
}

Value Year(std::span<const Value> a, Context& c) {
  return Value::Number(
      static_cast<double>(DateOfSerial(SerialArgument(a[0], c), c.Date1904()).year));
}
Value Month(std::span<const Value> a, Context& c) {
  return Value::Number(
      static_cast<double>(DateOfSerial(SerialArgument(a[0], c), c.Date1904()).month));
}
Value Day(std::span<const Value> a, Context& c) {
  return Value::Number(
      static_cast<double>(DateOfSerial(SerialArgument(a[0], c), c.Date1904()).day));
}
Value Today(std::span<const Value>, Context& c) {
  return NumberResult(std::floor(c.Now()));
}
Value Now(std::span<const Value>, Context& c) {
  return NumberResult(c.Now());
}

constexpr FunctionInfo kDate[] = {
    {65, u"DATE", 3, 3, Date}, {69, u"YEAR", 1, 1, Year},          {68, u"MONTH", 1, 1, Month},
    {67, u"DAY", 1, 1, Day},   {221, u"TODAY", 0, 0, Today, true}, {74, u"NOW", 0, 0, Now, true},
};

}  // namespace

std::span<const FunctionInfo> DateFunctions() {
  return kDate;
}

}  // namespace xls::formula
