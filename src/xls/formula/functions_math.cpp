// Arithmetic functions: ABS, INT, TRUNC, MOD, ROUND, ROUNDUP, ROUNDDOWN, SIGN, SQRT, PI, POWER.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "xls/formula/coercion.h"
#include "xls/formula/function_table.h"
#include "xls/formula/operators.h"

namespace xls::formula {

namespace {

// A product of a number and a power of ten as the decimal it stands for: 2.675 * 100 gives
// 267.49999999999997 in binary, which spreadsheets round as 267.5 since they work to 15
// significant digits.
double Decimal(double value) {
  if (value == 0 || !std::isfinite(value)) return value;
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return std::strtod(text, nullptr);
}

enum class Direction { kNearest, kAwayFromZero, kTowardZero };

Value RoundTo(double value, double digits_argument, Direction direction) {
  const int digits = static_cast<int>(std::trunc(digits_argument));
  if (digits > 308 || digits < -308) return NumberResult(digits > 0 ? value : 0);
  const double scale = std::pow(10.0, std::abs(digits));
  const double scaled = Decimal(digits >= 0 ? value * scale : value / scale);
  double magnitude = std::fabs(scaled);
  switch (direction) {
    case Direction::kNearest:
      magnitude = std::floor(magnitude + 0.5);
      break;
    case Direction::kAwayFromZero:
      magnitude = std::ceil(magnitude);
      break;
    case Direction::kTowardZero:
      magnitude = std::floor(magnitude);
      break;
  }
  const double rounded = std::copysign(magnitude, scaled);
  return NumberResult(digits >= 0 ? rounded / scale : rounded * scale);
}

double Digits(std::span<const Value> arguments, std::size_t at, Context& context) {
  return arguments.size() > at ? NumberArgument(arguments[at], context) : 0;
}

Value Abs(std::span<const Value> a, Context& c) {
  return NumberResult(std::fabs(NumberArgument(a[0], c)));
}
Value Int(std::span<const Value> a, Context& c) {
  return NumberResult(std::floor(Decimal(NumberArgument(a[0], c))));
}
Value Trunc(std::span<const Value> a, Context& c) {
  return RoundTo(NumberArgument(a[0], c), Digits(a, 1, c), Direction::kTowardZero);
}
Value Mod(std::span<const Value> a, Context& c) {
  const double n = NumberArgument(a[0], c);
  const double d = NumberArgument(a[1], c);
  if (d == 0) return Value::Error(ErrorCode::kDivisionByZero);
  return NumberResult(Decimal(n - d * std::floor(n / d)));
}
Value Round(std::span<const Value> a, Context& c) {
  return RoundTo(NumberArgument(a[0], c), NumberArgument(a[1], c), Direction::kNearest);
}
Value RoundUp(std::span<const Value> a, Context& c) {
  return RoundTo(NumberArgument(a[0], c), NumberArgument(a[1], c), Direction::kAwayFromZero);
}
Value RoundDown(std::span<const Value> a, Context& c) {
  return RoundTo(NumberArgument(a[0], c), NumberArgument(a[1], c), Direction::kTowardZero);
}
Value Sign(std::span<const Value> a, Context& c) {
  const double n = NumberArgument(a[0], c);
  return Value::Number(n > 0 ? 1 : (n < 0 ? -1 : 0));
}
Value Sqrt(std::span<const Value> a, Context& c) {
  const double n = NumberArgument(a[0], c);
  if (n < 0) return Value::Error(ErrorCode::kNumber);
  return NumberResult(std::sqrt(n));
}
Value Pi(std::span<const Value>, Context&) {
  return Value::Number(3.14159265358979323846);
}
Value Power(std::span<const Value> a, Context& c) {
  const double base = NumberArgument(a[0], c);
  const double exponent = NumberArgument(a[1], c);
  if (base == 0 && exponent == 0) return Value::Error(ErrorCode::kNumber);
  if (base == 0 && exponent < 0) return Value::Error(ErrorCode::kDivisionByZero);
  return NumberResult(std::pow(base, exponent));
}

constexpr FunctionInfo kMath[] = {
    {24, u"ABS", 1, 1, Abs},
    {25, u"INT", 1, 1, Int},
    {197, u"TRUNC", 1, 2, Trunc},
    {39, u"MOD", 2, 2, Mod},
    {27, u"ROUND", 2, 2, Round},
    {212, u"ROUNDUP", 2, 2, RoundUp},
    {213, u"ROUNDDOWN", 2, 2, RoundDown},
    {26, u"SIGN", 1, 1, Sign},
    {20, u"SQRT", 1, 1, Sqrt},
    {19, u"PI", 0, 0, Pi},
    {337, u"POWER", 2, 2, Power},
};

}  // namespace

std::span<const FunctionInfo> MathFunctions() {
  return kMath;
}

}  // namespace xls::formula
