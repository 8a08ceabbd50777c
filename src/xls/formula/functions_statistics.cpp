// Statistics and conditional aggregates: SUMIFS, COUNTIFS, AVERAGEIF, AVERAGEIFS, MAXIFS,
// MINIFS, SUBTOTAL, COUNTBLANK, LARGE, SMALL, RANK, MEDIAN, MODE, STDEV, STDEVP, VAR, VARP,
// MAXA, MINA, AVERAGEA.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "xls/formula/coercion.h"
#include "xls/formula/criteria.h"
#include "xls/formula/function_table.h"
#include "xls/formula/number_lists.h"
#include "xls/formula/operators.h"

namespace xls::formula {

namespace {

using Offset = std::pair<std::size_t, std::size_t>;  // row and column within a range

Area SingleArea(const Value& argument) {
  if (argument.kind != Value::Kind::kReference || argument.areas.size() != 1) {
    throw ErrorResult{ErrorCode::kValue};
  }
  return argument.areas.front();
}

biff::CellAddress At(const Area& area, Offset offset) {
  return {static_cast<std::uint16_t>(area.first_row + offset.first),
          static_cast<std::uint16_t>(area.first_column + offset.second)};
}

// The positions where every range meets its criterion (range, criterion pairs from
// `first`). The ranges must have one shape. A criterion an empty cell fails drives the
// search through the cells that hold something; only when every one matches empty cells is
// the whole shape walked.
std::vector<Offset> Matching(std::span<const Value> a, std::size_t first, Context& c) {
  if ((a.size() - first) % 2 != 0 || a.size() == first) throw ErrorResult{ErrorCode::kValue};
  std::vector<std::pair<Area, Criterion>> tests;
  for (std::size_t i = first; i < a.size(); i += 2) {
    tests.emplace_back(SingleArea(a[i]), Criterion(Scalar(a[i + 1], c), c.Date1904()));
    const Area& area = tests.back().first;
    if (area.Rows() != tests.front().first.Rows() ||
        area.Columns() != tests.front().first.Columns()) {
      throw ErrorResult{ErrorCode::kValue};
    }
  }
  const auto driver = std::find_if(tests.begin(), tests.end(),
                                   [](const auto& test) { return !test.second.Matches(Value{}); });
  std::vector<Offset> candidates;
  if (driver != tests.end()) {
    const Area& area = driver->first;
    c.ForEachCell(area, [&](biff::CellAddress cell, const Value& value) {
      if (driver->second.Matches(value)) {
        candidates.emplace_back(cell.row - area.first_row, cell.column - area.first_column);
      }
    });
  } else {
    const Area& area = tests.front().first;
    for (std::size_t r = 0; r < area.Rows(); ++r) {
      for (std::size_t col = 0; col < area.Columns(); ++col) candidates.emplace_back(r, col);
    }
  }
  std::vector<Offset> matching;
  for (const Offset& offset : candidates) {
    const bool all = std::all_of(tests.begin(), tests.end(), [&](const auto& test) {
      return test.second.Matches(c.CellValue(test.first.sheet, At(test.first, offset)));
    });
    if (all) matching.push_back(offset);
  }
  return matching;
}

// The numbers of `range` at the given positions; texts, booleans and empty cells left out.
std::vector<double> NumbersAt(const Area& range, const std::vector<Offset>& offsets, Context& c) {
  std::vector<double> numbers;
  for (const Offset& offset : offsets) {
    if (range.first_row + offset.first > 0xFFFF || range.first_column + offset.second > 0xFF) {
      continue;
    }
    const Value value = c.CellValue(range.sheet, At(range, offset));
    if (value.IsError()) throw ErrorResult{value.error};
    if (value.kind == Value::Kind::kNumber) numbers.push_back(value.number);
  }
  return numbers;
}

double Total(const std::vector<double>& numbers) {
  double sum = 0;
  for (const double x : numbers) sum += x;
  return sum;
}

Value Mean(const std::vector<double>& numbers) {
  if (numbers.empty()) return Value::Error(ErrorCode::kDivisionByZero);
  return NumberResult(Total(numbers) / static_cast<double>(numbers.size()));
}

Value Extreme(const std::vector<double>& numbers, bool largest) {
  if (numbers.empty()) return Value::Number(0);
  return Value::Number(largest ? *std::max_element(numbers.begin(), numbers.end())
                               : *std::min_element(numbers.begin(), numbers.end()));
}

Value SumIfs(std::span<const Value> a, Context& c) {
  const Area sum_range = SingleArea(a[0]);
  const std::vector<Offset> matching = Matching(a, 1, c);
  if (sum_range.Rows() != SingleArea(a[1]).Rows() ||
      sum_range.Columns() != SingleArea(a[1]).Columns()) {
    return Value::Error(ErrorCode::kValue);
  }
  return NumberResult(Total(NumbersAt(sum_range, matching, c)));
}

Value CountIfs(std::span<const Value> a, Context& c) {
  return Value::Number(static_cast<double>(Matching(a, 0, c).size()));
}

Value AverageIf(std::span<const Value> a, Context& c) {
  const Area range = SingleArea(a[0]);
  // The average range takes the range's shape from its own first cell, as SUMIF's.
  Area values = range;
  if (a.size() > 2 && a[2].kind != Value::Kind::kEmpty) {
    const Area given = SingleArea(a[2]);
    values.sheet = given.sheet;
    values.first_row = given.first_row;
    values.first_column = given.first_column;
  }
  const Value pair[] = {a[0], a[1]};
  return Mean(NumbersAt(values, Matching(pair, 0, c), c));
}

template <int kWhat>  // 0 average, 1 largest, -1 least
Value ConditionalOf(std::span<const Value> a, Context& c) {
  const Area range = SingleArea(a[0]);
  if (a.size() < 3 || range.Rows() != SingleArea(a[1]).Rows() ||
      range.Columns() != SingleArea(a[1]).Columns()) {
    return Value::Error(ErrorCode::kValue);
  }
  const std::vector<double> numbers = NumbersAt(range, Matching(a, 1, c), c);
  if (kWhat == 0) return Mean(numbers);
  return Extreme(numbers, kWhat > 0);
}

Value CountBlank(std::span<const Value> a, Context& c) {
  const Area range = SingleArea(a[0]);
  double filled = 0;
  c.ForEachCell(range, [&](biff::CellAddress, const Value& value) {
    if (value.kind != Value::Kind::kText || !value.text.empty()) ++filled;
  });
  return Value::Number(static_cast<double>(range.Rows() * range.Columns()) - filled);
}

// SUBTOTAL's functions 1 to 11 (AVERAGE, COUNT, COUNTA, MAX, MIN, PRODUCT, STDEV, STDEVP,
// SUM, VAR, VARP) over the cells of references, leaving out other SUBTOTALs and, for 101 to
// 111, hidden rows.
Value Subtotal(std::span<const Value> a, Context& c) {
  const int code = static_cast<int>(std::trunc(NumberArgument(a[0], c)));
  const bool skip_hidden = code > 100;
  const int function = skip_hidden ? code - 100 : code;
  if (function < 1 || function > 11) return Value::Error(ErrorCode::kValue);
  std::vector<double> numbers;
  double filled = 0;
  for (const Value& argument : a.subspan(1)) {
    if (argument.kind != Value::Kind::kReference) {
      // Values rather than cells: as the plain function takes them.
      const std::vector<double> given = ListNumbers({&argument, 1}, c, ListValues::kNumbersOnly);
      numbers.insert(numbers.end(), given.begin(), given.end());
      filled += static_cast<double>(given.size());
      continue;
    }
    for (const Area& area : argument.areas) {
      c.ForEachCell(area, [&](biff::CellAddress cell, const Value& value) {
        if (c.SubtotalCell(area.sheet, cell)) return;
        if (skip_hidden && c.RowHidden(area.sheet, cell.row)) return;
        ++filled;
        if (value.IsError()) {
          if (function == 2 || function == 3) return;  // COUNT and COUNTA pass errors by
          throw ErrorResult{value.error};
        }
        if (value.kind == Value::Kind::kNumber) numbers.push_back(value.number);
      });
    }
  }
  switch (function) {
    case 1:
      return Mean(numbers);
    case 2:
      return Value::Number(static_cast<double>(numbers.size()));
    case 3:
      return Value::Number(filled);
    case 4:
      return Extreme(numbers, true);
    case 5:
      return Extreme(numbers, false);
    case 6: {
      if (numbers.empty()) return Value::Number(0);
      double product = 1;
      for (const double x : numbers) product *= x;
      return NumberResult(product);
    }
    case 7:
      return NumberResult(std::sqrt(Variance(numbers, true)));
    case 8:
      return NumberResult(std::sqrt(Variance(numbers, false)));
    case 9:
      return NumberResult(Total(numbers));
    case 10:
      return NumberResult(Variance(numbers, true));
    default:
      return NumberResult(Variance(numbers, false));
  }
}

// The k-th largest or smallest number of a list (k rounded up, as spreadsheets take it).
template <bool kLargest>
Value Nth(std::span<const Value> a, Context& c) {
  std::vector<double> numbers = ListNumbers(a.first(1), c, ListValues::kNumbersOnly);
  const double k = std::ceil(NumberArgument(a[1], c));
  if (k < 1 || k > static_cast<double>(numbers.size())) return Value::Error(ErrorCode::kNumber);
  const auto at = static_cast<std::size_t>(k) - 1;
  if (kLargest) {
    std::nth_element(numbers.begin(), numbers.begin() + static_cast<std::ptrdiff_t>(at),
                     numbers.end(), std::greater<>());
  } else {
    std::nth_element(numbers.begin(), numbers.begin() + static_cast<std::ptrdiff_t>(at),
                     numbers.end());
  }
  return Value::Number(numbers[at]);
}

Value Rank(std::span<const Value> a, Context& c) {
  const double number = NumberArgument(a[0], c);
  if (a[1].kind != Value::Kind::kReference) return Value::Error(ErrorCode::kValue);
  const std::vector<double> numbers = ListNumbers(a.subspan(1, 1), c, ListValues::kNumbersOnly);
  const bool ascending = a.size() > 2 && NumberArgument(a[2], c) != 0;
  bool found = false;
  double before = 0;
  for (const double x : numbers) {
    if (x == number) found = true;
    if (ascending ? x < number : x > number) ++before;
  }
  if (!found) return Value::Error(ErrorCode::kNotAvailable);
  return Value::Number(before + 1);
}

Value Median(std::span<const Value> a, Context& c) {
  std::vector<double> numbers = ListNumbers(a, c, ListValues::kNumbersOnly);
  if (numbers.empty()) return Value::Error(ErrorCode::kNumber);
  std::sort(numbers.begin(), numbers.end());
  const std::size_t n = numbers.size();
  return NumberResult(n % 2 == 1 ? numbers[n / 2] : (numbers[n / 2 - 1] + numbers[n / 2]) / 2);
}

// The most frequent number, the first of the list among equally frequent ones; #N/A where
// none comes twice.
Value Mode(std::span<const Value> a, Context& c) {
  const std::vector<double> numbers = ListNumbers(a, c, ListValues::kNumbersOnly);
  std::map<double, std::size_t> counts;
  for (const double x : numbers) ++counts[x];
  std::size_t best = 1;
  double mode = 0;
  for (const double x : numbers) {
    if (counts[x] > best) {
      best = counts[x];
      mode = x;
    }
  }
  if (best < 2) return Value::Error(ErrorCode::kNotAvailable);
  return Value::Number(mode);
}

template <bool kSample, bool kRoot>
Value Spread(std::span<const Value> a, Context& c) {
  const double variance = Variance(ListNumbers(a, c, ListValues::kNumbersOnly), kSample);
  return NumberResult(kRoot ? std::sqrt(variance) : variance);
}

Value MaxA(std::span<const Value> a, Context& c) {
  return Extreme(ListNumbers(a, c, ListValues::kAll), true);
}
Value MinA(std::span<const Value> a, Context& c) {
  return Extreme(ListNumbers(a, c, ListValues::kAll), false);
}
Value AverageA(std::span<const Value> a, Context& c) {
  return Mean(ListNumbers(a, c, ListValues::kAll));
}

constexpr int kMaxArguments = 30;
// Newer than the format: stored by name ("_xlfn.SUMIFS"), numbered here only to be told
// apart.
constexpr int kNamedMaxArguments = 254;
constexpr std::uint16_t kSumIfsId = 0xF210;
constexpr std::uint16_t kCountIfsId = 0xF211;
constexpr std::uint16_t kAverageIfId = 0xF212;
constexpr std::uint16_t kAverageIfsId = 0xF213;
constexpr std::uint16_t kMaxIfsId = 0xF214;
constexpr std::uint16_t kMinIfsId = 0xF215;

constexpr FunctionInfo kStatistics[] = {
    {kSumIfsId, u"SUMIFS", 3, kNamedMaxArguments, SumIfs},
    {kCountIfsId, u"COUNTIFS", 2, kNamedMaxArguments, CountIfs},
    {kAverageIfId, u"AVERAGEIF", 2, 3, AverageIf},
    {kAverageIfsId, u"AVERAGEIFS", 3, kNamedMaxArguments, ConditionalOf<0>},
    {kMaxIfsId, u"MAXIFS", 3, kNamedMaxArguments, ConditionalOf<1>},
    {kMinIfsId, u"MINIFS", 3, kNamedMaxArguments, ConditionalOf<-1>},
    {344, u"SUBTOTAL", 2, kMaxArguments, Subtotal},
    {347, u"COUNTBLANK", 1, 1, CountBlank},
    {325, u"LARGE", 2, 2, Nth<true>},
    {326, u"SMALL", 2, 2, Nth<false>},
    {216, u"RANK", 2, 3, Rank},
    {227, u"MEDIAN", 1, kMaxArguments, Median},
    {330, u"MODE", 1, kMaxArguments, Mode},
    {12, u"STDEV", 1, kMaxArguments, Spread<true, true>},
    {193, u"STDEVP", 1, kMaxArguments, Spread<false, true>},
    {46, u"VAR", 1, kMaxArguments, Spread<true, false>},
    {194, u"VARP", 1, kMaxArguments, Spread<false, false>},
    {362, u"MAXA", 1, kMaxArguments, MaxA},
    {363, u"MINA", 1, kMaxArguments, MinA},
    {361, u"AVERAGEA", 1, kMaxArguments, AverageA},
};

}  // namespace

std::span<const FunctionInfo> StatisticsFunctions() {
  return kStatistics;
}

}  // namespace xls::formula
