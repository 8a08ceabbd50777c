#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "xls/formula/context.h"
#include "xls/formula/value.h"

namespace xls::formula {

// A function's body: its arguments as evaluated (references stay references, a left-out
// argument is kEmpty with `missing`), its result. An ErrorResult thrown inside becomes the
// result.
using FunctionBody = Value (*)(std::span<const Value> arguments, Context& context);

struct FunctionInfo {
  std::uint16_t id = 0;  // BIFF8's function number
  std::u16string_view name;
  int min_arguments = 0;
  int max_arguments = 0;  // equal to min_arguments for functions of fixed arity
  FunctionBody body = nullptr;
  bool is_volatile = false;
};

// The functions this engine computes, by BIFF8 number or by name (upper case, without the
// "_xlfn." that marks functions newer than the format). Nothing for any other function.
const FunctionInfo* FunctionById(std::uint16_t id);
const FunctionInfo* FunctionByName(std::u16string_view name);

// How many arguments a function of fixed arity takes, as PtgFunc does not say; nothing for
// functions this engine does not know.
std::optional<int> FixedArity(std::uint16_t id);

// A function's name for messages: its name in BIFF8's function table, else its number.
std::u16string FunctionName(std::uint16_t id);

// The tables of the function groups (functions_*.cpp).
std::span<const FunctionInfo> MathFunctions();
std::span<const FunctionInfo> AggregateFunctions();
std::span<const FunctionInfo> LogicalFunctions();
std::span<const FunctionInfo> TextFunctions();
std::span<const FunctionInfo> DateFunctions();
std::span<const FunctionInfo> TextSearchFunctions();
std::span<const FunctionInfo> TextConvertFunctions();
std::span<const FunctionInfo> MoreMathFunctions();
std::span<const FunctionInfo> StatisticsFunctions();
std::span<const FunctionInfo> MoreDateFunctions();
std::span<const FunctionInfo> InformationFunctions();
std::span<const FunctionInfo> LookupFunctions();
std::span<const FunctionInfo> ReferenceFunctions();

}  // namespace xls::formula
