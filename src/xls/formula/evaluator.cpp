#include "xls/formula/evaluator.h"

#include <cstdio>
#include <exception>
#include <new>

#include "base/ascii_case.h"
#include "xls/biff/formula_tokens.h"
#include "xls/formula/array_lifting.h"
#include "xls/formula/builtin_functions.h"
#include "xls/formula/coercion.h"
#include "xls/formula/context.h"
#include "xls/formula/function_table.h"
#include "xls/formula/operators.h"

namespace xls::formula {

namespace ptg = biff::ptg;

namespace {

// Formulas reading formulas: a chain deeper than this is left to a spreadsheet program
// rather than risk the stack.
constexpr int kMaxDepth = 200;

Value StoredValue(const biff::CellValue& stored) {
  switch (stored.kind) {
    case biff::CellValue::Kind::kNumber:
      return Value::Number(stored.number);
    case biff::CellValue::Kind::kString:
      return Value::Text(stored.text);
    case biff::CellValue::Kind::kBoolean:
      return Value::Boolean(stored.boolean);
    case biff::CellValue::Kind::kError:
      return Value::Error(static_cast<ErrorCode>(stored.error));
    case biff::CellValue::Kind::kEmpty:
      break;
  }
  return {};
}

std::u16string Hex(std::uint8_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", id);
  return {text, text + std::char_traits<char>::length(text)};
}

// A formula's value as its cell holds it: a reference read where the cell stands, an
// empty value as 0.
Value CellResult(const Value& value, Context& context) {
  const Value scalar = value.kind == Value::Kind::kFunctionName ? Value::Error(ErrorCode::kName)
                                                                : Scalar(value, context);
  if (scalar.kind == Value::Kind::kEmpty) return Value::Number(0);
  return scalar;
}

// The values a formula's tokens leave for the tokens after them. A formula that takes more
// than it leaves, or leaves other than one value, is not one the engine understands.
class OperandStack {
 public:
  explicit OperandStack(const Context& context) : context_(context) {}

  void Push(Value value) { values_.push_back(std::move(value)); }
  Value Pop() {
    if (values_.empty()) Misread();
    Value top = std::move(values_.back());
    values_.pop_back();
    return top;
  }
  // The last count values, in the order they were pushed.
  std::vector<Value> PopArguments(std::size_t count) {
    if (values_.size() < count) Misread();
    const auto first = values_.end() - static_cast<std::ptrdiff_t>(count);
    std::vector<Value> arguments(std::make_move_iterator(first),
                                 std::make_move_iterator(values_.end()));
    values_.erase(first, values_.end());
    return arguments;
  }
  // The formula's value: the one value left.
  Value Result() {
    if (values_.size() != 1) Misread();
    return std::move(values_.back());
  }

 private:
  [[noreturn]] void Misread() const {
    throw Uncomputable{
        UncomputableReason::kUnsupportedExpression, {}, context_.OriginSheet(), context_.Origin()};
  }

  const Context& context_;
  std::vector<Value> values_;
};

// Applies an operator to the values on the stack. final_sum: the operator is the last step
// of a cell's formula, where a + or - takes Excel's zero.
Value Operate(std::uint8_t id, OperandStack& stack, bool final_sum, Context& context) {
  if (id == ptg::kUplus || id == ptg::kUminus || id == ptg::kPercent) {
    return ApplyUnaryOperator(id, stack.Pop(), context);
  }
  const Value right = stack.Pop();
  const Value left = stack.Pop();
  if (final_sum && (id == ptg::kAdd || id == ptg::kSub)) {
    return ApplyFinalSum(id, left, right, context);
  }
  return ApplyBinaryOperator(id, left, right, context);
}

}  // namespace

class Evaluator::FormulaContext : public Context {
 public:
  FormulaContext(Evaluator& evaluator, std::size_t sheet, biff::CellAddress origin, bool array)
      : evaluator_(evaluator), sheet_(sheet), origin_(origin), array_(array) {}

  Value CellValue(std::size_t sheet, biff::CellAddress cell) override {
    return evaluator_.CellValue(sheet, cell);
  }
  void ForEachCell(const Area& area,
                   const std::function<void(biff::CellAddress, const Value&)>& visit) override {
    if (area.sheet >= evaluator_.model_.sheets.size()) return;
    const auto& cells = *evaluator_.model_.sheets[area.sheet].cells;
    for (auto it = cells.lower_bound({area.first_row, area.first_column});
         it != cells.end() && it->first.row <= area.last_row; ++it) {
      const biff::CellAddress cell = it->first;
      if (cell.column < area.first_column) continue;
      if (cell.column > area.last_column) {
        // On to the next row's first column of the area.
        if (cell.row == area.last_row) break;
        it = cells.lower_bound({static_cast<std::uint16_t>(cell.row + 1), area.first_column});
        if (it == cells.end()) break;
        --it;
        continue;
      }
      const Value value = evaluator_.CellValue(area.sheet, cell);
      if (value.kind != Value::Kind::kEmpty) visit(cell, value);
    }
  }
  std::size_t OriginSheet() const override { return sheet_; }
  biff::CellAddress Origin() const override { return origin_; }
  bool ArrayFormula() const override { return array_; }
  bool RowHidden(std::size_t sheet, std::uint16_t row) const override {
    return sheet < evaluator_.model_.sheets.size() &&
           evaluator_.model_.sheets[sheet].hidden_rows.contains(row);
  }
  bool SubtotalCell(std::size_t sheet, biff::CellAddress cell) const override {
    if (sheet >= evaluator_.model_.sheets.size()) return false;
    const auto& formulas = evaluator_.model_.sheets[sheet].formulas;
    const auto found = formulas.find(cell);
    if (found == formulas.end()) return false;
    constexpr std::uint16_t kSubtotal = 344;
    for (const Token& token : found->second.expression.tokens) {
      if (token.kind == Token::Kind::kFunction && token.function == kSubtotal) return true;
    }
    return false;
  }
  LookupLines* Lines() override { return &evaluator_.lookup_lines_; }
  std::optional<std::size_t> SheetNamed(std::u16string_view name) const override {
    const auto& names = evaluator_.model_.sheet_names;
    for (std::size_t s = 0; s < names.size(); ++s) {
      if (base::EqualIgnoringAsciiCase<char16_t>(names[s], name)) return s;
    }
    return std::nullopt;
  }
  std::optional<Value> NamedValue(std::u16string_view name,
                                  std::optional<std::size_t> sheet) override {
    const WorkbookModel& model = evaluator_.model_;
    const auto scope_sheet = [&](const WorkbookLinks::DefinedName& defined) {
      const std::size_t entry = defined.scope_entry - 1;
      return entry < model.sheet_of_entry.size() ? model.sheet_of_entry[entry] : std::nullopt;
    };
    std::optional<std::uint16_t> workbook_name;
    for (std::uint16_t index = 1;
         const WorkbookLinks::DefinedName* defined = model.links.Name(index); ++index) {
      if (defined->built_in || defined->function ||
          !base::EqualIgnoringAsciiCase<char16_t>(defined->name, name)) {
        continue;
      }
      if (defined->scope_entry == 0) {
        if (!sheet) workbook_name = index;
      } else if (scope_sheet(*defined) == sheet.value_or(sheet_)) {
        return evaluator_.NameValue(index, *this);
      }
    }
    if (workbook_name) return evaluator_.NameValue(*workbook_name, *this);
    return std::nullopt;
  }
  bool Date1904() const override { return evaluator_.model_.date1904; }
  double Now() const override { return evaluator_.now_; }

 private:
  Evaluator& evaluator_;
  std::size_t sheet_;
  biff::CellAddress origin_;
  bool array_;
};

Evaluator::Evaluator(const WorkbookModel& model, double now) : model_(model), now_(now) {}

Outcome Evaluator::Result(std::size_t sheet, biff::CellAddress cell) {
  try {
    Value value = ResultOrThrow(sheet, cell);
    return {std::move(value), {}};
  } catch (const Uncomputable& why) {
    return {std::nullopt, why};
  }
}

Value Evaluator::ResultOrThrow(std::size_t sheet, biff::CellAddress cell) {
  const Key key{sheet, cell};
  if (const auto found = results_.find(key); found != results_.end()) {
    const Entry& entry = found->second;
    if (entry.busy) throw Uncomputable{UncomputableReason::kCircularReference, {}, sheet, cell};
    if (!entry.outcome.value) throw entry.outcome.why;
    return *entry.outcome.value;
  }
  const FormulaCell& formula = model_.sheets[sheet].formulas.at(cell);
  if (depth_ >= kMaxDepth) throw Uncomputable{UncomputableReason::kTooDeep, {}, sheet, cell};
  results_[key].busy = true;
  ++depth_;
  try {
    Value value = Compute(sheet, cell, formula);
    --depth_;
    Entry& entry = results_[key];
    entry.busy = false;
    entry.outcome = {value, {}};
    return value;
  } catch (const std::bad_alloc&) {
    --depth_;
    results_.erase(key);
    throw;
  } catch (const std::exception&) {
    // A record the engine misread: the formula is left to the spreadsheet program rather
    // than the save failing.
    --depth_;
    const Uncomputable why{UncomputableReason::kUnsupportedExpression, {}, sheet, cell};
    Entry& entry = results_[key];
    entry.busy = false;
    entry.outcome = {std::nullopt, why};
    throw why;
  } catch (const Uncomputable& why) {
    --depth_;
    if (why.reason == UncomputableReason::kTooDeep) {
      results_.erase(key);  // may well be computed when reached from nearer
    } else {
      Entry& entry = results_[key];
      entry.busy = false;
      entry.outcome = {std::nullopt, why};
    }
    throw;
  }
}

Value Evaluator::Compute(std::size_t sheet, biff::CellAddress cell, const FormulaCell& formula) {
  if (!formula.array) {
    FormulaContext context(*this, sheet, cell, false);
    return CellResult(Evaluate(formula.expression, context, true), context);
  }
  const Value whole = ArrayResult(sheet, formula.array_first, formula.expression);
  FormulaContext context(*this, sheet, cell, true);
  if (whole.kind != Value::Kind::kArray && whole.kind != Value::Kind::kReference) {
    return CellResult(whole, context);
  }
  // A cell of an array formula shows its element of the result; a single row or column
  // repeats across the range, and cells past the result show #N/A.
  const Array array = ToArray(whole, context);
  const std::size_t r = array.rows == 1 ? 0 : cell.row - formula.array_first.row;
  const std::size_t c = array.columns == 1 ? 0 : cell.column - formula.array_first.column;
  const Value value =
      r < array.rows && c < array.columns ? array.At(r, c) : Value::Error(ErrorCode::kNotAvailable);
  return value.kind == Value::Kind::kEmpty ? Value::Number(0) : value;
}

Value Evaluator::ArrayResult(std::size_t sheet, biff::CellAddress first,
                             const Expression& expression) {
  const Key key{sheet, first};
  if (const auto found = arrays_.find(key); found != arrays_.end()) return found->second;
  FormulaContext context(*this, sheet, first, true);
  Value value = Evaluate(expression, context, true);
  arrays_[key] = value;
  return value;
}

Value Evaluator::CellValue(std::size_t sheet, biff::CellAddress cell) {
  if (sheet >= model_.sheets.size()) return Value::Error(ErrorCode::kReference);
  const WorkbookModel::Sheet& data = model_.sheets[sheet];
  if (data.formulas.count(cell) != 0) return ResultOrThrow(sheet, cell);
  const auto found = data.cells->find(cell);
  return found == data.cells->end() ? Value{} : StoredValue(found->second.value);
}

std::vector<Area> Evaluator::Areas(const Token& token, FormulaContext& context) const {
  const auto area_on = [&](std::size_t sheet) {
    return Area{sheet, std::min(token.first_row, token.last_row),
                std::max(token.first_row, token.last_row),
                std::min(token.first_column, token.last_column),
                std::max(token.first_column, token.last_column)};
  };
  if (!token.three_d) return {area_on(context.OriginSheet())};
  const std::optional<WorkbookLinks::SheetSpan> span = model_.links.Sheets(token.ixti);
  if (!span || span->kind == WorkbookLinks::SheetSpan::Kind::kOtherWorkbook) {
    throw Uncomputable{
        UncomputableReason::kExternalReference, {}, context.OriginSheet(), context.Origin()};
  }
  if (span->kind != WorkbookLinks::SheetSpan::Kind::kThisWorkbook) return {};
  std::vector<Area> areas;
  for (std::size_t entry = span->first; entry <= span->last; ++entry) {
    if (entry >= model_.sheet_of_entry.size() || !model_.sheet_of_entry[entry]) return {};
    areas.push_back(area_on(*model_.sheet_of_entry[entry]));
  }
  return areas;
}

Value Evaluator::NameValue(std::uint16_t index, FormulaContext& context) {
  const WorkbookLinks::DefinedName* name = model_.links.Name(index);
  if (name == nullptr) return Value::Error(ErrorCode::kName);
  if (name->function) return Value::FunctionName(name->name);
  if (names_busy_.count(index) != 0) {
    throw Uncomputable{UncomputableReason::kCircularReference, name->name, context.OriginSheet(),
                       context.Origin()};
  }
  auto decoded = names_.find(index);
  if (decoded == names_.end()) {
    decoded = names_.emplace(index, DecodeExpression(name->rgce, name->rgcb)).first;
  }
  names_busy_.insert(index);
  try {
    Value value = Evaluate(decoded->second, context);
    names_busy_.erase(index);
    return value;
  } catch (...) {
    names_busy_.erase(index);
    throw;
  }
}

Value Evaluator::Call(const Token& token, std::vector<Value> arguments, FormulaContext& context) {
  const FunctionInfo* info = nullptr;
  if (token.function == ptg::kUserDefinedFunction) {
    if (arguments.empty() || arguments.front().kind != Value::Kind::kFunctionName) {
      throw Uncomputable{
          UncomputableReason::kAddInFunction, {}, context.OriginSheet(), context.Origin()};
    }
    info = FunctionByName(arguments.front().text);
    if (info == nullptr) {
      // A spreadsheet function the engine lacks is named as such; anything else is an
      // add-in's or a macro's.
      const std::optional<std::u16string> known = NamedFunction(arguments.front().text);
      throw Uncomputable{
          known ? UncomputableReason::kUnknownFunction : UncomputableReason::kAddInFunction,
          known.value_or(arguments.front().text), context.OriginSheet(), context.Origin()};
    }
    arguments.erase(arguments.begin());
  } else {
    info = FunctionById(token.function);
    if (info == nullptr) {
      throw Uncomputable{UncomputableReason::kUnknownFunction, FunctionName(token.function),
                         context.OriginSheet(), context.Origin()};
    }
  }
  const auto count = static_cast<int>(arguments.size());
  if (count < info->min_arguments || count > info->max_arguments) {
    return Value::Error(ErrorCode::kValue);
  }
  try {
    if (std::optional<Value> lifted = LiftOverArrays(*info, arguments, context)) return *lifted;
    return info->body(arguments, context);
  } catch (const ErrorResult& error) {
    return Value::Error(error.code);
  }
}

Value Evaluator::ExternNameValue(const Token& token, FormulaContext& context) {
  const std::optional<WorkbookLinks::SheetSpan> span = model_.links.Sheets(token.ixti);
  if (span && span->kind == WorkbookLinks::SheetSpan::Kind::kThisWorkbook) {
    return NameValue(token.index, context);
  }
  if (span && span->kind == WorkbookLinks::SheetSpan::Kind::kAddIn) {
    const std::u16string* name = model_.links.ExternalName(span->supporting_book, token.index);
    return name ? Value::FunctionName(*name) : Value::Error(ErrorCode::kName);
  }
  throw Uncomputable{
      UncomputableReason::kExternalReference, {}, context.OriginSheet(), context.Origin()};
}

Value Evaluator::Evaluate(const Expression& expression, FormulaContext& context,
                          bool cell_formula) {
  if (expression.unsupported_token) {
    throw Uncomputable{UncomputableReason::kUnsupportedExpression,
                       Hex(*expression.unsupported_token), context.OriginSheet(), context.Origin()};
  }
  const Token* last_step = nullptr;
  for (const Token& token : expression.tokens) {
    if (token.kind != Token::Kind::kNoOp) last_step = &token;
  }
  OperandStack stack(context);
  for (const Token& token : expression.tokens) {
    switch (token.kind) {
      case Token::Kind::kConstant:
        stack.Push(token.constant);
        break;
      case Token::Kind::kMissing:
        stack.Push({});
        break;
      case Token::Kind::kReference: {
        std::vector<Area> areas = Areas(token, context);
        stack.Push(areas.empty() ? Value::Error(ErrorCode::kReference)
                                 : Value::Reference(std::move(areas), token.array_class));
        break;
      }
      case Token::Kind::kName:
        stack.Push(NameValue(token.index, context));
        break;
      case Token::Kind::kExternName:
        stack.Push(ExternNameValue(token, context));
        break;
      case Token::Kind::kOperator: {
        // Excel's zero for the last + or - of a cell's formula, outside brackets.
        const bool final_sum = cell_formula && &token == last_step && !expression.ends_in_brackets;
        stack.Push(Operate(token.id, stack, final_sum, context));
        break;
      }
      case Token::Kind::kAttrSum: {
        Token sum;
        sum.function = 4;  // SUM
        stack.Push(Call(sum, {stack.Pop()}, context));
        break;
      }
      case Token::Kind::kFunction:
        stack.Push(Call(token, stack.PopArguments(token.arguments), context));
        break;
      case Token::Kind::kNoOp:
        break;
    }
  }
  return stack.Result();
}

}  // namespace xls::formula
