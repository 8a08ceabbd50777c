#include "xls/formula/number_lists.h"

#include "xls/formula/coercion.h"

namespace xls::formula {

std::vector<double> ListNumbers(std::span<const Value> arguments, Context& context,
                                ListValues which) {
  std::vector<double> numbers;
  for (const Value& argument : arguments) {
    ForEachListValue(argument, context, [&](const Value& value, bool from_cells) {
      if (value.IsError()) throw ErrorResult{value.error};
      if (value.kind == Value::Kind::kNumber) {
        numbers.push_back(value.number);
      } else if (!from_cells) {
        if (value.kind != Value::Kind::kEmpty)
          numbers.push_back(ToNumber(value, context.Date1904()));
      } else if (which == ListValues::kAll) {
        if (value.kind == Value::Kind::kBoolean) numbers.push_back(value.boolean ? 1 : 0);
        if (value.kind == Value::Kind::kText) numbers.push_back(0);
      }
    });
  }
  return numbers;
}

double Variance(const std::vector<double>& numbers, bool sample) {
  const std::size_t n = numbers.size();
  if (n == 0 || (sample && n == 1)) throw ErrorResult{ErrorCode::kDivisionByZero};
  double mean = 0;
  for (const double x : numbers) mean += x;
  mean /= static_cast<double>(n);
  double squares = 0;
  for (const double x : numbers) squares += (x - mean) * (x - mean);
  return squares / static_cast<double>(sample ? n - 1 : n);
}

}  // namespace xls::formula
