// Text functions: TEXT, VALUE, LEN, LEFT, RIGHT, MID, CONCATENATE, TRIM, REPT, UPPER,
// LOWER, EXACT.
#include <cmath>

#include "xls/biff/numeric_input.h"
#include "xls/formula/coercion.h"
#include "xls/formula/function_table.h"
#include "xls/formula/operators.h"
#include "xls/number_format/number_format.h"

namespace xls::formula {

namespace {

constexpr std::size_t kMaxText = 32767;  // the longest text a cell holds

Value TextResult(std::u16string text) {
  if (text.size() > kMaxText) return Value::Error(ErrorCode::kValue);
  return Value::Text(std::move(text));
}

// A character count argument: a whole number from 0, else #VALUE!.
std::size_t Count(const Value& argument, Context& context) {
  const double count = std::trunc(NumberArgument(argument, context));
  if (count < 0) throw ErrorResult{ErrorCode::kValue};
  return count > static_cast<double>(kMaxText) ? kMaxText + 1 : static_cast<std::size_t>(count);
}

// TEXT formats with the cells' own number formats, so a bill's TEXT(...,"[DBNum2]") and a
// cell formatted "[DBNum2]" read alike.
Value Text(std::span<const Value> a, Context& c) {
  const Value value = Scalar(a[0], c);
  const std::u16string format = TextArgument(a[1], c);
  biff::CellValue cell;
  switch (value.kind) {
    case Value::Kind::kNumber:
      cell = biff::CellValue::Number(value.number);
      break;
    case Value::Kind::kBoolean:
      cell = biff::CellValue::Boolean(value.boolean);
      break;
    case Value::Kind::kError:
      return value;
    case Value::Kind::kEmpty:
      cell = biff::CellValue::Number(0);
      break;
    default:
      if (const std::optional<double> number = biff::ParseNumericInput(value.text)) {
        cell = biff::CellValue::Number(*number);
      } else {
        cell = biff::CellValue::String(value.text);
      }
  }
  return TextResult(number_format::FormatValue(cell, format, c.Date1904()).text);
}

Value ValueOf(std::span<const Value> a, Context& c) {
  const Value value = Scalar(a[0], c);
  if (value.kind == Value::Kind::kText) {
    if (const std::optional<double> number = biff::ParseNumericInput(value.text)) {
      return NumberResult(*number);
    }
    return Value::Error(ErrorCode::kValue);
  }
  return NumberResult(ToNumber(value));
}

Value Len(std::span<const Value> a, Context& c) {
  return Value::Number(static_cast<double>(TextArgument(a[0], c).size()));
}
Value Left(std::span<const Value> a, Context& c) {
  const std::u16string text = TextArgument(a[0], c);
  const std::size_t count = a.size() > 1 ? Count(a[1], c) : 1;
  return Value::Text(text.substr(0, count));
}
Value Right(std::span<const Value> a, Context& c) {
  const std::u16string text = TextArgument(a[0], c);
  const std::size_t count = std::min(a.size() > 1 ? Count(a[1], c) : 1, text.size());
  return Value::Text(text.substr(text.size() - count));
}
Value Mid(std::span<const Value> a, Context& c) {
  const std::u16string text = TextArgument(a[0], c);
  const double start = std::trunc(NumberArgument(a[1], c));
  const std::size_t count = Count(a[2], c);
  if (start < 1) return Value::Error(ErrorCode::kValue);
  if (start > static_cast<double>(text.size())) return Value::Text({});
  return Value::Text(text.substr(static_cast<std::size_t>(start) - 1, count));
}
Value Concatenate(std::span<const Value> a, Context& c) {
  std::u16string text;
  for (const Value& argument : a) text += TextArgument(argument, c);
  return TextResult(std::move(text));
}
Value Trim(std::span<const Value> a, Context& c) {
  const std::u16string text = TextArgument(a[0], c);
  std::u16string out;
  for (const char16_t ch : text) {
    if (ch == u' ' && (out.empty() || out.back() == u' ')) continue;
    out.push_back(ch);
  }
  if (!out.empty() && out.back() == u' ') out.pop_back();
  return Value::Text(std::move(out));
}
Value Rept(std::span<const Value> a, Context& c) {
  const std::u16string text = TextArgument(a[0], c);
  const std::size_t times = Count(a[1], c);
  if (!text.empty() && times > kMaxText / text.size()) return Value::Error(ErrorCode::kValue);
  std::u16string out;
  for (std::size_t i = 0; i < times; ++i) out += text;
  return TextResult(std::move(out));
}
template <bool kUpper>
Value ChangeCase(std::span<const Value> a, Context& c) {
  std::u16string text = TextArgument(a[0], c);
  for (char16_t& ch : text) {
    if (kUpper && ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - u'a' + u'A');
    if (!kUpper && ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch - u'A' + u'a');
  }
  return Value::Text(std::move(text));
}
Value Exact(std::span<const Value> a, Context& c) {
  return Value::Boolean(TextArgument(a[0], c) == TextArgument(a[1], c));
}

constexpr FunctionInfo kText[] = {
    {48, u"TEXT", 2, 2, Text},
    {33, u"VALUE", 1, 1, ValueOf},
    {32, u"LEN", 1, 1, Len},
    {115, u"LEFT", 1, 2, Left},
    {116, u"RIGHT", 1, 2, Right},
    {31, u"MID", 3, 3, Mid},
    {336, u"CONCATENATE", 1, 30, Concatenate},
    {118, u"TRIM", 1, 1, Trim},
    {30, u"REPT", 2, 2, Rept},
    {113, u"UPPER", 1, 1, ChangeCase<true>},
    {112, u"LOWER", 1, 1, ChangeCase<false>},
    {117, u"EXACT", 2, 2, Exact},
};

}  // namespace

std::span<const FunctionInfo> TextFunctions() {
  return kText;
}

}  // namespace xls::formula
