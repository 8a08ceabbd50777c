#include "xls/formula/array_lifting.h"

#include <algorithm>
#include <array>
#include <vector>

#include "xls/formula/coercion.h"
#include "xls/formula/elementwise.h"

namespace xls::formula {

namespace {

// BIFF8 numbers of functions whose every argument is one plain value.
constexpr std::array<std::uint16_t, 53> kElementFunctions{
    2,   3,   15,  16,  17,  18,  19,  20,  21,  22,  23,  24,  25,  26,  27,  31,  32,  33,
    38,  39,  48,  65,  66,  67,  68,  69,  70,  71,  72,  73,  82,  97,  98,  99,  111, 112,
    113, 115, 116, 117, 118, 120, 121, 124, 126, 127, 128, 129, 190, 197, 198, 212, 213,
};

// ISEVEN and ISODD, of the Analysis ToolPak: Excel takes them element by element over an
// array (`ISEVEN(A1:C1+0)`) but refuses a range of several cells with #VALUE!, in an array
// formula and in SUMPRODUCT alike.
constexpr std::array<std::uint16_t, 2> kArrayOnlyFunctions{0xF240, 0xF241};

bool Holds(std::span<const std::uint16_t> ids, std::uint16_t id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool SeveralCells(const Value& argument) {
  return argument.kind == Value::Kind::kReference &&
         (argument.areas.size() != 1 || !argument.areas.front().SingleCell());
}

}  // namespace

std::optional<Value> LiftOverArrays(const FunctionInfo& function, std::span<const Value> arguments,
                                    Context& context) {
  const bool array_only = Holds(kArrayOnlyFunctions, function.id);
  if (!array_only && !Holds(kElementFunctions, function.id)) return std::nullopt;
  std::vector<Value> operands;
  operands.reserve(arguments.size());
  bool any_array = false;
  for (const Value& argument : arguments) {
    if (array_only && SeveralCells(argument) && (argument.array_class || context.ArrayFormula())) {
      return Value::Error(ErrorCode::kValue);
    }
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
