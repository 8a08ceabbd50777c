#include "xls/layout/formula_results.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <variant>

#include "xls/biff/byte_io.h"

namespace xls::layout {

namespace {

using biff::CellValue;

constexpr std::uint16_t kFormula = 0x0006;
constexpr std::size_t kFormulaTokensOffset = 22;  // after row, column, xf, value, flags, chn, cce
constexpr int kMaxDepth = 64;  // formulas referring to formulas; deeper chains keep their results

struct Range {
  std::uint16_t first_row, last_row, first_column, last_column;
};
using Operand = std::variant<double, Range>;

std::uint32_t Key(std::uint32_t row, std::uint32_t column) {
  return row << 16 | column;
}

class Evaluator {
 public:
  Evaluator(std::map<std::uint32_t, std::vector<std::uint8_t>> formulas,
            std::map<std::uint32_t, CellValue>& cells)
      : formulas_(std::move(formulas)), cells_(cells) {}

  void Run() {
    for (const auto& [key, tokens] : formulas_) Value(key, 0);
  }

 private:
  // The cell's number for arithmetic: empty is 0; text and errors are not numbers.
  std::optional<double> Value(std::uint32_t key, int depth) {
    if (const auto done = done_.find(key); done != done_.end()) return done->second;
    const auto formula = formulas_.find(key);
    if (formula != formulas_.end()) {
      if (depth > kMaxDepth || busy_.count(key) != 0) return std::nullopt;  // a cycle
      busy_.insert({key, true});
      const std::optional<double> result = Evaluate(formula->second, depth + 1);
      busy_.erase(key);
      if (result) cells_[key] = CellValue::Number(*result);
      // A formula that cannot be computed keeps its stored result, and so does every
      // formula that depends on it: a stale input makes a stale output, not a new wrong one.
      done_[key] = result;
      return result;
    }
    return Stored(key);
  }

  std::optional<double> Stored(std::uint32_t key) const {
    const auto cell = cells_.find(key);
    if (cell == cells_.end() || cell->second.kind == CellValue::Kind::kEmpty) return 0.0;
    if (cell->second.kind == CellValue::Kind::kNumber) return cell->second.number;
    if (cell->second.kind == CellValue::Kind::kBoolean) return cell->second.boolean ? 1.0 : 0.0;
    return std::nullopt;
  }

  // Numbers in a range, as SUM and its kin see them: text and empty cells are left out.
  std::optional<std::vector<double>> Numbers(const Range& range, int depth) {
    std::vector<double> numbers;
    for (std::uint32_t r = range.first_row; r <= range.last_row; ++r) {
      for (std::uint32_t c = range.first_column; c <= range.last_column; ++c) {
        const std::uint32_t key = Key(r, c);
        const auto cell = cells_.find(key);
        const bool formula = formulas_.count(key) != 0;
        if (!formula && (cell == cells_.end() || cell->second.kind != CellValue::Kind::kNumber)) {
          continue;
        }
        const std::optional<double> v = Value(key, depth);
        if (!v) return std::nullopt;
        if (formula && cells_[key].kind != CellValue::Kind::kNumber) continue;
        numbers.push_back(*v);
      }
    }
    return numbers;
  }

  std::optional<double> Scalar(const Operand& operand, int depth) {
    if (const double* number = std::get_if<double>(&operand)) return *number;
    const Range& range = std::get<Range>(operand);
    if (range.first_row != range.last_row || range.first_column != range.last_column) {
      return std::nullopt;  // a range where one value belongs
    }
    return Value(Key(range.first_row, range.first_column), depth);
  }

  std::optional<double> Aggregate(std::uint16_t function, std::vector<Operand> arguments,
                                  int depth) {
    std::vector<double> values;
    for (const Operand& argument : arguments) {
      if (const Range* range = std::get_if<Range>(&argument)) {
        const auto numbers = Numbers(*range, depth);
        if (!numbers) return std::nullopt;
        values.insert(values.end(), numbers->begin(), numbers->end());
      } else {
        values.push_back(std::get<double>(argument));
      }
    }
    double sum = 0;
    for (double v : values) sum += v;
    switch (function) {
      case 0:  // COUNT
        return static_cast<double>(values.size());
      case 4:  // SUM
        return sum;
      case 5:  // AVERAGE
        if (values.empty()) return std::nullopt;
        return sum / static_cast<double>(values.size());
      case 6:  // MIN
        return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
      case 7:  // MAX
        return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
      default:
        return std::nullopt;
    }
  }

  std::optional<double> Evaluate(std::span<const std::uint8_t> t, int depth) {
    using biff::GetU16;
    std::vector<Operand> stack;
    auto pop_scalar = [&]() -> std::optional<double> {
      if (stack.empty()) return std::nullopt;
      const Operand top = stack.back();
      stack.pop_back();
      return Scalar(top, depth);
    };
    std::size_t at = 0;
    while (at < t.size()) {
      const std::uint8_t ptg = t[at];
      const std::uint8_t base = ptg >= 0x20 ? static_cast<std::uint8_t>((ptg & 0x1F) | 0x20) : ptg;
      if (ptg >= 0x03 && ptg <= 0x06) {
        const auto right = pop_scalar();
        const auto left = pop_scalar();
        if (!left || !right) return std::nullopt;
        double result = 0;
        if (ptg == 0x03) result = *left + *right;
        if (ptg == 0x04) result = *left - *right;
        if (ptg == 0x05) result = *left * *right;
        if (ptg == 0x06) {
          if (*right == 0) return std::nullopt;  // #DIV/0!: the file's own result stands
          result = *left / *right;
        }
        stack.emplace_back(result);
        at += 1;
      } else if (ptg == 0x12 || ptg == 0x13 || ptg == 0x14) {
        const auto v = pop_scalar();
        if (!v) return std::nullopt;
        stack.emplace_back(ptg == 0x13 ? -*v : ptg == 0x14 ? *v / 100 : *v);
        at += 1;
      } else if (ptg == 0x15) {
        at += 1;  // parentheses only matter for display
      } else if (ptg == 0x1E) {
        stack.emplace_back(static_cast<double>(GetU16(t, at + 1)));
        at += 3;
      } else if (ptg == 0x1F) {
        stack.emplace_back(biff::GetF64(t, at + 1));
        at += 9;
      } else if (ptg == 0x1D) {
        stack.emplace_back(t.size() > at + 1 && t[at + 1] != 0 ? 1.0 : 0.0);
        at += 2;
      } else if (ptg == 0x19) {
        biff::RequireBytes(t, at, 4);
        const std::uint8_t flags = t[at + 1];
        if ((flags & 0x10) != 0) {  // SUM of the one argument before it
          if (stack.empty()) return std::nullopt;
          const Operand argument = stack.back();
          stack.pop_back();
          const auto sum = Aggregate(4, {argument}, depth);
          if (!sum) return std::nullopt;
          stack.emplace_back(*sum);
        } else if ((flags & ~0x41) != 0) {
          return std::nullopt;  // IF, CHOOSE and jumps: not computed here
        }
        at += 4;
      } else if (base == 0x24) {  // a cell
        stack.emplace_back(Range{GetU16(t, at + 1), GetU16(t, at + 1),
                                 static_cast<std::uint16_t>(GetU16(t, at + 3) & 0xFF),
                                 static_cast<std::uint16_t>(GetU16(t, at + 3) & 0xFF)});
        at += 5;
      } else if (base == 0x25) {  // a range
        Range r{GetU16(t, at + 1), GetU16(t, at + 3),
                static_cast<std::uint16_t>(GetU16(t, at + 5) & 0xFF),
                static_cast<std::uint16_t>(GetU16(t, at + 7) & 0xFF)};
        if (r.first_row > r.last_row || r.first_column > r.last_column) return std::nullopt;
        stack.emplace_back(r);
        at += 9;
      } else if (base == 0x21) {  // a function of fixed arity
        const std::uint16_t function = GetU16(t, at + 1);
        if (function == 24) {  // ABS
          const auto v = pop_scalar();
          if (!v) return std::nullopt;
          stack.emplace_back(std::fabs(*v));
        } else if (function == 27) {  // ROUND
          const auto digits = pop_scalar();
          const auto v = pop_scalar();
          if (!v || !digits) return std::nullopt;
          const double scale = std::pow(10.0, std::trunc(*digits));
          stack.emplace_back(std::round(*v * scale) / scale);
        } else {
          return std::nullopt;
        }
        at += 3;
      } else if (base == 0x22) {  // a function of variable arity
        biff::RequireBytes(t, at, 4);
        const std::size_t count = t[at + 1] & 0x7F;
        const std::uint16_t function = GetU16(t, at + 2) & 0x7FFF;
        if (stack.size() < count) return std::nullopt;
        std::vector<Operand> arguments(stack.end() - static_cast<std::ptrdiff_t>(count),
                                       stack.end());
        stack.resize(stack.size() - count);
        const auto result = Aggregate(function, std::move(arguments), depth);
        if (!result) return std::nullopt;
        stack.emplace_back(*result);
        at += 4;
      } else {
        return std::nullopt;  // text, names, other sheets, shared formulas ...
      }
    }
    if (stack.size() != 1) return std::nullopt;
    return Scalar(stack.back(), depth);
  }

  std::map<std::uint32_t, std::vector<std::uint8_t>> formulas_;
  std::map<std::uint32_t, CellValue>& cells_;
  std::map<std::uint32_t, std::optional<double>> done_;
  std::map<std::uint32_t, bool> busy_;
};

}  // namespace

void RecomputeFormulas(const std::vector<biff::Record>& sheet_records,
                       std::map<std::uint32_t, biff::CellValue>& cells) {
  std::map<std::uint32_t, std::vector<std::uint8_t>> formulas;
  for (const biff::Record& record : sheet_records) {
    if (record.type != kFormula || record.body.size() < kFormulaTokensOffset) continue;
    const std::uint16_t row = biff::GetU16(record.body, 0);
    const std::uint16_t column = biff::GetU16(record.body, 2);
    const std::uint16_t size = biff::GetU16(record.body, 20);
    if (record.body.size() - kFormulaTokensOffset < size) continue;
    formulas[Key(row, column)] = std::vector<std::uint8_t>(
        record.body.begin() + kFormulaTokensOffset,
        record.body.begin() + static_cast<std::ptrdiff_t>(kFormulaTokensOffset + size));
  }
  Evaluator(std::move(formulas), cells).Run();
}

}  // namespace xls::layout
