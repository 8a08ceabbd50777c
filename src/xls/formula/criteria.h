#pragma once

#include <string>

#include "xls/formula/value.h"

namespace xls::formula {

// The condition of COUNTIF and SUMIF: a number, boolean or text to equal, or a text made
// of a comparison (=, <>, <, <=, >, >=) and a number or text; texts compare without regard
// to case, and with = and <> the wildcards * and ? (~ takes the next one literally). A text
// operand that reads as a number ("12%", "1,200", "2026-12-08") is that number.
class Criterion {
 public:
  explicit Criterion(const Value& condition, bool date1904 = false);
  bool Matches(const Value& cell) const;

 private:
  enum class Comparison { kEqual, kNotEqual, kLess, kLessOrEqual, kGreater, kGreaterOrEqual };
  Comparison comparison_ = Comparison::kEqual;
  Value operand_;
};

}  // namespace xls::formula
