#pragma once

#include <cstdint>

#include "xls/formula/context.h"
#include "xls/formula/value.h"

namespace xls::formula {

// The operators of a formula (ids of biff::ptg): arithmetic, power, concatenation,
// comparisons, and the reference operators range, union and intersection. Arithmetic and
// comparisons over arrays work element by element.
Value ApplyBinaryOperator(std::uint8_t id, const Value& left, const Value& right, Context& context);
// A + or - that is a cell formula's last step, as Excel computes it: a result that is zero
// to 15 significant digits of its operands is 0 (=F18-SUM(F5:F17) gives 0, not -7.1E-15),
// where the same difference inside a larger expression keeps its last bits.
Value ApplyFinalSum(std::uint8_t id, const Value& left, const Value& right, Context& context);
// Unary plus, minus and percent.
Value ApplyUnaryOperator(std::uint8_t id, const Value& operand, Context& context);

// Compares two plain values as the comparison operators do: numbers before texts before
// booleans, texts without regard to case, an empty cell as 0, "" or FALSE.
int CompareValues(const Value& left, const Value& right);

// Whether two numbers are the same to the 15 significant digits spreadsheets show and
// compare: 0.1+0.2 equals 0.3.
bool EqualTo15Digits(double a, double b);

// A computed number as a cell may hold it: infinities and NaN are #NUM!.
Value NumberResult(double number);

}  // namespace xls::formula
