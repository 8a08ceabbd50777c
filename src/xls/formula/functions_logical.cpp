// Conditions and tests: IF, AND, OR, NOT, TRUE, FALSE, IFERROR, CHOOSE, NA, and the IS
// functions.
#include <cmath>

#include "xls/formula/coercion.h"
#include "xls/formula/function_table.h"

namespace xls::formula {

namespace {

// A left-out argument of IF and CHOOSE gives 0, as in spreadsheets.
Value Chosen(const Value& argument) {
  return argument.kind == Value::Kind::kEmpty ? Value::Number(0) : argument;
}

Value If(std::span<const Value> a, Context& c) {
  const Value condition = Scalar(a[0], c);
  if (condition.IsError()) return condition;
  if (BooleanArgument(condition, c)) return a.size() > 1 ? Chosen(a[1]) : Value::Boolean(true);
  return a.size() > 2 ? Chosen(a[2]) : Value::Boolean(false);
}

// AND and OR: booleans and numbers of cells (texts and empty cells left out), given values
// turned into booleans; #VALUE! when there is nothing to decide on.
template <bool kAll>
Value Junction(std::span<const Value> a, Context& c) {
  bool result = kAll;
  bool any = false;
  for (const Value& argument : a) {
    ForEachListValue(argument, c, [&](const Value& value, bool from_cells) {
      if (value.IsError()) throw ErrorResult{value.error};
      if (from_cells && value.kind != Value::Kind::kNumber && value.kind != Value::Kind::kBoolean) {
        return;
      }
      if (!from_cells && value.kind == Value::Kind::kEmpty) return;
      const bool truth = ToBoolean(value);
      result = kAll ? (result && truth) : (result || truth);
      any = true;
    });
  }
  if (!any) return Value::Error(ErrorCode::kValue);
  return Value::Boolean(result);
}

Value Not(std::span<const Value> a, Context& c) {
  return Value::Boolean(!BooleanArgument(a[0], c));
}
Value True(std::span<const Value>, Context&) {
  return Value::Boolean(true);
}
Value False(std::span<const Value>, Context&) {
  return Value::Boolean(false);
}
Value NotAvailable(std::span<const Value>, Context&) {
  return Value::Error(ErrorCode::kNotAvailable);
}

Value IfError(std::span<const Value> a, Context& c) {
  const Value value = Scalar(a[0], c);
  return value.IsError() ? Chosen(a[1]) : Chosen(a[0]);
}

Value Choose(std::span<const Value> a, Context& c) {
  const double index = std::trunc(NumberArgument(a[0], c));
  if (index < 1 || index >= static_cast<double>(a.size())) return Value::Error(ErrorCode::kValue);
  return Chosen(a[static_cast<std::size_t>(index)]);
}

Value IsBlank(std::span<const Value> a, Context& c) {
  if (a[0].kind != Value::Kind::kReference) return Value::Boolean(false);
  return Value::Boolean(Scalar(a[0], c).kind == Value::Kind::kEmpty);
}
Value IsNumber(std::span<const Value> a, Context& c) {
  return Value::Boolean(Scalar(a[0], c).kind == Value::Kind::kNumber);
}
Value IsText(std::span<const Value> a, Context& c) {
  return Value::Boolean(Scalar(a[0], c).kind == Value::Kind::kText);
}
Value IsLogical(std::span<const Value> a, Context& c) {
  return Value::Boolean(Scalar(a[0], c).kind == Value::Kind::kBoolean);
}
Value IsError(std::span<const Value> a, Context& c) {
  return Value::Boolean(Scalar(a[0], c).IsError());
}
Value IsErr(std::span<const Value> a, Context& c) {
  const Value value = Scalar(a[0], c);
  return Value::Boolean(value.IsError() && value.error != ErrorCode::kNotAvailable);
}
Value IsNa(std::span<const Value> a, Context& c) {
  const Value value = Scalar(a[0], c);
  return Value::Boolean(value.IsError() && value.error == ErrorCode::kNotAvailable);
}

constexpr int kMaxArguments = 30;
// IFERROR is newer than the format: files name it ("_xlfn.IFERROR") rather than number it.
constexpr std::uint16_t kIfErrorId = 0xF000;

constexpr FunctionInfo kLogical[] = {
    {1, u"IF", 1, 3, If},
    {36, u"AND", 1, kMaxArguments, Junction<true>},
    {37, u"OR", 1, kMaxArguments, Junction<false>},
    {38, u"NOT", 1, 1, Not},
    {34, u"TRUE", 0, 0, True},
    {35, u"FALSE", 0, 0, False},
    {10, u"NA", 0, 0, NotAvailable},
    {kIfErrorId, u"IFERROR", 2, 2, IfError},
    {100, u"CHOOSE", 2, kMaxArguments, Choose},
    {129, u"ISBLANK", 1, 1, IsBlank},
    {128, u"ISNUMBER", 1, 1, IsNumber},
    {127, u"ISTEXT", 1, 1, IsText},
    {198, u"ISLOGICAL", 1, 1, IsLogical},
    {3, u"ISERROR", 1, 1, IsError},
    {126, u"ISERR", 1, 1, IsErr},
    {2, u"ISNA", 1, 1, IsNa},
};

}  // namespace

std::span<const FunctionInfo> LogicalFunctions() {
  return kLogical;
}

}  // namespace xls::formula
