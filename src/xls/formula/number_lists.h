#pragma once

#include <span>
#include <vector>

#include "xls/formula/context.h"
#include "xls/formula/value.h"

namespace xls::formula {

// How a function over lists takes its values. kNumbersOnly as SUM: from cells and arrays
// numbers only, given directly also booleans and texts that read as numbers. kAll as MAXA
// and AVERAGEA: from cells and arrays booleans count 1 and 0 and texts 0 as well. Errors
// end the function (ErrorResult).
enum class ListValues { kNumbersOnly, kAll };

std::vector<double> ListNumbers(std::span<const Value> arguments, Context& context,
                                ListValues which);

// Sums of squares about the mean, over n - 1 (sample) or n (population); #DIV/0! (thrown)
// when too few numbers.
double Variance(const std::vector<double>& numbers, bool sample);

}  // namespace xls::formula
