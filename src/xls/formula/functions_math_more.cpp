// Rounding to multiples, logarithms, factorials, divisors, random numbers and trigonometry:
// CEILING, FLOOR, MROUND, EVEN, ODD, QUOTIENT, SUMSQ, LN, LOG, LOG10, EXP, FACT, GCD, LCM,
// RAND, RANDBETWEEN, SIN, COS, TAN, ASIN, ACOS, ATAN, ATAN2, SINH, COSH, TANH, ASINH,
// ACOSH, ATANH, DEGREES, RADIANS.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>

#include "xls/formula/coercion.h"
#include "xls/formula/function_table.h"
#include "xls/formula/number_lists.h"
#include "xls/formula/operators.h"

namespace xls::formula {

namespace {

// A quotient as the decimal it stands for at 15 significant digits: 0.3 / 0.1 is
// 2.9999999999999996 in binary, a whole 3 to a spreadsheet.
double Decimal15(double value) {
  if (value == 0 || !std::isfinite(value)) return value;
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return std::strtod(text, nullptr);
}

double Arg(std::span<const Value> a, std::size_t at, Context& c) {
  return NumberArgument(a[at], c);
}

// CEILING and FLOOR: a multiple of the significance, away from or toward zero's side as
// Excel rounds (a negative number with a positive significance rounds toward zero for
// CEILING, away from it for FLOOR); a positive number with a negative one is #NUM!.
template <bool kUp>
Value ToMultiple(std::span<const Value> a, Context& c) {
  const double x = Arg(a, 0, c);
  const double step = Arg(a, 1, c);
  if (x == 0) return Value::Number(0);
  if (step == 0) return kUp ? Value::Number(0) : Value::Error(ErrorCode::kDivisionByZero);
  if (x > 0 && step < 0) return Value::Error(ErrorCode::kNumber);
  const double q = Decimal15(x / step);
  return NumberResult((kUp ? std::ceil(q) : std::floor(q)) * step);
}

// The newer forms, which LibreOffice writes for its CEILING and FLOOR: the significance's
// sign does not count (1 where left out), and a negative number goes toward zero unless
// `mode` says away from it (.MATH), or always toward +/- infinity (.PRECISE, ISO.CEILING).
enum class Toward { kUp, kDown };
template <Toward kToward, bool kHasMode>
Value ToMultipleNewer(std::span<const Value> a, Context& c) {
  const double x = Arg(a, 0, c);
  const double step =
      a.size() > 1 && a[1].kind != Value::Kind::kEmpty ? std::fabs(Arg(a, 1, c)) : 1;
  const bool away =
      kHasMode && a.size() > 2 && a[2].kind != Value::Kind::kEmpty && Arg(a, 2, c) != 0;
  if (x == 0 || step == 0) return Value::Number(0);
  const double q = Decimal15(x / step);
  const bool up = (kToward == Toward::kUp) != (x < 0 && away);
  return NumberResult((up ? std::ceil(q) : std::floor(q)) * step);
}

Value MRound(std::span<const Value> a, Context& c) {
  const double x = Arg(a, 0, c);
  const double step = Arg(a, 1, c);
  if (step == 0) return Value::Number(0);
  if ((x > 0 && step < 0) || (x < 0 && step > 0)) return Value::Error(ErrorCode::kNumber);
  const double q = Decimal15(x / step);
  return NumberResult(std::copysign(std::floor(std::fabs(q) + 0.5), q) * step);
}

// EVEN and ODD: away from zero to the next even or odd whole number.
template <bool kEven>
Value ToParity(std::span<const Value> a, Context& c) {
  const double x = Arg(a, 0, c);
  double whole = std::ceil(Decimal15(std::fabs(x)));
  if (kEven ? std::fmod(whole, 2) != 0 : std::fmod(whole, 2) == 0) whole += 1;
  return NumberResult(std::copysign(whole, x));
}

Value Quotient(std::span<const Value> a, Context& c) {
  const double d = Arg(a, 1, c);
  if (d == 0) return Value::Error(ErrorCode::kDivisionByZero);
  return NumberResult(std::trunc(Decimal15(Arg(a, 0, c) / d)));
}

Value SumSq(std::span<const Value> a, Context& c) {
  double sum = 0;
  for (const double x : ListNumbers(a, c, ListValues::kNumbersOnly)) sum += x * x;
  return NumberResult(sum);
}

Value Ln(std::span<const Value> a, Context& c) {
  const double x = Arg(a, 0, c);
  if (x <= 0) return Value::Error(ErrorCode::kNumber);
  return NumberResult(std::log(x));
}
Value Log(std::span<const Value> a, Context& c) {
  const double x = Arg(a, 0, c);
  const double base = a.size() > 1 && a[1].kind != Value::Kind::kEmpty ? Arg(a, 1, c) : 10;
  if (x <= 0 || base <= 0) return Value::Error(ErrorCode::kNumber);
  if (base == 1) return Value::Error(ErrorCode::kDivisionByZero);
  return NumberResult(base == 10 ? std::log10(x) : std::log(x) / std::log(base));
}
Value Log10(std::span<const Value> a, Context& c) {
  const double x = Arg(a, 0, c);
  if (x <= 0) return Value::Error(ErrorCode::kNumber);
  return NumberResult(std::log10(x));
}
Value Exp(std::span<const Value> a, Context& c) {
  return NumberResult(std::exp(Arg(a, 0, c)));
}
Value Fact(std::span<const Value> a, Context& c) {
  const double n = std::trunc(Arg(a, 0, c));
  if (n < 0 || n > 170) return Value::Error(ErrorCode::kNumber);
  double product = 1;
  for (int i = 2; i <= static_cast<int>(n); ++i) product *= i;
  return Value::Number(product);
}

// GCD and LCM of whole numbers (fractions truncated); negatives are #NUM!.
template <bool kLeast>
Value Divisors(std::span<const Value> a, Context& c) {
  double result = kLeast ? 1 : 0;
  for (const double x : ListNumbers(a, c, ListValues::kNumbersOnly)) {
    const double n = std::trunc(x);
    if (n < 0 || n >= 9007199254740992.0) return Value::Error(ErrorCode::kNumber);
    const auto whole = static_cast<unsigned long long>(n);
    const auto so_far = static_cast<unsigned long long>(result);
    if (kLeast) {
      if (whole == 0) return Value::Number(0);
      result = static_cast<double>(std::lcm(so_far, whole));
    } else {
      result = static_cast<double>(std::gcd(so_far, whole));
    }
  }
  return NumberResult(result);
}

std::mt19937_64& Generator() {
  static std::mt19937_64 generator{std::random_device{}()};
  return generator;
}
Value Rand(std::span<const Value>, Context&) {
  return Value::Number(std::uniform_real_distribution<double>(0, 1)(Generator()));
}
Value RandBetween(std::span<const Value> a, Context& c) {
  const double bottom = std::ceil(Arg(a, 0, c));
  const double top = std::floor(Arg(a, 1, c));
  if (bottom > top) return Value::Error(ErrorCode::kNumber);
  const double span = top - bottom + 1;
  return Value::Number(
      bottom + std::floor(std::uniform_real_distribution<double>(0, 1)(Generator()) * span));
}

// A function of one number; outside its domain (NaN) it is #NUM!.
template <double (*kF)(double)>
Value Unary(std::span<const Value> a, Context& c) {
  return NumberResult(kF(Arg(a, 0, c)));
}
double Asin(double x) {
  return x < -1 || x > 1 ? NAN : std::asin(x);
}
double Acos(double x) {
  return x < -1 || x > 1 ? NAN : std::acos(x);
}
double Acosh(double x) {
  return x < 1 ? NAN : std::acosh(x);
}
double Atanh(double x) {
  return x <= -1 || x >= 1 ? NAN : std::atanh(x);
}
double Sin(double x) {
  return std::sin(x);
}
double Cos(double x) {
  return std::cos(x);
}
double Tan(double x) {
  return std::tan(x);
}
double Atan(double x) {
  return std::atan(x);
}
double Sinh(double x) {
  return std::sinh(x);
}
double Cosh(double x) {
  return std::cosh(x);
}
double Tanh(double x) {
  return std::tanh(x);
}
double Asinh(double x) {
  return std::asinh(x);
}
double Degrees(double x) {
  return x * 180 / 3.14159265358979323846;
}
double Radians(double x) {
  return x * 3.14159265358979323846 / 180;
}
// ATAN2(x, y): the angle of the point (x, y), in Excel's order of arguments.
Value Atan2(std::span<const Value> a, Context& c) {
  const double x = Arg(a, 0, c);
  const double y = Arg(a, 1, c);
  if (x == 0 && y == 0) return Value::Error(ErrorCode::kDivisionByZero);
  return NumberResult(std::atan2(y, x));
}

constexpr int kMaxArguments = 30;
// Analysis ToolPak functions are add-ins in the format, called by name.
constexpr std::uint16_t kMRoundId = 0xF220;
constexpr std::uint16_t kQuotientId = 0xF221;
constexpr std::uint16_t kGcdId = 0xF222;
constexpr std::uint16_t kLcmId = 0xF223;
constexpr std::uint16_t kRandBetweenId = 0xF224;
// Functions newer than the format (_xlfn.), also called by name.
constexpr std::uint16_t kCeilingMathId = 0xF225;
constexpr std::uint16_t kFloorMathId = 0xF226;
constexpr std::uint16_t kCeilingPreciseId = 0xF227;
constexpr std::uint16_t kFloorPreciseId = 0xF228;
constexpr std::uint16_t kIsoCeilingId = 0xF229;

constexpr FunctionInfo kMathMore[] = {
    {288, u"CEILING", 2, 2, ToMultiple<true>},
    {285, u"FLOOR", 2, 2, ToMultiple<false>},
    {kCeilingMathId, u"CEILING.MATH", 1, 3, ToMultipleNewer<Toward::kUp, true>},
    {kFloorMathId, u"FLOOR.MATH", 1, 3, ToMultipleNewer<Toward::kDown, true>},
    {kCeilingPreciseId, u"CEILING.PRECISE", 1, 2, ToMultipleNewer<Toward::kUp, false>},
    {kFloorPreciseId, u"FLOOR.PRECISE", 1, 2, ToMultipleNewer<Toward::kDown, false>},
    {kIsoCeilingId, u"ISO.CEILING", 1, 2, ToMultipleNewer<Toward::kUp, false>},
    {kMRoundId, u"MROUND", 2, 2, MRound},
    {279, u"EVEN", 1, 1, ToParity<true>},
    {298, u"ODD", 1, 1, ToParity<false>},
    {kQuotientId, u"QUOTIENT", 2, 2, Quotient},
    {321, u"SUMSQ", 0, kMaxArguments, SumSq},
    {22, u"LN", 1, 1, Ln},
    {109, u"LOG", 1, 2, Log},
    {23, u"LOG10", 1, 1, Log10},
    {21, u"EXP", 1, 1, Exp},
    {184, u"FACT", 1, 1, Fact},
    {kGcdId, u"GCD", 1, kMaxArguments, Divisors<false>},
    {kLcmId, u"LCM", 1, kMaxArguments, Divisors<true>},
    {63, u"RAND", 0, 0, Rand, true},
    {kRandBetweenId, u"RANDBETWEEN", 2, 2, RandBetween, true},
    {15, u"SIN", 1, 1, Unary<Sin>},
    {16, u"COS", 1, 1, Unary<Cos>},
    {17, u"TAN", 1, 1, Unary<Tan>},
    {98, u"ASIN", 1, 1, Unary<Asin>},
    {99, u"ACOS", 1, 1, Unary<Acos>},
    {18, u"ATAN", 1, 1, Unary<Atan>},
    {97, u"ATAN2", 2, 2, Atan2},
    {229, u"SINH", 1, 1, Unary<Sinh>},
    {230, u"COSH", 1, 1, Unary<Cosh>},
    {231, u"TANH", 1, 1, Unary<Tanh>},
    {232, u"ASINH", 1, 1, Unary<Asinh>},
    {233, u"ACOSH", 1, 1, Unary<Acosh>},
    {234, u"ATANH", 1, 1, Unary<Atanh>},
    {343, u"DEGREES", 1, 1, Unary<Degrees>},
    {342, u"RADIANS", 1, 1, Unary<Radians>},
};

}  // namespace

std::span<const FunctionInfo> MoreMathFunctions() {
  return kMathMore;
}

}  // namespace xls::formula
