#include "xls/formula/array_lifting.h"

#include <algorithm>
#include <array>
#include <vector>

#include "xls/formula/coercion.h"
#include "xls/formula/elementwise.h"

namespace xls::formula {

namespace {

// BIFF8 numbers of functions whose every argument is one plain value.
constexpr std::array<std::uint16_t, 52> kElementFunctions{
    2,   3,   15,  16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  27,  31,  32,  33,
    38,  39,  48,  65,  66,  67,  68,  69,  70,  71,  72,  73,  82,  97,  98,  99,  111, 112,
    113, 115, 116, 117, 118, 120, 121, 124, 126, 127, 128, 190, 197, 198, 212, 213,
};

}  // namespace

std::optional<Value> LiftOverArrays(const FunctionInfo& function, std::span<const Value> arguments,
                                    Context& context) {
  if (std::find(kElementFunctions.begin(), kElementFunctions.end(), function.id) ==
      kElementFunctions.end()) {
    return std::nullopt;
  }
  std::vector<Value> operands;
  operands.reserve(arguments.size());
  bool any_array = false;
  for (const Value& argument : arguments) {
    operands.push_back(Operand(argument, context));
    any_array = any_array || operands.back().kind == Value::Kind::kArray;
  }
  if (!any_array) return std::nullopt;
  std::vector<Array> arrays;
  arrays.reserve(operands.size());
  Array shape;
  for (const Value& operand : operands) {
    arrays.push_back(ToArray(operand, context));
    shape.rows = std::max(shape.rows, arrays.back().rows);
    shape.columns = std::max(shape.columns, arrays.back().columns);
  }
  return CombineArrays({&shape}, [&](std::size_t row, std::size_t column) -> Value {
    std::vector<Value> elements;
    elements.reserve(arrays.size());
    for (const Array& array : arrays) elements.push_back(Broadcast(array, row, column));
    try {
      return function.body(elements, context);
    } catch (const ErrorResult& error) {
      return Value::Error(error.code);
    }
  });
}

}  // namespace xls::formula
