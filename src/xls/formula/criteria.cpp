#include "xls/formula/criteria.h"

#include <array>
#include <string_view>
#include <utility>

#include "base/ascii_case.h"
#include "xls/formula/coercion.h"
#include "xls/formula/operators.h"
#include "xls/formula/text_number.h"

namespace xls::formula {

namespace {

bool WildcardMatch(std::u16string_view pattern, std::u16string_view text) {
  if (pattern.empty()) return text.empty();
  const char16_t head = pattern.front();
  if (head == u'*') {
    for (std::size_t skip = 0; skip <= text.size(); ++skip) {
      if (WildcardMatch(pattern.substr(1), text.substr(skip))) return true;
    }
    return false;
  }
  if (text.empty()) return false;
  if (head == u'?') return WildcardMatch(pattern.substr(1), text.substr(1));
  std::size_t used = 1;
  char16_t literal = head;
  if (head == u'~' && pattern.size() > 1) {
    literal = pattern[1];
    used = 2;
  }
  if (base::AsciiUpper(literal) != base::AsciiUpper(text.front())) return false;
  return WildcardMatch(pattern.substr(used), text.substr(1));
}

}  // namespace

Criterion::Criterion(const Value& condition, bool date1904) {
  if (condition.kind != Value::Kind::kText) {
    operand_ = condition.kind == Value::Kind::kEmpty ? Value::Number(0) : condition;
    return;
  }
  std::u16string_view text = condition.text;
  static constexpr std::array<std::pair<std::u16string_view, Comparison>, 6> kPrefixes{{
      {u"<=", Comparison::kLessOrEqual},
      {u">=", Comparison::kGreaterOrEqual},
      {u"<>", Comparison::kNotEqual},
      {u"<", Comparison::kLess},
      {u">", Comparison::kGreater},
      {u"=", Comparison::kEqual},
  }};
  for (const auto& [prefix, comparison] : kPrefixes) {
    if (text.starts_with(prefix)) {
      comparison_ = comparison;
      text.remove_prefix(prefix.size());
      break;
    }
  }
  if (const std::optional<double> number = NumberOfText(text, date1904)) {
    operand_ = Value::Number(*number);
    number_text_ = std::u16string(text);
  } else if (base::EqualIgnoringAsciiCase<char16_t>(text, u"TRUE") ||
             base::EqualIgnoringAsciiCase<char16_t>(text, u"FALSE")) {
    operand_ = Value::Boolean(base::EqualIgnoringAsciiCase<char16_t>(text, u"TRUE"));
  } else {
    operand_ = Value::Text(std::u16string(text));
  }
}

bool Criterion::Matches(const Value& cell) const {
  // "" and "=" match empty cells, "<>" every cell that is not empty.
  if (operand_.kind == Value::Kind::kText && operand_.text.empty()) {
    const bool empty =
        cell.kind == Value::Kind::kEmpty || (cell.kind == Value::Kind::kText && cell.text.empty());
    if (comparison_ == Comparison::kEqual) return empty;
    if (comparison_ == Comparison::kNotEqual) return cell.kind != Value::Kind::kEmpty;
  }
  if (cell.kind == Value::Kind::kText && !number_text_.empty() &&
      (comparison_ == Comparison::kEqual || comparison_ == Comparison::kNotEqual)) {
    return (CompareTexts(cell.text, number_text_) == 0) == (comparison_ == Comparison::kEqual);
  }
  if (cell.kind != operand_.kind) return comparison_ == Comparison::kNotEqual;
  int order = 0;
  switch (cell.kind) {
    case Value::Kind::kNumber:
      order = EqualTo15Digits(cell.number, operand_.number) ? 0
              : cell.number < operand_.number               ? -1
                                                            : 1;
      break;
    case Value::Kind::kBoolean:
      order = cell.boolean == operand_.boolean ? 0 : (cell.boolean ? 1 : -1);
      break;
    case Value::Kind::kText:
      if (comparison_ == Comparison::kEqual) return WildcardMatch(operand_.text, cell.text);
      if (comparison_ == Comparison::kNotEqual) return !WildcardMatch(operand_.text, cell.text);
      order = CompareTexts(cell.text, operand_.text);
      break;
    case Value::Kind::kError:
      order = cell.error == operand_.error ? 0 : 1;
      break;
    default:
      return false;
  }
  switch (comparison_) {
    case Comparison::kEqual:
      return order == 0;
    case Comparison::kNotEqual:
      return order != 0;
    case Comparison::kLess:
      return order < 0;
    case Comparison::kLessOrEqual:
      return order <= 0;
    case Comparison::kGreater:
      return order > 0;
    case Comparison::kGreaterOrEqual:
      return order >= 0;
  }
  return false;
}

}  // namespace xls::formula
