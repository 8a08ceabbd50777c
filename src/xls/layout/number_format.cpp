#include "xls/layout/number_format.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/significant_digits.h"
#include "xls/biff/general_number_format.h"

namespace xls::layout {

namespace {

std::u16string Widen(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char16_t c) {
      return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// ---- Sections and their conditions -------------------------------------------------------

struct Condition {
  enum class Op { kNone, kLess, kLessEqual, kGreater, kGreaterEqual, kEqual, kNotEqual };
  Op op = Op::kNone;
  double operand = 0;
  bool Holds(double v) const {
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
};

// One section of a format code, split into what it shows.
struct Token {
  enum class Kind {
    kLiteral,    // text shown as it is
    kDigit,      // 0 # ?
    kPoint,      // the decimal point
    kThousands,  // a comma among the integer digits
    kPercent,
    kExponent,  // E+ or E-
    kDatePart,  // y m d h s AM/PM and their kin, with the letters in text
    kElapsed,   // [h] [m] [s]
    kText,      // @
    kGeneral,
  };
  Kind kind = Kind::kLiteral;
  std::u16string text;
};

struct Section {
  std::vector<Token> tokens;
  Condition condition;
  std::optional<Rgb> colour;
  bool has_date = false;
  bool has_digits = false;
  bool has_text = false;
  bool has_general = false;
  bool twelve_hour = false;
  int trailing_commas = 0;  // each divides by 1000
};

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
    if (EqualsIgnoringCase(name, n.name)) return n.rgb;
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

// What a bracketed part means: a colour, a condition, elapsed time or a locale/currency tag.
void ReadBracket(std::u16string_view inside, Section& section) {
  if (auto colour = NamedColour(inside)) {
    section.colour = colour;
    return;
  }
  if (StartsWithIgnoringCase(inside, u"color")) return;  // palette colours: left black
  if (auto condition = ParseCondition(inside)) {
    section.condition = *condition;
    return;
  }
  if (!inside.empty() && inside[0] == u'$') {
    // [$¥-804]: the currency symbol before the dash is shown, the locale after it is not.
    const std::size_t dash = inside.find(u'-');
    const std::u16string_view symbol =
        inside.substr(1, dash == std::u16string_view::npos ? std::u16string_view::npos : dash - 1);
    if (!symbol.empty()) section.tokens.push_back({Token::Kind::kLiteral, std::u16string(symbol)});
    return;
  }
  const char16_t first = inside.empty() ? u'\0' : static_cast<char16_t>(inside[0] | 0x20);
  if (first == u'h' || first == u'm' || first == u's') {
    section.tokens.push_back({Token::Kind::kElapsed, std::u16string(1, first)});
    section.has_date = true;
  }
}

bool IsDateLetter(char16_t c) {
  switch (c | 0x20) {
    case u'y':
    case u'm':
    case u'd':
    case u'h':
    case u's':
    case u'e':
      return true;
    default:
      return false;
  }
}

Section ParseSection(std::u16string_view code) {
  Section s;
  std::size_t i = 0;
  auto literal = [&s](std::u16string text) {
    if (!s.tokens.empty() && s.tokens.back().kind == Token::Kind::kLiteral) {
      s.tokens.back().text += text;
    } else {
      s.tokens.push_back({Token::Kind::kLiteral, std::move(text)});
    }
  };
  while (i < code.size()) {
    const char16_t c = code[i];
    if (c == u'"') {
      const std::size_t close = code.find(u'"', i + 1);
      const std::size_t end = close == std::u16string_view::npos ? code.size() : close;
      literal(std::u16string(code.substr(i + 1, end - i - 1)));
      i = end + 1;
    } else if (c == u'\\' || c == u'!') {
      if (i + 1 < code.size()) literal(std::u16string(1, code[i + 1]));
      i += 2;
    } else if (c == u'_') {
      literal(u" ");  // room for the next character: a space is near enough
      i += 2;
    } else if (c == u'*') {
      i += 2;  // repeat to fill the cell: nothing on paper at the text's own width
    } else if (c == u'[') {
      const std::size_t close = code.find(u']', i + 1);
      const std::size_t end = close == std::u16string_view::npos ? code.size() : close;
      ReadBracket(code.substr(i + 1, end - i - 1), s);
      i = end + 1;
    } else if (StartsWithIgnoringCase(code.substr(i), u"General")) {
      s.tokens.push_back({Token::Kind::kGeneral, {}});
      s.has_general = true;
      i += 7;
    } else if ((c == u'E' || c == u'e') && i + 1 < code.size() &&
               (code[i + 1] == u'+' || code[i + 1] == u'-')) {
      s.tokens.push_back({Token::Kind::kExponent, std::u16string(code.substr(i, 2))});
      i += 2;
    } else if (StartsWithIgnoringCase(code.substr(i), u"AM/PM")) {
      s.tokens.push_back({Token::Kind::kDatePart, u"AM/PM"});
      s.twelve_hour = s.has_date = true;
      i += 5;
    } else if (StartsWithIgnoringCase(code.substr(i), u"A/P")) {
      s.tokens.push_back({Token::Kind::kDatePart, u"A/P"});
      s.twelve_hour = s.has_date = true;
      i += 3;
    } else if (code.substr(i, 5) == u"上午/下午") {
      s.tokens.push_back({Token::Kind::kDatePart, u"上午/下午"});
      s.twelve_hour = s.has_date = true;
      i += 5;
    } else if (IsDateLetter(c) || ((c | 0x20) == u'a' && i + 2 < code.size() &&
                                   (code[i + 1] | 0x20) == u'a' && (code[i + 2] | 0x20) == u'a')) {
      std::size_t end = i;
      const char16_t letter = static_cast<char16_t>(c | 0x20);
      while (end < code.size() && (code[end] | 0x20) == letter) ++end;
      s.tokens.push_back({Token::Kind::kDatePart, std::u16string(end - i, letter)});
      s.has_date = true;
      i = end;
    } else if (c == u'0' || c == u'#' || c == u'?') {
      s.tokens.push_back({Token::Kind::kDigit, std::u16string(1, c)});
      s.has_digits = true;
      ++i;
    } else if (c == u'.') {
      s.tokens.push_back({Token::Kind::kPoint, u"."});
      ++i;
    } else if (c == u',') {
      s.tokens.push_back({Token::Kind::kThousands, u","});
      ++i;
    } else if (c == u'%') {
      s.tokens.push_back({Token::Kind::kPercent, u"%"});
      ++i;
    } else if (c == u'@') {
      s.tokens.push_back({Token::Kind::kText, {}});
      s.has_text = true;
      ++i;
    } else {
      literal(std::u16string(1, c));
      ++i;
    }
  }
  // Commas right after the last digit placeholder scale the number instead of grouping.
  for (std::size_t k = s.tokens.size(); k-- > 0;) {
    if (s.tokens[k].kind == Token::Kind::kThousands) {
      bool after_digit = false;
      for (std::size_t j = k; j-- > 0;) {
        if (s.tokens[j].kind == Token::Kind::kThousands) continue;
        after_digit = s.tokens[j].kind == Token::Kind::kDigit;
        break;
      }
      bool digit_follows = false;
      for (std::size_t j = k + 1; j < s.tokens.size(); ++j) {
        if (s.tokens[j].kind == Token::Kind::kDigit) digit_follows = true;
        if (s.tokens[j].kind == Token::Kind::kPoint) break;
      }
      if (after_digit && !digit_follows) {
        ++s.trailing_commas;
        s.tokens.erase(s.tokens.begin() + static_cast<std::ptrdiff_t>(k));
      }
    }
  }
  if (s.has_date) {
    // A date code's decimal point after seconds stands for fractions of a second.
    for (Token& t : s.tokens) {
      if (t.kind == Token::Kind::kPoint || t.kind == Token::Kind::kDigit) {
        t.kind = Token::Kind::kDatePart;
      } else if (t.kind == Token::Kind::kThousands || t.kind == Token::Kind::kPercent) {
        t.kind = Token::Kind::kLiteral;  // "dddd, mmmm d": only digits group
      }
    }
  }
  return s;
}

std::vector<std::u16string_view> SplitSections(std::u16string_view code) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  bool quoted = false;
  bool bracket = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char16_t c = code[i];
    if (c == u'"' && !bracket) {
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;
    } else if (c == u'[') {
      bracket = true;
    } else if (c == u']') {
      bracket = false;
    } else if (c == u';' && !bracket) {
      parts.push_back(code.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(code.substr(start));
  return parts;
}

// ---- Numbers ------------------------------------------------------------------------------

// A non-negative value rounded half away from zero to `decimals` places, as integer and
// fraction digits. The rounding works on the value's 15 significant digits, as spreadsheets
// round: 2.345 is stored a little below itself but shows as 2.35 with two places.
void RoundToDecimals(double value, int decimals, std::string& integer_part, std::string& fraction) {
  const base::SignificantDigits significant = base::ToSignificantDigits(value);
  // Digits with the point at `point`: pad so that every needed place exists.
  std::string digits = significant.digits;
  int point = significant.point;
  if (digits.empty()) point = 1;
  while (point <= 0) {
    digits = "0" + digits;
    ++point;
  }
  const std::size_t keep = static_cast<std::size_t>(point + decimals);
  while (digits.size() < keep + 1) digits += '0';
  const bool round_up = digits[keep] >= '5';
  digits.resize(keep);
  if (round_up) {
    std::size_t i = keep;
    while (i > 0) {
      --i;
      if (digits[i] == '9') {
        digits[i] = '0';
      } else {
        ++digits[i];
        break;
      }
      if (i == 0) {
        digits = "1" + digits;
        ++point;
      }
    }
  }
  integer_part = digits.substr(0, static_cast<std::size_t>(point));
  fraction = digits.substr(static_cast<std::size_t>(point));
  const std::size_t first = integer_part.find_first_not_of('0');
  integer_part = first == std::string::npos ? "0" : integer_part.substr(first);
}

std::u16string FormatDigits(double value, const Section& s) {
  // Placeholders on each side of the point, and of the exponent.
  int integer_zeros = 0;
  int decimals = 0;
  int decimal_zeros = 0;
  int exponent_zeros = 0;
  bool seen_point = false;
  bool seen_exponent = false;
  bool grouping = false;
  std::u16string exponent_sign;
  for (const Token& t : s.tokens) {
    if (t.kind == Token::Kind::kExponent) {
      seen_exponent = true;
      exponent_sign = t.text.substr(1);
    } else if (t.kind == Token::Kind::kPoint && !seen_exponent) {
      seen_point = true;
    } else if (t.kind == Token::Kind::kThousands && !seen_point) {
      grouping = true;
    } else if (t.kind == Token::Kind::kDigit) {
      if (seen_exponent) {
        if (t.text == u"0") ++exponent_zeros;
      } else if (seen_point) {
        ++decimals;
        if (t.text == u"0") ++decimal_zeros;
      } else if (t.text == u"0") {
        ++integer_zeros;
      }
    }
  }

  int exponent = 0;
  if (seen_exponent && value != 0) {
    exponent = static_cast<int>(std::floor(std::log10(value)));
    int integer_places = 0;
    for (const Token& t : s.tokens) {
      if (t.kind == Token::Kind::kPoint || t.kind == Token::Kind::kExponent) break;
      if (t.kind == Token::Kind::kDigit) ++integer_places;
    }
    // Engineering-style codes (##0.0E+0) keep the exponent a multiple of the integer places.
    const int step = integer_places > 1 ? integer_places : 1;
    exponent = static_cast<int>(std::floor(static_cast<double>(exponent) / step)) * step;
    value /= std::pow(10.0, exponent);
  }

  std::string integer_part;
  std::string fraction;
  RoundToDecimals(value, decimals, integer_part, fraction);
  while (static_cast<int>(fraction.size()) > decimal_zeros && !fraction.empty() &&
         fraction.back() == '0') {
    fraction.pop_back();
  }
  if (integer_part == "0" && integer_zeros == 0) integer_part.clear();
  while (static_cast<int>(integer_part.size()) < integer_zeros) integer_part = "0" + integer_part;
  if (grouping && integer_part.size() > 3) {
    std::string grouped;
    const std::size_t first = integer_part.size() % 3 == 0 ? 3 : integer_part.size() % 3;
    grouped = integer_part.substr(0, first);
    for (std::size_t k = first; k < integer_part.size(); k += 3) {
      grouped += ',';
      grouped += integer_part.substr(k, 3);
    }
    integer_part = grouped;
  }

  std::string number = integer_part;
  if (seen_point && (decimals > 0 || !s.has_date)) {
    number += '.';
    number += fraction;
  }
  if (seen_exponent) {
    std::string e = std::to_string(std::abs(exponent));
    while (static_cast<int>(e.size()) < exponent_zeros) e = "0" + e;
    number += 'E';
    if (exponent < 0) {
      number += '-';
    } else if (exponent_sign == u"+") {
      number += '+';
    }
    number += e;
  }

  // Literal text before the first placeholder, the number, then what follows the last one.
  std::u16string before;
  std::u16string after;
  bool in_number = false;
  for (const Token& t : s.tokens) {
    const bool part_of_number = t.kind == Token::Kind::kDigit || t.kind == Token::Kind::kPoint ||
                                t.kind == Token::Kind::kThousands ||
                                t.kind == Token::Kind::kExponent;
    if (part_of_number) {
      in_number = true;
      continue;
    }
    const std::u16string text = t.kind == Token::Kind::kPercent ? u"%" : t.text;
    if (t.kind == Token::Kind::kText || t.kind == Token::Kind::kGeneral) continue;
    if (!in_number) {
      before += text;
    } else {
      after += text;
    }
  }
  return before + Widen(number) + after;
}

// ---- Dates --------------------------------------------------------------------------------

struct DateTime {
  int year = 1900;
  int month = 1;
  int day = 1;
  int weekday = 0;  // 0 is Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
  double fraction = 0;  // of a second, for ss.0 codes
};

// Days since 0000-03-01 to a civil date (proleptic Gregorian).
void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::optional<DateTime> SerialToDateTime(double serial, bool date1904, bool keep_fraction) {
  if (serial < 0 || serial >= 2958466) return std::nullopt;  // before 1900 or after 9999
  long long days = static_cast<long long>(std::floor(serial));
  double seconds = (serial - static_cast<double>(days)) * 86400.0;
  if (!keep_fraction) {
    seconds = std::round(seconds);
  } else {
    seconds = std::round(seconds * 1000.0) / 1000.0;
  }
  if (seconds >= 86400.0) {
    ++days;
    seconds -= 86400.0;
  }
  DateTime dt;
  // Days from 1970-01-01 of the file's day 0.
  long long unix_days = 0;
  if (date1904) {
    unix_days = days - 24107;  // 1904-01-01 is day 0
  } else if (days == 60) {
    // The 1900 system counts a 29 February 1900 that never was; it is shown as such.
    dt.year = 1900;
    dt.month = 2;
    dt.day = 29;
    dt.weekday = 3;
    unix_days = -1;
  } else {
    unix_days = days - (days < 60 ? 25568 : 25569);
  }
  if (unix_days != -1 || date1904 || days != 60) {
    CivilFromDays(unix_days, dt.year, dt.month, dt.day);
    dt.weekday = static_cast<int>(((unix_days % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
  }
  if (!date1904 && days == 0) {
    dt.year = 1900;
    dt.month = 1;
    dt.day = 0;  // day 0 shows as 1900-01-00
  }
  const long long whole = static_cast<long long>(std::floor(seconds));
  dt.fraction = seconds - static_cast<double>(whole);
  dt.hour = static_cast<int>(whole / 3600);
  dt.minute = static_cast<int>(whole / 60 % 60);
  dt.second = static_cast<int>(whole % 60);
  return dt;
}

std::u16string Padded(long long value, std::size_t width) {
  std::u16string text = Widen(std::to_string(value));
  while (text.size() < width) text = u"0" + text;
  return text;
}

std::u16string FormatDate(double serial, const Section& s, bool date1904) {
  bool fractional_seconds = false;
  for (const Token& t : s.tokens) {
    if (t.kind == Token::Kind::kDatePart && (t.text == u"0" || t.text == u".")) {
      fractional_seconds = true;
    }
  }
  const std::optional<DateTime> found = SerialToDateTime(serial, date1904, fractional_seconds);
  if (!found) return u"###";
  const DateTime& dt = *found;
  static constexpr std::array<std::u16string_view, 12> kMonths = {
      u"January", u"February", u"March",     u"April",   u"May",      u"June",
      u"July",    u"August",   u"September", u"October", u"November", u"December"};
  static constexpr std::array<std::u16string_view, 7> kDays = {
      u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
  static constexpr std::array<std::u16string_view, 7> kChineseDays = {u"日", u"一", u"二", u"三",
                                                                      u"四", u"五", u"六"};
  const double total_hours = std::floor(serial * 24.0 + 1e-9);

  std::u16string out;
  for (std::size_t k = 0; k < s.tokens.size(); ++k) {
    const Token& t = s.tokens[k];
    if (t.kind == Token::Kind::kElapsed) {
      if (t.text == u"h") out += Widen(std::to_string(static_cast<long long>(total_hours)));
      if (t.text == u"m") {
        out += Widen(std::to_string(static_cast<long long>(std::floor(serial * 1440.0 + 1e-9))));
      }
      if (t.text == u"s") {
        out += Widen(std::to_string(static_cast<long long>(std::round(serial * 86400.0))));
      }
      continue;
    }
    if (t.kind != Token::Kind::kDatePart) {
      if (t.kind == Token::Kind::kLiteral) out += t.text;
      continue;
    }
    const std::u16string& p = t.text;
    const std::size_t n = p.size();
    switch (p[0]) {
      case u'y':
      case u'e':
        out += n <= 2 && p[0] == u'y' ? Padded(dt.year % 100, 2) : Padded(dt.year, 4);
        break;
      case u'm': {
        // m is minutes right after hours or right before seconds, else the month.
        bool minutes = false;
        for (std::size_t j = k; j-- > 0;) {
          const Token& before = s.tokens[j];
          if (before.kind != Token::Kind::kDatePart && before.kind != Token::Kind::kElapsed) {
            continue;
          }
          minutes = before.text[0] == u'h';
          break;
        }
        for (std::size_t j = k + 1; !minutes && j < s.tokens.size(); ++j) {
          if (s.tokens[j].kind != Token::Kind::kDatePart) continue;
          minutes = s.tokens[j].text[0] == u's';
          break;
        }
        if (minutes) {
          out += Padded(dt.minute, n >= 2 ? 2 : 1);
        } else if (n <= 2) {
          out += Padded(dt.month, n);
        } else {
          const std::u16string_view name = kMonths[static_cast<std::size_t>(dt.month - 1)];
          out += n == 3 ? name.substr(0, 3) : n == 5 ? name.substr(0, 1) : name;
        }
        break;
      }
      case u'd':
        if (n <= 2) {
          out += Padded(dt.day, n);
        } else {
          const std::u16string_view name = kDays[static_cast<std::size_t>(dt.weekday)];
          out += n == 3 ? name.substr(0, 3) : name;
        }
        break;
      case u'a':
        out += n >= 4 ? u"星期" : u"";
        out += kChineseDays[static_cast<std::size_t>(dt.weekday)];
        break;
      case u'h': {
        int hour = dt.hour;
        if (s.twelve_hour) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        out += Padded(hour, n >= 2 ? 2 : 1);
        break;
      }
      case u's':
        out += Padded(dt.second, n >= 2 ? 2 : 1);
        break;
      case u'.': {
        std::size_t places = 0;
        while (k + 1 < s.tokens.size() && s.tokens[k + 1].kind == Token::Kind::kDatePart &&
               s.tokens[k + 1].text == u"0") {
          ++places;
          ++k;
        }
        if (places == 0) {
          out += u".";
        } else {
          const auto scaled = static_cast<long long>(
              std::round(dt.fraction * std::pow(10.0, static_cast<double>(places))));
          out += u"." + Padded(scaled, places);
        }
        break;
      }
      default:
        if (p == u"AM/PM") out += dt.hour < 12 ? u"AM" : u"PM";
        if (p == u"A/P") out += dt.hour < 12 ? u"A" : u"P";
        if (p == u"上午/下午") out += dt.hour < 12 ? u"上午" : u"下午";
        if (p == u"0") out += u"0";
        break;
    }
  }
  return out;
}

std::u16string FormatNumber(double value, const Section& s, bool date1904) {
  if (s.has_date) return FormatDate(value, s, date1904);
  if (s.has_general) {
    std::u16string out;
    for (const Token& t : s.tokens) {
      if (t.kind == Token::Kind::kGeneral) out += Widen(biff::FormatGeneral(value));
      if (t.kind == Token::Kind::kLiteral) out += t.text;
    }
    return out;
  }
  for (const Token& t : s.tokens) {
    if (t.kind == Token::Kind::kPercent) value *= 100;
  }
  value /= std::pow(1000.0, s.trailing_commas);
  if (!s.has_digits) {
    std::u16string out;
    for (const Token& t : s.tokens) {
      if (t.kind == Token::Kind::kLiteral || t.kind == Token::Kind::kPercent) out += t.text;
    }
    return out;
  }
  return FormatDigits(value, s);
}

std::u16string FormatText(const std::u16string& text, const Section& s) {
  std::u16string out;
  for (const Token& t : s.tokens) {
    if (t.kind == Token::Kind::kText) out += text;
    if (t.kind == Token::Kind::kLiteral) out += t.text;
  }
  return out;
}

}  // namespace

std::u16string BuiltInFormatCode(std::uint16_t index) {
  switch (index) {
    case 1:
      return u"0";
    case 2:
      return u"0.00";
    case 3:
      return u"#,##0";
    case 4:
      return u"#,##0.00";
    case 5:
    case 42:
      return u"\"¥\"#,##0;\"¥\"-#,##0";
    case 6:
      return u"\"¥\"#,##0;[Red]\"¥\"-#,##0";
    case 7:
    case 44:
      return u"\"¥\"#,##0.00;\"¥\"-#,##0.00";
    case 8:
      return u"\"¥\"#,##0.00;[Red]\"¥\"-#,##0.00";
    case 9:
      return u"0%";
    case 10:
      return u"0.00%";
    case 11:
      return u"0.00E+00";
    case 12:
      return u"# ?/?";
    case 13:
      return u"# ?\?/??";
    case 14:
      return u"yyyy/m/d";
    case 15:
      return u"d-mmm-yy";
    case 16:
      return u"d-mmm";
    case 17:
      return u"mmm-yy";
    case 18:
      return u"h:mm AM/PM";
    case 19:
      return u"h:mm:ss AM/PM";
    case 20:
      return u"h:mm";
    case 21:
      return u"h:mm:ss";
    case 22:
      return u"yyyy/m/d h:mm";
    case 27:
    case 36:
    case 50:
    case 57:
      return u"yyyy\"年\"m\"月\"";
    case 28:
    case 29:
    case 51:
    case 53:
    case 54:
    case 56:
    case 58:
      return u"m\"月\"d\"日\"";
    case 30:
      return u"m-d-yy";
    case 31:
    case 52:
      return u"yyyy\"年\"m\"月\"d\"日\"";
    case 32:
      return u"h\"时\"mm\"分\"";
    case 33:
      return u"h\"时\"mm\"分\"ss\"秒\"";
    case 34:
      return u"上午/下午h\"时\"mm\"分\"";
    case 35:
    case 55:
      return u"上午/下午h\"时\"mm\"分\"ss\"秒\"";
    case 37:
      return u"#,##0 ;(#,##0)";
    case 38:
      return u"#,##0 ;[Red](#,##0)";
    case 39:
      return u"#,##0.00;(#,##0.00)";
    case 40:
      return u"#,##0.00;[Red](#,##0.00)";
    case 41:
      return u"_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)";
    case 43:
      return u"_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)";
    case 45:
      return u"mm:ss";
    case 46:
      return u"[h]:mm:ss";
    case 47:
      return u"mm:ss.0";
    case 48:
      return u"##0.0E+0";
    case 49:
      return u"@";
    default:
      return u"General";
  }
}

FormattedValue FormatValue(const biff::CellValue& value, std::u16string_view code, bool date1904) {
  using Kind = biff::CellValue::Kind;
  FormattedValue out;
  if (value.kind == Kind::kEmpty) return out;
  if (value.kind == Kind::kBoolean || value.kind == Kind::kError) {
    out.text = biff::DisplayText(value);
    out.is_number = value.kind == Kind::kBoolean;
    return out;
  }

  std::vector<Section> sections;
  for (std::u16string_view part : SplitSections(code)) sections.push_back(ParseSection(part));

  if (value.kind == Kind::kString) {
    const Section* text_section = nullptr;
    if (sections.size() >= 4) {
      text_section = &sections[3];
    } else if (sections[0].has_text) {
      text_section = &sections[0];
    }
    if (text_section == nullptr) {
      out.text = value.text;
    } else {
      out.text = FormatText(value.text, *text_section);
      out.colour = text_section->colour;
    }
    return out;
  }

  const double v = value.number;
  out.is_number = true;
  if (!std::isfinite(v)) {
    out.text = u"#NUM!";  // no cell holds one; a damaged file might
    return out;
  }
  const Section* chosen = &sections[0];
  bool show_minus = false;
  const bool conditional = sections[0].condition.op != Condition::Op::kNone;
  if (conditional) {
    if (sections[0].condition.Holds(v)) {
      chosen = &sections[0];
    } else if (sections.size() > 1 && sections[1].condition.op != Condition::Op::kNone) {
      chosen = sections[1].condition.Holds(v) ? &sections[1]
               : sections.size() > 2          ? &sections[2]
                                              : &sections[1];
    } else if (sections.size() > 1) {
      chosen = &sections[1];
    }
    show_minus = v < 0 && chosen == &sections[0];
  } else if (v < 0 && sections.size() >= 2 && !sections[1].has_text) {
    chosen = &sections[1];
  } else if (v == 0 && sections.size() >= 3 && !sections[2].has_text) {
    chosen = &sections[2];
  } else {
    show_minus = v < 0;
  }
  if (chosen->has_text && !chosen->has_digits && !chosen->has_date && !chosen->has_general) {
    // "@" alone: numbers keep their General form.
    out.text = Widen(biff::FormatGeneral(v));
    return out;
  }
  std::u16string text = FormatNumber(chosen->has_date ? v : std::fabs(v), *chosen, date1904);
  // A value that rounds to nothing but zeros shows no minus: "-0.00" reads as a mistake.
  const bool all_zero = text.find_first_of(u"123456789") == std::u16string::npos;
  if (show_minus && !chosen->has_date && !all_zero) text = u"-" + text;
  out.text = std::move(text);
  out.colour = chosen->colour;
  return out;
}

}  // namespace xls::layout
