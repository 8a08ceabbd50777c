#include "xls/number_format/digit_format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "xls/biff/general_number_format.h"
#include "xls/number_format/decimal_rounding.h"
#include "xls/number_format/digits_among_literals.h"

namespace xls::number_format {

namespace {

// The placeholders of a section, on each side of the point and of the exponent.
struct Placeholders {
  int integer_places = 0;
  int integer_zeros = 0;
  int decimals = 0;
  int decimal_zeros = 0;
  int exponent_zeros = 0;
  bool point = false;
  bool exponent = false;
  bool exponent_plus = false;
  bool grouping = false;
  std::u16string integer_kinds;  // the integer placeholders (0 # ?) in order
  std::u16string decimal_kinds;  // the decimal ones
};

Placeholders CountPlaceholders(const Section& s) {
  Placeholders p;
  for (const Token& t : s.tokens) {
    if (t.kind == Token::Kind::kExponent) {
      p.exponent = true;
      p.exponent_plus = t.text[1] == u'+';
    } else if (t.kind == Token::Kind::kPoint && !p.exponent) {
      p.point = true;
    } else if (t.kind == Token::Kind::kThousands && !p.point) {
      p.grouping = true;
    } else if (t.kind == Token::Kind::kDigit) {
      const bool zero = t.text == u"0";
      if (p.exponent) {
        p.exponent_zeros += zero ? 1 : 0;
      } else if (p.point) {
        p.decimal_kinds += t.text;
        ++p.decimals;
        p.decimal_zeros += zero ? 1 : 0;
      } else {
        p.integer_kinds += t.text;
        ++p.integer_places;
        p.integer_zeros += zero ? 1 : 0;
      }
    }
  }
  return p;
}

// Takes the power of ten out of the value for scientific notation. Engineering-style codes
// (##0.0E+0) keep the exponent a multiple of the integer places.
int TakeExponent(double& value, const Placeholders& p) {
  if (!p.exponent || value == 0) return 0;
  const int step = p.integer_places > 1 ? p.integer_places : 1;
  const int exponent = static_cast<int>(std::floor(std::log10(value)));
  const int stepped = static_cast<int>(std::floor(static_cast<double>(exponent) / step)) * step;
  value /= std::pow(10.0, stepped);
  return stepped;
}

// Optional decimals drop their zeros; the integer part fills its 0 placeholders.
void FitToPlaceholders(RoundedDigits& digits, const Placeholders& p) {
  std::string& decimals = digits.decimals;
  while (static_cast<int>(decimals.size()) > p.decimal_zeros && !decimals.empty() &&
         decimals.back() == '0') {
    decimals.pop_back();
  }
  std::string& integer = digits.integer;
  if (integer == "0" && p.integer_zeros == 0) integer.clear();
  if (static_cast<int>(integer.size()) < p.integer_zeros) {
    integer.insert(0, static_cast<std::size_t>(p.integer_zeros) - integer.size(), '0');
  }
}

std::string Grouped(const std::string& integer) {
  if (integer.size() <= 3) return integer;
  const std::size_t first = integer.size() % 3 == 0 ? 3 : integer.size() % 3;
  std::string grouped = integer.substr(0, first);
  for (std::size_t k = first; k < integer.size(); k += 3) {
    grouped += ',';
    grouped += integer.substr(k, 3);
  }
  return grouped;
}

std::string ExponentText(int exponent, const Placeholders& p) {
  std::string digits = std::to_string(std::abs(exponent));
  if (static_cast<int>(digits.size()) < p.exponent_zeros) {
    digits.insert(0, static_cast<std::size_t>(p.exponent_zeros) - digits.size(), '0');
  }
  if (exponent < 0) return "E-" + digits;
  return (p.exponent_plus ? "E+" : "E") + digits;
}

// The number itself. The Chinese systems read the whole part out, so they neither group nor
// pad it; scientific notation stays in Arabic digits, as LibreOffice keeps it.
std::u16string NumberText(const RoundedDigits& digits, int exponent, const Placeholders& p,
                          const Section& s) {
  const bool read_out = s.numerals != Numerals::kArabic && !s.numerals_one_for_one;
  if (read_out && !p.exponent) {
    return CountedWithDecimals(digits.integer, digits.decimals, p.point, s.numerals);
  }
  std::string number = p.grouping ? Grouped(digits.integer) : digits.integer;
  if (p.point) number += "." + digits.decimals;
  if (p.exponent) {
    number += ExponentText(exponent, p);
  } else {
    // A ? placeholder without a digit to show keeps its room as a space, so decimal points
    // line up down a column: 1.5 by 0.0?? is "1.5  ", 12 by ???0 "  12".
    const auto spaces = [](std::u16string_view kinds) {
      return static_cast<std::size_t>(std::count(kinds.begin(), kinds.end(), u'?'));
    };
    const std::size_t shown = digits.integer.size();
    const std::u16string_view integer_kinds = p.integer_kinds;
    if (shown < integer_kinds.size()) {
      number.insert(0, spaces(integer_kinds.substr(0, integer_kinds.size() - shown)), ' ');
    }
    const std::u16string_view decimal_kinds = p.decimal_kinds;
    if (digits.decimals.size() < decimal_kinds.size()) {
      number.append(spaces(decimal_kinds.substr(digits.decimals.size())), ' ');
    }
  }
  return Digits(number, p.exponent ? Numerals::kArabic : s.numerals);
}

// The literal text before the first placeholder, the number, then what follows it.
std::u16string AroundNumber(const Section& s, const std::u16string& number) {
  std::u16string before;
  std::u16string after;
  bool in_number = false;
  for (const Token& t : s.tokens) {
    switch (t.kind) {
      case Token::Kind::kDigit:
      case Token::Kind::kPoint:
      case Token::Kind::kThousands:
      case Token::Kind::kExponent:
        in_number = true;
        break;
      case Token::Kind::kText:
      case Token::Kind::kGeneral:
        break;
      default:
        (in_number ? after : before) += t.text;
    }
  }
  return before + number + after;
}

bool AllZero(std::string_view digits) {
  return digits.find_first_of("123456789") == std::string_view::npos;
}

}  // namespace

ShownNumber FormatDigits(double magnitude, const Section& section) {
  const Placeholders p = CountPlaceholders(section);
  const int exponent = TakeExponent(magnitude, p);
  RoundedDigits digits = RoundToDecimals(magnitude, p.decimals);
  FitToPlaceholders(digits, p);
  const bool zero = AllZero(digits.integer) && AllZero(digits.decimals);
  if (HasLiteralAmongDigits(section)) {
    return {DigitsAmongLiterals(digits.integer, digits.decimals, section), zero};
  }
  const std::u16string number = NumberText(digits, exponent, p, section);
  return {AroundNumber(section, number), zero};
}

ShownNumber FormatGeneralSection(double magnitude, const Section& section) {
  ShownNumber out;
  for (const Token& t : section.tokens) {
    if (t.kind == Token::Kind::kGeneral) out.text += GeneralText(magnitude, section);
    if (t.kind == Token::Kind::kLiteral) out.text += t.text;
  }
  out.zero = AllZero(biff::FormatGeneral(magnitude));
  return out;
}

std::u16string GeneralText(double value, const Section& section) {
  std::string general = biff::FormatGeneral(value);
  const Numerals numerals = section.numerals;
  if (general.find('E') != std::string::npos) return Digits(general, Numerals::kArabic);
  if (numerals == Numerals::kArabic || section.numerals_one_for_one) {
    return Digits(general, numerals);
  }
  const bool negative = !general.empty() && general[0] == '-';
  if (negative) general.erase(0, 1);
  const std::size_t point = general.find('.');
  const std::string_view digits = general;
  const std::u16string number =
      point == std::string::npos
          ? Counted(digits, numerals)
          : CountedWithDecimals(digits.substr(0, point), digits.substr(point + 1), true, numerals);
  return negative ? u"-" + number : number;
}

}  // namespace xls::number_format
