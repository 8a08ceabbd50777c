#pragma once

#include <optional>
#include <span>

#include "xls/formula/context.h"
#include "xls/formula/function_table.h"
#include "xls/formula/value.h"

namespace xls::formula {

// A function of plain values (ISNUMBER, ROUND, LEFT, …) given arrays where it takes one
// value, as in an array formula over ranges (`{=SUM(IF(ISNUMBER(D5:D17),…))}`) or an array
// argument of SUMPRODUCT: the array of its results element by element. Nothing where the
// function takes ranges or lists itself, or no argument is an array.
std::optional<Value> LiftOverArrays(const FunctionInfo& function, std::span<const Value> arguments,
                                    Context& context);

}  // namespace xls::formula
