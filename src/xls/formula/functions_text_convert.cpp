// Text functions that turn values into text and back: FIXED, DOLLAR (RMB in Chinese Excel),
// CHAR, CODE, CLEAN, T, N, PROPER, DATEVALUE, TIMEVALUE, NUMBERSTRING, CONCAT, TEXTJOIN.
#include <cmath>
#include <string>
#include <vector>

#include "xls/biff/cell_value.h"
#include "xls/formula/code_page_936.h"
#include "xls/formula/coercion.h"
#include "xls/formula/date_time_text.h"
#include "xls/formula/function_table.h"
#include "xls/formula/operators.h"
#include "xls/number_format/number_format.h"
#include "xls/number_format/numeral_systems.h"
#include "xls/number_format/serial_date.h"

namespace xls::formula {

namespace {

constexpr std::size_t kMaxText = 32767;  // the longest text a cell holds
constexpr double kMaxDecimals = 127;

Value TextResult(std::u16string text) {
  if (text.size() > kMaxText) return Value::Error(ErrorCode::kValue);
  return Value::Text(std::move(text));
}

// A number rounded to `decimals` places (to tens, hundreds… where negative) and shown with
// that many, grouped by thousands or not, after `prefix`; a negative one as `-`, after the
// prefix where `minus_after_prefix` (the Chinese currency's ¥-1,234.50).
std::u16string Fixed(double number, double decimals, bool grouping, std::u16string_view prefix,
                     bool minus_after_prefix) {
  if (decimals > kMaxDecimals) throw ErrorResult{ErrorCode::kValue};
  if (decimals < 0) {
    const double scale = std::pow(10.0, -decimals);
    number = std::round(number / scale) * scale;
    decimals = 0;
  }
  std::u16string code = grouping ? u"#,##0" : u"0";
  if (decimals > 0) {
    code += u'.';
    code.append(static_cast<std::size_t>(decimals), u'0');
  }
  const std::u16string shown =
      number_format::FormatValue(biff::CellValue::Number(std::fabs(number)), code, false).text;
  const bool negative = number < 0 && shown.find_first_of(u"123456789") != std::u16string::npos;
  // Built by appending: GCC 12 warns falsely (-Wrestrict) on u"-" + text.
  std::u16string out;
  if (negative && !minus_after_prefix) out += u'-';
  out += prefix;
  if (negative && minus_after_prefix) out += u'-';
  out += shown;
  return out;
}

Value FixedText(std::span<const Value> a, Context& c) {
  const double number = NumberArgument(a[0], c);
  const double decimals = a.size() > 1 ? std::trunc(NumberArgument(a[1], c)) : 2;
  const bool no_commas = a.size() > 2 && BooleanArgument(a[2], c);
  return TextResult(Fixed(number, decimals, !no_commas, {}, false));
}

// Chinese Excel's currency: ¥ (U+00A5, as Windows writes the yuan) and the minus after it.
Value Dollar(std::span<const Value> a, Context& c) {
  const double number = NumberArgument(a[0], c);
  const double decimals = a.size() > 1 ? std::trunc(NumberArgument(a[1], c)) : 2;
  return TextResult(Fixed(number, decimals, true, u"\u00A5", true));
}

Value Char(std::span<const Value> a, Context& c) {
  const double code = std::trunc(NumberArgument(a[0], c));
  if (code < 1 || code > 65535) return Value::Error(ErrorCode::kValue);
  std::u16string character = CharacterOfCode(static_cast<int>(code));
  if (character.empty()) return Value::Error(ErrorCode::kValue);
  return Value::Text(std::move(character));
}

Value Code(std::span<const Value> a, Context& c) {
  const std::u16string text = TextArgument(a[0], c);
  if (text.empty()) return Value::Error(ErrorCode::kValue);
  return Value::Number(CodeOfCharacter(text.front()));
}

// CLEAN drops the control characters 0 to 31, which print as nothing or as boxes.
Value Clean(std::span<const Value> a, Context& c) {
  std::u16string text = TextArgument(a[0], c);
  std::erase_if(text, [](char16_t ch) { return ch < 32; });
  return Value::Text(std::move(text));
}

Value T(std::span<const Value> a, Context& c) {
  const Value value = Scalar(a[0], c);
  if (value.IsError() || value.kind == Value::Kind::kText) return value;
  return Value::Text({});
}

Value N(std::span<const Value> a, Context& c) {
  const Value value = Scalar(a[0], c);
  switch (value.kind) {
    case Value::Kind::kNumber:
    case Value::Kind::kError:
      return value;
    case Value::Kind::kBoolean:
      return Value::Number(value.boolean ? 1 : 0);
    default:
      return Value::Number(0);
  }
}

bool IsLetter(char16_t ch) {
  return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
}

// PROPER: a letter after a letter lower case, every other letter upper case.
Value Proper(std::span<const Value> a, Context& c) {
  std::u16string text = TextArgument(a[0], c);
  bool after_letter = false;
  for (char16_t& ch : text) {
    const bool letter = IsLetter(ch);
    if (letter) {
      const bool upper = ch <= u'Z';
      if (after_letter && upper) ch = static_cast<char16_t>(ch - u'A' + u'a');
      if (!after_letter && !upper) ch = static_cast<char16_t>(ch - u'a' + u'A');
    }
    after_letter = letter;
  }
  return Value::Text(std::move(text));
}

std::optional<DateTimeText> DateTimeArgument(const Value& argument, Context& c) {
  const Value value = Scalar(argument, c);
  if (value.IsError()) throw ErrorResult{value.error};
  if (value.kind != Value::Kind::kText) throw ErrorResult{ErrorCode::kValue};
  const base::CivilDate today = number_format::DateOfSerial(c.Now(), c.Date1904());
  return ParseDateTimeText(value.text, static_cast<int>(today.year));
}

Value DateValue(std::span<const Value> a, Context& c) {
  const std::optional<DateTimeText> parsed = DateTimeArgument(a[0], c);
  if (!parsed || !parsed->year || *parsed->year > 9999) return Value::Error(ErrorCode::kValue);
  const double serial =
      number_format::SerialOfDateTime(*parsed->year, parsed->month, parsed->day, 0, c.Date1904());
  if (serial < (c.Date1904() ? 0 : 1)) return Value::Error(ErrorCode::kValue);
  return Value::Number(serial);
}

Value TimeValue(std::span<const Value> a, Context& c) {
  const std::optional<DateTimeText> parsed = DateTimeArgument(a[0], c);
  if (!parsed) return Value::Error(ErrorCode::kValue);
  constexpr double kSecondsPerDay = 86400;
  return Value::Number(std::fmod(parsed->seconds.value_or(0) / kSecondsPerDay, 1.0));
}

// NUMBERSTRING(x, 1|2|3): the rounded whole number read out in lower-case numerals (一百二十三),
// in the financial capitals (壹佰贰拾叁), or digit by digit (一二三); 负 before a negative.
Value NumberString(std::span<const Value> a, Context& c) {
  const double number = std::round(NumberArgument(a[0], c));
  const double kind = std::trunc(NumberArgument(a[1], c));
  if (kind < 1 || kind > 3) return Value::Error(ErrorCode::kValue);
  if (std::fabs(number) >= 1e15) return Value::Error(ErrorCode::kNumber);
  const std::string digits = std::to_string(static_cast<long long>(std::fabs(number)));
  using number_format::Numerals;
  std::u16string text(number < 0 ? u"负" : u"");
  if (kind == 3) {
    text += number_format::Digits(digits, Numerals::kLower);
  } else {
    text += number_format::Counted(digits, kind == 1 ? Numerals::kLower : Numerals::kCapital);
  }
  return TextResult(std::move(text));
}

// The texts a CONCAT or TEXTJOIN argument gives: every cell of a range (empty ones as ""),
// every element of an array, or the value itself.
std::vector<std::u16string> Texts(const Value& argument, Context& c) {
  std::vector<std::u16string> texts;
  if (argument.kind == Value::Kind::kReference || argument.kind == Value::Kind::kArray) {
    for (const Value& value : ToArray(argument, c).values) texts.push_back(ToText(value));
  } else {
    texts.push_back(TextArgument(argument, c));
  }
  return texts;
}

Value Concat(std::span<const Value> a, Context& c) {
  std::u16string text;
  for (const Value& argument : a) {
    for (const std::u16string& piece : Texts(argument, c)) {
      text += piece;
      if (text.size() > kMaxText) return Value::Error(ErrorCode::kValue);
    }
  }
  return TextResult(std::move(text));
}

// TEXTJOIN(delimiter, ignore_empty, text…): a range of delimiters is used in turn.
Value TextJoin(std::span<const Value> a, Context& c) {
  const std::vector<std::u16string> delimiters = Texts(a[0], c);
  const bool ignore_empty = BooleanArgument(a[1], c);
  std::u16string text;
  std::size_t joined = 0;
  for (const Value& argument : a.subspan(2)) {
    for (const std::u16string& piece : Texts(argument, c)) {
      if (ignore_empty && piece.empty()) continue;
      if (joined > 0 && !delimiters.empty()) text += delimiters[(joined - 1) % delimiters.size()];
      text += piece;
      ++joined;
      if (text.size() > kMaxText) return Value::Error(ErrorCode::kValue);
    }
  }
  return TextResult(std::move(text));
}

// Functions newer than BIFF8, or Chinese Excel's own, are stored by name; the numbers
// above 0xF000 only key them in the engine's table.
constexpr std::uint16_t kConcatId = 0xF280;
constexpr std::uint16_t kTextJoinId = 0xF281;
constexpr std::uint16_t kNumberStringId = 0xF282;
constexpr std::uint16_t kRmbId = 0xF283;
constexpr int kMaxArguments = 255;

constexpr FunctionInfo kTextConvert[] = {
    {14, u"FIXED", 1, 3, FixedText},
    {13, u"DOLLAR", 1, 2, Dollar},
    {kRmbId, u"RMB", 1, 2, Dollar},
    {111, u"CHAR", 1, 1, Char},
    {121, u"CODE", 1, 1, Code},
    {162, u"CLEAN", 1, 1, Clean},
    {130, u"T", 1, 1, T},
    {131, u"N", 1, 1, N},
    {114, u"PROPER", 1, 1, Proper},
    {140, u"DATEVALUE", 1, 1, DateValue},
    {141, u"TIMEVALUE", 1, 1, TimeValue},
    {kNumberStringId, u"NUMBERSTRING", 2, 2, NumberString},
    {kConcatId, u"CONCAT", 1, kMaxArguments, Concat},
    {kTextJoinId, u"TEXTJOIN", 3, kMaxArguments, TextJoin},
};

}  // namespace

std::span<const FunctionInfo> TextConvertFunctions() {
  return kTextConvert;
}

}  // namespace xls::formula
