// What a value is and choices among values: ISEVEN, ISODD, ISNONTEXT, ISREF, TYPE,
// ERROR.TYPE, IFNA, IFS, SWITCH.
#include <cmath>

#include "xls/formula/coercion.h"
#include "xls/formula/function_table.h"
#include "xls/formula/operators.h"

namespace xls::formula {

namespace {

// A chosen argument as a value: a reference read where it belongs, empty as 0.
Value Chosen(const Value& argument, Context& c) {
  const Value value = Scalar(argument, c);
  return value.kind == Value::Kind::kEmpty ? Value::Number(0) : value;
}

template <bool kEven>
Value IsParity(std::span<const Value> a, Context& c) {
  const Value value = Scalar(a[0], c);
  if (value.kind == Value::Kind::kBoolean) return Value::Error(ErrorCode::kValue);
  const double whole = std::trunc(ToNumber(value, c.Date1904()));
  return Value::Boolean((std::fmod(std::fabs(whole), 2) == 0) == kEven);
}

Value IsNonText(std::span<const Value> a, Context& c) {
  return Value::Boolean(Scalar(a[0], c).kind != Value::Kind::kText);
}

Value IsRef(std::span<const Value> a, Context&) {
  return Value::Boolean(a[0].kind == Value::Kind::kReference);
}

Value Type(std::span<const Value> a, Context& c) {
  if (a[0].kind == Value::Kind::kArray) return Value::Number(64);
  if (a[0].kind == Value::Kind::kReference &&
      (a[0].areas.size() != 1 || !a[0].areas.front().SingleCell())) {
    return Value::Number(16);
  }
  switch (Scalar(a[0], c).kind) {
    case Value::Kind::kText:
      return Value::Number(2);
    case Value::Kind::kBoolean:
      return Value::Number(4);
    case Value::Kind::kError:
      return Value::Number(16);
    default:
      return Value::Number(1);
  }
}

Value ErrorType(std::span<const Value> a, Context& c) {
  const Value value = Scalar(a[0], c);
  if (!value.IsError()) return Value::Error(ErrorCode::kNotAvailable);
  switch (value.error) {
    case ErrorCode::kNull:
      return Value::Number(1);
    case ErrorCode::kDivisionByZero:
      return Value::Number(2);
    case ErrorCode::kValue:
      return Value::Number(3);
    case ErrorCode::kReference:
      return Value::Number(4);
    case ErrorCode::kName:
      return Value::Number(5);
    case ErrorCode::kNumber:
      return Value::Number(6);
    case ErrorCode::kNotAvailable:
      return Value::Number(7);
  }
  return Value::Error(ErrorCode::kNotAvailable);
}

Value IfNa(std::span<const Value> a, Context& c) {
  const Value value = Chosen(a[0], c);
  return value.IsError() && value.error == ErrorCode::kNotAvailable ? Chosen(a[1], c) : value;
}

// IFS(test, value, ...): the value of the first true test; #N/A when none is.
Value Ifs(std::span<const Value> a, Context& c) {
  if (a.size() % 2 != 0) return Value::Error(ErrorCode::kNotAvailable);
  for (std::size_t i = 0; i < a.size(); i += 2) {
    if (BooleanArgument(a[i], c)) return Chosen(a[i + 1], c);
  }
  return Value::Error(ErrorCode::kNotAvailable);
}

// SWITCH(expression, case, value, ..., [default]): the value of the first case equal to the
// expression, else the default, else #N/A.
Value Switch(std::span<const Value> a, Context& c) {
  const Value subject = Scalar(a[0], c);
  if (subject.IsError()) return subject;
  std::size_t i = 1;
  for (; i + 1 < a.size(); i += 2) {
    const Value candidate = Scalar(a[i], c);
    if (candidate.IsError()) return candidate;
    if (candidate.kind == subject.kind && CompareValues(subject, candidate) == 0) {
      return Chosen(a[i + 1], c);
    }
  }
  if (i < a.size()) return Chosen(a[i], c);
  return Value::Error(ErrorCode::kNotAvailable);
}

constexpr int kNamedMaxArguments = 254;
constexpr std::uint16_t kIsEvenId = 0xF240;
constexpr std::uint16_t kIsOddId = 0xF241;
constexpr std::uint16_t kIfNaId = 0xF242;
constexpr std::uint16_t kIfsId = 0xF243;
constexpr std::uint16_t kSwitchId = 0xF244;
// 0xF245 is XOR's, beside AND and OR in functions_logical.cpp.

constexpr FunctionInfo kInformation[] = {
    {kIsEvenId, u"ISEVEN", 1, 1, IsParity<true>},
    {kIsOddId, u"ISODD", 1, 1, IsParity<false>},
    {190, u"ISNONTEXT", 1, 1, IsNonText},
    {105, u"ISREF", 1, 1, IsRef},
    {86, u"TYPE", 1, 1, Type},
    {261, u"ERROR.TYPE", 1, 1, ErrorType},
    {kIfNaId, u"IFNA", 2, 2, IfNa},
    {kIfsId, u"IFS", 2, kNamedMaxArguments, Ifs},
    {kSwitchId, u"SWITCH", 3, kNamedMaxArguments, Switch},
};

}  // namespace

std::span<const FunctionInfo> InformationFunctions() {
  return kInformation;
}

}  // namespace xls::formula
