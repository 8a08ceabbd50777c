#pragma once

#include <optional>
#include <string>
#include <vector>

#include "xls/number_format/numeral_systems.h"
#include "xls/number_format/rgb.h"

namespace xls::number_format {

// A section's condition ([>=100]); a section without one is chosen by its place.
struct Condition {
  enum class Op { kNone, kLess, kLessEqual, kGreater, kGreaterEqual, kEqual, kNotEqual };
  Op op = Op::kNone;
  double operand = 0;
  bool Holds(double v) const;
};

// One piece of a section, in the order the code writes them.
struct Token {
  enum class Kind {
    kLiteral,    // text shown as it is
    kDigit,      // 0 # ?
    kPoint,      // the decimal point
    kThousands,  // a comma among the integer digits
    kPercent,
    kExponent,  // E+ or E-
    kDatePart,  // Y M D H S AM/PM and their kin: the letters upper-cased, as many as written
    kElapsed,   // [h] [m] [s]: H M S
    kText,      // @
    kGeneral,   // General, or its Chinese name G/通用格式
  };
  Kind kind = Kind::kLiteral;
  std::u16string text;
};

// One of a format code's sections (positive;negative;zero;text), split into what it shows.
struct Section {
  std::vector<Token> tokens;
  Condition condition;
  std::optional<Rgb> colour;
  Numerals numerals = Numerals::kArabic;
  // Set by a locale tag's numeral system ([$-1E000804] and kin, as LibreOffice saves DBNum
  // codes in .xls files): numbers keep their digits, each written in the numerals (二三〇一),
  // as LibreOffice reads such codes; dates are shown as the DBNum codes show them.
  bool numerals_one_for_one = false;
  bool has_date = false;
  bool has_digits = false;
  bool has_text = false;
  bool has_general = false;
  bool has_modifier = false;  // a numeral system or a locale: alone in a section they mean General
  bool twelve_hour = false;
  int trailing_commas = 0;  // each divides by 1000
};

}  // namespace xls::number_format
