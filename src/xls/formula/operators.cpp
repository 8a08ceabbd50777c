#include "xls/formula/operators.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "xls/biff/formula_tokens.h"
#include "xls/formula/coercion.h"

namespace xls::formula {

namespace ptg = biff::ptg;

namespace {

int Rank(Value::Kind kind) {
  switch (kind) {
    case Value::Kind::kNumber:
      return 0;
    case Value::Kind::kText:
      return 1;
    default:
      return 2;  // boolean
  }
}

Value ScalarOperation(std::uint8_t id, const Value& left, const Value& right, bool date1904) {
  try {
    if (left.IsError()) return left;
    if (right.IsError()) return right;
    switch (id) {
      case ptg::kAdd:
        return NumberResult(ToNumber(left, date1904) + ToNumber(right, date1904));
      case ptg::kSub:
        return NumberResult(ToNumber(left, date1904) - ToNumber(right, date1904));
      case ptg::kMul:
        return NumberResult(ToNumber(left, date1904) * ToNumber(right, date1904));
      case ptg::kDiv: {
        const double dividend = ToNumber(left, date1904);
        const double divisor = ToNumber(right, date1904);
        if (divisor == 0) return Value::Error(ErrorCode::kDivisionByZero);
        return NumberResult(dividend / divisor);
      }
      case ptg::kPower: {
        const double base = ToNumber(left, date1904);
        const double exponent = ToNumber(right, date1904);
        if (base == 0 && exponent == 0) return Value::Error(ErrorCode::kNumber);
        if (base == 0 && exponent < 0) return Value::Error(ErrorCode::kDivisionByZero);
        return NumberResult(std::pow(base, exponent));
      }
      case ptg::kConcat:
        return Value::Text(ToText(left) + ToText(right));
      default:
        break;
    }
    const int order = CompareValues(left, right);
    switch (id) {
      case ptg::kLt:
        return Value::Boolean(order < 0);
      case ptg::kLe:
        return Value::Boolean(order <= 0);
      case ptg::kEq:
        return Value::Boolean(order == 0);
      case ptg::kGe:
        return Value::Boolean(order >= 0);
      case ptg::kGt:
        return Value::Boolean(order > 0);
      case ptg::kNe:
        return Value::Boolean(order != 0);
      default:
        return Value::Error(ErrorCode::kValue);
    }
  } catch (const ErrorResult& error) {
    return Value::Error(error.code);
  }
}

// An array's element for position (row, column), repeating a single row or column as a
// spreadsheet does; #N/A outside it.
const Value& Element(const Array& array, std::size_t row, std::size_t column) {
  static const Value not_available = Value::Error(ErrorCode::kNotAvailable);
  const std::size_t r = array.rows == 1 ? 0 : row;
  const std::size_t c = array.columns == 1 ? 0 : column;
  if (r >= array.rows || c >= array.columns) return not_available;
  return array.At(r, c);
}

Value ReferenceOperation(std::uint8_t id, const Value& left, const Value& right) {
  if (left.kind != Value::Kind::kReference || right.kind != Value::Kind::kReference) {
    return Value::Error(ErrorCode::kValue);
  }
  if (id == ptg::kUnion) {
    std::vector<Area> areas = left.areas;
    areas.insert(areas.end(), right.areas.begin(), right.areas.end());
    return Value::Reference(std::move(areas));
  }
  if (left.areas.size() != 1 || right.areas.size() != 1) return Value::Error(ErrorCode::kValue);
  const Area& a = left.areas.front();
  const Area& b = right.areas.front();
  if (a.sheet != b.sheet) return Value::Error(ErrorCode::kValue);
  Area out{a.sheet};
  if (id == ptg::kRange) {
    out.first_row = std::min(a.first_row, b.first_row);
    out.last_row = std::max(a.last_row, b.last_row);
    out.first_column = std::min(a.first_column, b.first_column);
    out.last_column = std::max(a.last_column, b.last_column);
    return Value::Reference({out});
  }
  out.first_row = std::max(a.first_row, b.first_row);
  out.last_row = std::min(a.last_row, b.last_row);
  out.first_column = std::max(a.first_column, b.first_column);
  out.last_column = std::min(a.last_column, b.last_column);
  if (out.first_row > out.last_row || out.first_column > out.last_column) {
    return Value::Error(ErrorCode::kNull);
  }
  return Value::Reference({out});
}

// A number to the 15 significant digits a spreadsheet shows and compares.
void Significant15(double value, char (&text)[32]) {
  std::snprintf(text, sizeof text, "%.15g", value);
}

}  // namespace

bool EqualTo15Digits(double a, double b) {
  if (a == b) return true;
  // Most numbers compared differ well within 15 digits: told apart without formatting them,
  // as lookups compare thousands.
  if (std::fabs(a - b) > 1e-14 * std::max(std::fabs(a), std::fabs(b))) return false;
  char first[32];
  char second[32];
  Significant15(a, first);
  Significant15(b, second);
  return std::strcmp(first, second) == 0;
}

Value NumberResult(double number) {
  if (!std::isfinite(number)) return Value::Error(ErrorCode::kNumber);
  return Value::Number(number == 0 ? 0.0 : number);  // no negative zero in a cell
}

int CompareValues(const Value& left, const Value& right) {
  Value a = left;
  Value b = right;
  // An empty operand takes the kind of the other.
  if (a.kind == Value::Kind::kEmpty && b.kind == Value::Kind::kEmpty) return 0;
  if (a.kind == Value::Kind::kEmpty) {
    a = b.kind == Value::Kind::kText      ? Value::Text({})
        : b.kind == Value::Kind::kBoolean ? Value::Boolean(false)
                                          : Value::Number(0);
  }
  if (b.kind == Value::Kind::kEmpty) {
    b = a.kind == Value::Kind::kText      ? Value::Text({})
        : a.kind == Value::Kind::kBoolean ? Value::Boolean(false)
                                          : Value::Number(0);
  }
  if (a.kind != b.kind) return Rank(a.kind) < Rank(b.kind) ? -1 : 1;
  switch (a.kind) {
    case Value::Kind::kNumber:
      if (EqualTo15Digits(a.number, b.number)) return 0;
      return a.number < b.number ? -1 : 1;
    case Value::Kind::kText:
      return CompareTexts(a.text, b.text);
    default:
      return a.boolean == b.boolean ? 0 : (a.boolean ? 1 : -1);
  }
}

Value ApplyBinaryOperator(std::uint8_t id, const Value& left, const Value& right,
                          Context& context) {
  if (id == ptg::kRange || id == ptg::kUnion || id == ptg::kIntersect) {
    return ReferenceOperation(id, left, right);
  }
  const Value a = Operand(left, context);
  const Value b = Operand(right, context);
  if (a.kind != Value::Kind::kArray && b.kind != Value::Kind::kArray) {
    return ScalarOperation(id, a, b, context.Date1904());
  }
  const Array x = ToArray(a, context);
  const Array y = ToArray(b, context);
  Array out;
  out.rows = std::max(x.rows, y.rows);
  out.columns = std::max(x.columns, y.columns);
  out.values.reserve(out.rows * out.columns);
  for (std::size_t r = 0; r < out.rows; ++r) {
    for (std::size_t c = 0; c < out.columns; ++c) {
      out.values.push_back(
          ScalarOperation(id, Element(x, r, c), Element(y, r, c), context.Date1904()));
    }
  }
  return Value::FromArray(std::move(out));
}

Value ApplyUnaryOperator(std::uint8_t id, const Value& operand, Context& context) {
  const Value a = Operand(operand, context);
  const bool date1904 = context.Date1904();
  const auto apply = [id, date1904](const Value& v) -> Value {
    if (v.IsError()) return v;
    if (id == ptg::kUplus) return v;
    try {
      const double number = ToNumber(v, date1904);
      return NumberResult(id == ptg::kUminus ? -number : number / 100);
    } catch (const ErrorResult& error) {
      return Value::Error(error.code);
    }
  };
  if (a.kind != Value::Kind::kArray) return apply(a);
  Array out = *a.array;
  for (Value& v : out.values) v = apply(v);
  return Value::FromArray(std::move(out));
}

Value ApplyFinalSum(std::uint8_t id, const Value& left, const Value& right, Context& context) {
  const Value a = Operand(left, context);
  const Value b = Operand(right, context);
  if (a.kind == Value::Kind::kArray || b.kind == Value::Kind::kArray) {
    return ApplyBinaryOperator(id, a, b, context);
  }
  const Value sum = ScalarOperation(id, a, b, context.Date1904());
  if (sum.kind != Value::Kind::kNumber || sum.number == 0) return sum;
  // The operands read as numbers, or the sum would be an error.
  const double x = ToNumber(a, context.Date1904());
  const double y = ToNumber(b, context.Date1904());
  return EqualTo15Digits(x, id == ptg::kAdd ? -y : y) ? Value::Number(0) : sum;
}

}  // namespace xls::formula
