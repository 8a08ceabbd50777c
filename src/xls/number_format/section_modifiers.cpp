#include "xls/number_format/section_modifiers.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/ascii_case.h"

namespace xls::number_format {

namespace {

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() &&
         base::EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

std::optional<Rgb> NamedColour(std::u16string_view name) {
  struct Named {
    std::u16string_view name;
    Rgb rgb;
  };
  static constexpr std::array<Named, 8> kNames = {{
      {u"black", {0, 0, 0}},
      {u"white", {255, 255, 255}},
      {u"red", {255, 0, 0}},
      {u"green", {0, 255, 0}},
      {u"blue", {0, 0, 255}},
      {u"yellow", {255, 255, 0}},
      {u"magenta", {255, 0, 255}},
      {u"cyan", {0, 255, 255}},
  }};
  for (const Named& n : kNames) {
    if (base::EqualIgnoringAsciiCase(name, n.name)) return n.rgb;
  }
  return std::nullopt;
}

std::optional<Condition> ParseCondition(std::u16string_view text) {
  Condition c;
  std::size_t i = 0;
  auto take = [&](std::u16string_view op, Condition::Op value) {
    if (text.substr(i, op.size()) == op) {
      c.op = value;
      i += op.size();
      return true;
    }
    return false;
  };
  if (!(take(u"<=", Condition::Op::kLessEqual) || take(u">=", Condition::Op::kGreaterEqual) ||
        take(u"<>", Condition::Op::kNotEqual) || take(u"<", Condition::Op::kLess) ||
        take(u">", Condition::Op::kGreater) || take(u"=", Condition::Op::kEqual))) {
    return std::nullopt;
  }
  std::string number;
  for (; i < text.size(); ++i) {
    if (text[i] > 0x7F) return std::nullopt;
    number += static_cast<char>(text[i]);
  }
  char* end = nullptr;
  c.operand = std::strtod(number.c_str(), &end);
  if (number.empty() || end != number.c_str() + number.size()) return std::nullopt;
  return c;
}

std::optional<Numerals> NumeralSystem(std::u16string_view inside) {
  if (!StartsWithIgnoringCase(inside, u"DBNum") || inside.size() != 6) return std::nullopt;
  switch (inside[5]) {
    case u'1':
      return Numerals::kLower;
    case u'2':
      return Numerals::kCapital;
    case u'3':
      return Numerals::kFullWidth;
    default:
      return Numerals::kArabic;  // [DBNum4] is Korean and Japanese only
  }
}

// The numeral system in the top byte of a hexadecimal locale tag: 1E, 1F and 20 are
// Chinese (PRC) lower-case, capital and full-width numerals.
std::optional<Numerals> LocaleNumerals(std::u16string_view locale) {
  if (locale.empty() || locale.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char16_t c : locale) {
    const char16_t upper = base::AsciiUpper(c);
    const bool digit = upper >= u'0' && upper <= u'9';
    if (!digit && (upper < u'A' || upper > u'F')) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit ? upper - u'0' : upper - u'A' + 10);
  }
  switch (value >> 24) {
    case 0x1E:
      return Numerals::kLower;
    case 0x1F:
      return Numerals::kCapital;
    case 0x20:
      return Numerals::kFullWidth;
    default:
      return std::nullopt;
  }
}

// [$¥-804]: the currency symbol before the dash is shown, the locale after it is not.
void ReadLocale(std::u16string_view inside, Section& section) {
  const std::size_t dash = inside.find(u'-');
  const std::u16string_view symbol =
      inside.substr(1, dash == std::u16string_view::npos ? std::u16string_view::npos : dash - 1);
  if (symbol.empty()) {
    section.has_modifier = true;
  } else {
    section.tokens.push_back({Token::Kind::kLiteral, std::u16string(symbol)});
  }
  if (dash == std::u16string_view::npos) return;
  if (const auto numerals = LocaleNumerals(inside.substr(dash + 1))) {
    section.numerals = *numerals;
    section.numerals_one_for_one = true;
  }
}

}  // namespace

bool Condition::Holds(double v) const {
  switch (op) {
    case Op::kNone:
      return true;
    case Op::kLess:
      return v < operand;
    case Op::kLessEqual:
      return v <= operand;
    case Op::kGreater:
      return v > operand;
    case Op::kGreaterEqual:
      return v >= operand;
    case Op::kEqual:
      return v == operand;
    case Op::kNotEqual:
      return v != operand;
  }
  return true;
}

void ReadBracket(std::u16string_view inside, Section& section) {
  if (auto colour = NamedColour(inside)) {
    section.colour = colour;
  } else if (StartsWithIgnoringCase(inside, u"color")) {
    // palette colours: left black
  } else if (auto condition = ParseCondition(inside)) {
    section.condition = *condition;
  } else if (auto numerals = NumeralSystem(inside)) {
    section.numerals = *numerals;
    section.has_modifier = true;
  } else if (!inside.empty() && inside[0] == u'$') {
    ReadLocale(inside, section);
  } else if (!inside.empty()) {
    const char16_t unit = base::AsciiUpper(inside[0]);
    if (unit == u'H' || unit == u'M' || unit == u'S') {
      section.tokens.push_back({Token::Kind::kElapsed, std::u16string(1, unit)});
      section.has_date = true;
    }
  }
}

}  // namespace xls::number_format
