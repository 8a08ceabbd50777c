// Functions that look a value up in a table: VLOOKUP, HLOOKUP, LOOKUP, MATCH.
#include <cmath>
#include <optional>

#include "xls/formula/coercion.h"
#include "xls/formula/function_table.h"
#include "xls/formula/lookup_line.h"

namespace xls::formula {

namespace {

// A table argument as areas or values: a reference's one area, or an array.
struct Table {
  std::optional<Area> area;
  Array array;

  std::size_t Rows() const { return area ? area->Rows() : array.rows; }
  std::size_t Columns() const { return area ? area->Columns() : array.columns; }
};

Table TableArgument(const Value& argument, Context& context) {
  Table table;
  if (argument.kind == Value::Kind::kReference) {
    if (argument.areas.size() != 1) throw ErrorResult{ErrorCode::kReference};
    table.area = argument.areas.front();
  } else {
    if (argument.IsError()) throw ErrorResult{argument.error};
    table.array = ToArray(argument, context);
  }
  return table;
}

// Row `index` (a column where `vertical`) of a table as a line to search. A reference's
// line comes from the calculation's lines where it keeps them, built once for every lookup.
class TableLine {
 public:
  TableLine(const Table& table, bool vertical, std::size_t index, Context& context) {
    if (table.area) {
      Area line = *table.area;
      if (vertical) {
        line.first_column = line.last_column =
            static_cast<std::uint16_t>(line.first_column + index);
      } else {
        line.first_row = line.last_row = static_cast<std::uint16_t>(line.first_row + index);
      }
      if (LookupLines* lines = context.Lines()) {
        line_ = &lines->Line(line, context);
      } else {
        LookupLines once;
        own_.emplace(once.Line(line, context));
        line_ = &*own_;
      }
      return;
    }
    std::vector<Value> values;
    const std::size_t count = vertical ? table.array.rows : table.array.columns;
    for (std::size_t i = 0; i < count; ++i) {
      values.push_back(vertical ? table.array.At(i, index) : table.array.At(index, i));
    }
    own_.emplace(std::move(values));
    line_ = &*own_;
  }
  const LookupLine& operator*() const { return *line_; }
  const LookupLine* operator->() const { return line_; }

 private:
  std::optional<LookupLine> own_;
  const LookupLine* line_ = nullptr;
};

// The value a lookup takes: an error ends it, an empty cell is looked for as 0 where the
// line is sorted and is nowhere found among values.
Value WantedValue(const Value& argument, Context& context) {
  const Value wanted = Scalar(argument, context);
  if (wanted.IsError()) throw ErrorResult{wanted.error};
  return wanted;
}

enum class Match { kExact, kNotAbove, kNotBelow };

std::optional<std::size_t> Find(const LookupLine& line, Value wanted, Match match) {
  if (wanted.kind == Value::Kind::kEmpty) {
    if (match == Match::kExact) return std::nullopt;
    wanted = Value::Number(0);
  }
  switch (match) {
    case Match::kExact:
      return line.FindExact(wanted, true);
    case Match::kNotAbove:
      return line.FindLastNotAbove(wanted);
    case Match::kNotBelow:
      return line.FindLastNotBelow(wanted);
  }
  return std::nullopt;
}

// Cell (row, column) of a table, counted from 0 from its first cell.
Value TableCell(const Table& table, std::size_t row, std::size_t column, Context& context) {
  if (table.area) {
    return context.CellValue(table.area->sheet,
                             {static_cast<std::uint16_t>(table.area->first_row + row),
                              static_cast<std::uint16_t>(table.area->first_column + column)});
  }
  return table.array.At(row, column);
}

// Sorted unless told otherwise; an argument left empty (`VLOOKUP(x,t,2,)`) says FALSE.
bool SortedArgument(std::span<const Value> a, std::size_t at, Context& c) {
  if (a.size() <= at) return true;
  return BooleanArgument(a[at], c);
}

// VLOOKUP and HLOOKUP: the value in line `index` of the table where its first line holds
// the value looked for.
Value TableLookup(std::span<const Value> a, Context& c, bool vertical) {
  const Value wanted = WantedValue(a[0], c);
  const Table table = TableArgument(a[1], c);
  const double index = std::trunc(NumberArgument(a[2], c));
  const bool sorted = SortedArgument(a, 3, c);
  if (index < 1) return Value::Error(ErrorCode::kValue);
  const std::size_t width = vertical ? table.Columns() : table.Rows();
  if (index > static_cast<double>(width)) return Value::Error(ErrorCode::kReference);
  const TableLine line(table, vertical, 0, c);
  const std::optional<std::size_t> at =
      Find(*line, wanted, sorted ? Match::kNotAbove : Match::kExact);
  if (!at) return Value::Error(ErrorCode::kNotAvailable);
  const auto other = static_cast<std::size_t>(index) - 1;
  return vertical ? TableCell(table, *at, other, c) : TableCell(table, other, *at, c);
}

Value VLookup(std::span<const Value> a, Context& c) {
  return TableLookup(a, c, true);
}
Value HLookup(std::span<const Value> a, Context& c) {
  return TableLookup(a, c, false);
}

Value MatchFunction(std::span<const Value> a, Context& c) {
  const Value wanted = WantedValue(a[0], c);
  const Table table = TableArgument(a[1], c);
  // An argument left empty is 0, as in VLOOKUP.
  const double type = a.size() > 2 ? NumberArgument(a[2], c) : 1;
  if (table.Rows() != 1 && table.Columns() != 1) return Value::Error(ErrorCode::kNotAvailable);
  const bool vertical = table.Columns() == 1 && table.Rows() != 1;
  const TableLine line(table, vertical, 0, c);
  const Match match = type > 0 ? Match::kNotAbove : (type < 0 ? Match::kNotBelow : Match::kExact);
  const std::optional<std::size_t> at = Find(*line, wanted, match);
  if (!at) return Value::Error(ErrorCode::kNotAvailable);
  return Value::Number(static_cast<double>(*at + 1));
}

// LOOKUP: in a vector (or the first row or column of a table, whichever is longer), the
// last value not above the one looked for; the result from the same place in the result
// vector (or the table's last row or column).
Value Lookup(std::span<const Value> a, Context& c) {
  const Value wanted = WantedValue(a[0], c);
  const Table searched = TableArgument(a[1], c);
  const bool vertical = searched.Rows() >= searched.Columns();
  const TableLine line(searched, vertical, 0, c);
  const std::optional<std::size_t> at = Find(*line, wanted, Match::kNotAbove);
  if (!at) return Value::Error(ErrorCode::kNotAvailable);
  if (a.size() < 3) {
    return vertical ? TableCell(searched, *at, searched.Columns() - 1, c)
                    : TableCell(searched, searched.Rows() - 1, *at, c);
  }
  const Table result = TableArgument(a[2], c);
  // A result vector shorter than the lookup vector reads on past its end, as Excel does.
  const bool result_vertical = result.Columns() == 1 && result.Rows() != 1;
  if (!result.area) {
    const std::size_t length = result.array.values.size();
    return *at < length ? result.array.values[*at] : Value::Error(ErrorCode::kNotAvailable);
  }
  const bool one_cell = result.Rows() == 1 && result.Columns() == 1;
  const bool down = result_vertical || (one_cell && vertical);
  const std::size_t limit =
      down ? 0xFFFFu - result.area->first_row : 0xFFu - result.area->first_column;
  if (*at > limit) return Value::Error(ErrorCode::kReference);
  return down ? TableCell(result, *at, 0, c) : TableCell(result, 0, *at, c);
}

constexpr FunctionInfo kLookup[] = {
    {102, u"VLOOKUP", 3, 4, VLookup},
    {101, u"HLOOKUP", 3, 4, HLookup},
    {28, u"LOOKUP", 2, 3, Lookup},
    {64, u"MATCH", 2, 3, MatchFunction},
};

}  // namespace

std::span<const FunctionInfo> LookupFunctions() {
  return kLookup;
}

}  // namespace xls::formula
