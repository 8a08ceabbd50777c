#pragma once

#include <string>

#include "xls/formula/value.h"

namespace xls::formula {

// The condition of COUNTIF and SUMIF: a number, boolean or text to equal, or a text made
// of a comparison (=, <>, <, <=, >, >=) and a number or text; texts compare without regard
// to case, and with = and <> the wildcards * and ? (~ takes the next one literally). A text
// operand that reads as a number ("12%", "1,200", "2026-12-08") is that number, and is
// also equalled by a cell holding that same text.
class Criterion {
 public:
  explicit Criterion(const Value& condition, bool date1904 = false);
  bool Matches(const Value& cell) const;

 private:
  enum class Comparison { kEqual, kNotEqual, kLess, kLessOrEqual, kGreater, kGreaterOrEqual };
  Comparison comparison_ = Comparison::kEqual;
  Value operand_;
  std::u16string number_text_;  // the text a number operand was read from
};

}  // namespace xls::formula
