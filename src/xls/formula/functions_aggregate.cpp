// Functions over lists and ranges: SUM, COUNT, COUNTA, AVERAGE, MIN, MAX, PRODUCT, SUMIF,
// COUNTIF, SUMPRODUCT.
#include <algorithm>
#include <cmath>
#include <limits>

#include "xls/formula/coercion.h"
#include "xls/formula/criteria.h"
#include "xls/formula/function_table.h"
#include "xls/formula/operators.h"

namespace xls::formula {

namespace {

// The numbers of a list as SUM, AVERAGE, MIN, MAX and PRODUCT take them: from cells and
// arrays only numbers (texts and booleans are left out), given directly also booleans and
// texts that read as numbers. Errors end the function.
template <typename Visit>
void ForEachNumber(std::span<const Value> arguments, Context& context, Visit visit) {
  for (const Value& argument : arguments) {
    ForEachListValue(argument, context, [&](const Value& value, bool from_cells) {
      if (value.IsError()) throw ErrorResult{value.error};
      if (value.kind == Value::Kind::kNumber) {
        visit(value.number);
      } else if (!from_cells && value.kind != Value::Kind::kEmpty) {
        visit(ToNumber(value));
      }
    });
  }
}

Value Sum(std::span<const Value> a, Context& c) {
  double sum = 0;
  ForEachNumber(a, c, [&](double n) { sum += n; });
  return NumberResult(sum);
}
Value Product(std::span<const Value> a, Context& c) {
  double product = 1;
  bool any = false;
  ForEachNumber(a, c, [&](double n) {
    product *= n;
    any = true;
  });
  return NumberResult(any ? product : 0);
}
Value Average(std::span<const Value> a, Context& c) {
  double sum = 0;
  std::size_t count = 0;
  ForEachNumber(a, c, [&](double n) {
    sum += n;
    ++count;
  });
  if (count == 0) return Value::Error(ErrorCode::kDivisionByZero);
  return NumberResult(sum / static_cast<double>(count));
}
Value Min(std::span<const Value> a, Context& c) {
  double least = std::numeric_limits<double>::infinity();
  ForEachNumber(a, c, [&](double n) { least = std::min(least, n); });
  return NumberResult(std::isinf(least) ? 0 : least);
}
Value Max(std::span<const Value> a, Context& c) {
  double most = -std::numeric_limits<double>::infinity();
  ForEachNumber(a, c, [&](double n) { most = std::max(most, n); });
  return NumberResult(std::isinf(most) ? 0 : most);
}
Value Count(std::span<const Value> a, Context& c) {
  double count = 0;
  for (const Value& argument : a) {
    ForEachListValue(argument, c, [&](const Value& value, bool from_cells) {
      if (value.kind == Value::Kind::kNumber) {
        ++count;
      } else if (!from_cells && value.kind == Value::Kind::kBoolean) {
        ++count;
      } else if (!from_cells && value.kind == Value::Kind::kText) {
        try {
          ToNumber(value);
          ++count;
        } catch (const ErrorResult&) {
        }
      }
    });
  }
  return Value::Number(count);
}
Value CountA(std::span<const Value> a, Context& c) {
  double count = 0;
  for (const Value& argument : a) {
    ForEachListValue(argument, c, [&](const Value& value, bool from_cells) {
      if (value.kind != Value::Kind::kEmpty || !from_cells) ++count;
    });
  }
  return Value::Number(count);
}

// The first area of a reference argument; COUNTIF and SUMIF take nothing else.
Area RangeArgument(const Value& argument) {
  if (argument.kind != Value::Kind::kReference || argument.areas.size() != 1) {
    throw ErrorResult{ErrorCode::kValue};
  }
  return argument.areas.front();
}

Value CountIf(std::span<const Value> a, Context& c) {
  const Area range = RangeArgument(a[0]);
  const Criterion criterion(Scalar(a[1], c), c.Date1904());
  double count = 0;
  double visited = 0;
  c.ForEachCell(range, [&](biff::CellAddress, const Value& value) {
    ++visited;
    if (criterion.Matches(value)) ++count;
  });
  if (criterion.Matches(Value{})) {
    count += static_cast<double>(range.Rows() * range.Columns()) - visited;
  }
  return Value::Number(count);
}

Value SumIf(std::span<const Value> a, Context& c) {
  const Area range = RangeArgument(a[0]);
  const Criterion criterion(Scalar(a[1], c), c.Date1904());
  // The sum range has the shape of the range, from its own first cell.
  Area sum_range = range;
  if (a.size() > 2 && a[2].kind != Value::Kind::kEmpty) {
    const Area given = RangeArgument(a[2]);
    sum_range.sheet = given.sheet;
    sum_range.first_row = given.first_row;
    sum_range.first_column = given.first_column;
  }
  double sum = 0;
  const auto add = [&](int row_offset, int column_offset) {
    const auto row = static_cast<int>(sum_range.first_row) + row_offset;
    const auto column = static_cast<int>(sum_range.first_column) + column_offset;
    if (row > 0xFFFF || column > 0xFF) return;
    const Value value = c.CellValue(
        sum_range.sheet, {static_cast<std::uint16_t>(row), static_cast<std::uint16_t>(column)});
    if (value.IsError()) throw ErrorResult{value.error};
    if (value.kind == Value::Kind::kNumber) sum += value.number;
  };
  if (criterion.Matches(Value{})) {
    // Empty cells match too: every cell of the range is looked at.
    for (int r = 0; r < static_cast<int>(range.Rows()); ++r) {
      for (int col = 0; col < static_cast<int>(range.Columns()); ++col) {
        const Value value =
            c.CellValue(range.sheet, {static_cast<std::uint16_t>(range.first_row + r),
                                      static_cast<std::uint16_t>(range.first_column + col)});
        if (criterion.Matches(value)) add(r, col);
      }
    }
  } else {
    c.ForEachCell(range, [&](biff::CellAddress cell, const Value& value) {
      if (criterion.Matches(value)) {
        add(cell.row - range.first_row, cell.column - range.first_column);
      }
    });
  }
  return NumberResult(sum);
}

Value SumProduct(std::span<const Value> a, Context& c) {
  std::vector<Array> arrays;
  for (const Value& argument : a) {
    if (argument.kind == Value::Kind::kReference && argument.areas.size() != 1) {
      return Value::Error(ErrorCode::kValue);
    }
    arrays.push_back(ToArray(argument, c));
    if (arrays.back().rows != arrays.front().rows ||
        arrays.back().columns != arrays.front().columns) {
      return Value::Error(ErrorCode::kValue);
    }
  }
  double sum = 0;
  for (std::size_t i = 0; i < arrays.front().values.size(); ++i) {
    double product = 1;
    for (const Array& array : arrays) {
      const Value& value = array.values[i];
      if (value.IsError()) return value;
      product *= value.kind == Value::Kind::kNumber ? value.number : 0;
    }
    sum += product;
  }
  return NumberResult(sum);
}

constexpr int kMaxArguments = 30;

constexpr FunctionInfo kAggregate[] = {
    {4, u"SUM", 0, kMaxArguments, Sum},
    {0, u"COUNT", 0, kMaxArguments, Count},
    {169, u"COUNTA", 0, kMaxArguments, CountA},
    {5, u"AVERAGE", 1, kMaxArguments, Average},
    {6, u"MIN", 0, kMaxArguments, Min},
    {7, u"MAX", 0, kMaxArguments, Max},
    {183, u"PRODUCT", 0, kMaxArguments, Product},
    {345, u"SUMIF", 2, 3, SumIf},
    {346, u"COUNTIF", 2, 2, CountIf},
    {228, u"SUMPRODUCT", 1, kMaxArguments, SumProduct},
};

}  // namespace

std::span<const FunctionInfo> AggregateFunctions() {
  return kAggregate;
}

}  // namespace xls::formula
