// Conditions and tests: IF, AND, OR, XOR, NOT, TRUE, FALSE, IFERROR, CHOOSE, NA, and the IS
// functions.
#include <cmath>

#include "xls/formula/coercion.h"
#include "xls/formula/elementwise.h"
#include "xls/formula/function_table.h"

namespace xls::formula {

namespace {

// A left-out argument of IF and CHOOSE gives 0, as in spreadsheets.
Value Chosen(const Value& argument) {
  return argument.kind == Value::Kind::kEmpty ? Value::Number(0) : argument;
}

// A branch of IF or IFERROR as a value: a reference read where it belongs (never handed on
// as a reference, so an enclosing function takes a number, not the cells), empty as 0.
Value Branch(const Value& argument, Context& c) {
  const Value value = Operand(Chosen(argument), c);
  return value.kind == Value::Kind::kEmpty ? Value::Number(0) : value;
}

// A test against one condition: in an array formula a condition over a range is one per
// cell, and IF picks element by element from its branches taken as arrays.
Value If(std::span<const Value> a, Context& c) {
  const Value condition = Operand(a[0], c);
  const auto pick = [&](const Value& test, const Value& when_true,
                        const Value& when_false) -> Value {
    if (test.IsError()) return test;
    try {
      return ToBoolean(test) ? when_true : when_false;
    } catch (const ErrorResult& error) {
      return Value::Error(error.code);
    }
  };
  const auto branch = [&](std::size_t at, bool otherwise) {
    return a.size() > at ? Branch(a[at], c) : Value::Boolean(otherwise);
  };
  if (condition.kind != Value::Kind::kArray) {
    if (condition.IsError()) return condition;
    return BooleanArgument(condition, c) ? (a.size() > 1 ? Chosen(a[1]) : Value::Boolean(true))
                                         : (a.size() > 2 ? Chosen(a[2]) : Value::Boolean(false));
  }
  const Array tests = *condition.array;
  const Array yes = ToArray(branch(1, true), c);
  const Array no = ToArray(branch(2, false), c);
  return CombineArrays({&tests, &yes, &no}, [&](std::size_t r, std::size_t col) {
    return pick(Broadcast(tests, r, col), Broadcast(yes, r, col), Broadcast(no, r, col));
  });
}

// How AND, OR and XOR join their values: from what they give for none, one value at a time.
struct All {
  static constexpr bool kStart = true;
  static bool Join(bool so_far, bool truth) { return so_far && truth; }
};
struct Any {
  static constexpr bool kStart = false;
  static bool Join(bool so_far, bool truth) { return so_far || truth; }
};
struct Odd {  // XOR: true when an odd number of the values are
  static constexpr bool kStart = false;
  static bool Join(bool so_far, bool truth) { return so_far != truth; }
};

// AND, OR and XOR: booleans and numbers of cells (texts and empty cells left out), given
// values turned into booleans; #VALUE! when there is nothing to decide on.
template <typename Rule>
Value Junction(std::span<const Value> a, Context& c) {
  bool result = Rule::kStart;
  bool any = false;
  for (const Value& argument : a) {
    ForEachListValue(argument, c, [&](const Value& value, bool from_cells) {
      if (value.IsError()) throw ErrorResult{value.error};
      if (from_cells && value.kind != Value::Kind::kNumber && value.kind != Value::Kind::kBoolean) {
        return;
      }
      if (!from_cells && value.kind == Value::Kind::kEmpty) return;
      result = Rule::Join(result, ToBoolean(value));
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

// The value, or the fallback where it is an error; a value, never a reference (an empty cell
// gives 0, as Excel's IFERROR does), element by element over an array.
Value IfError(std::span<const Value> a, Context& c) {
  const Value value = Branch(a[0], c);
  if (value.kind != Value::Kind::kArray) return value.IsError() ? Branch(a[1], c) : value;
  const Array values = *value.array;
  const Array fallback = ToArray(Branch(a[1], c), c);
  return CombineArrays({&values, &fallback}, [&](std::size_t r, std::size_t col) {
    const Value element = Broadcast(values, r, col);
    return element.IsError() ? Broadcast(fallback, r, col) : element;
  });
}

Value Choose(std::span<const Value> a, Context& c) {
  const double index = std::trunc(NumberArgument(a[0], c));
  if (index < 1 || index >= static_cast<double>(a.size())) return Value::Error(ErrorCode::kValue);
  return Chosen(a[static_cast<std::size_t>(index)]);
}

// A cell of a range taken element by element (an array formula, SUMPRODUCT) arrives as its
// value, and only an empty cell's value is empty; any other value is not a blank cell.
Value IsBlank(std::span<const Value> a, Context& c) {
  if (a[0].kind == Value::Kind::kEmpty) return Value::Boolean(true);
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
// IFERROR and XOR are newer than the format: files name them ("_xlfn.IFERROR") rather than
// number them. XOR's number runs on from those of functions_information.cpp.
constexpr std::uint16_t kIfErrorId = 0xF000;
constexpr std::uint16_t kXorId = 0xF245;
constexpr int kNamedMaxArguments = 254;

constexpr FunctionInfo kLogical[] = {
    {1, u"IF", 1, 3, If},
    {36, u"AND", 1, kMaxArguments, Junction<All>},
    {37, u"OR", 1, kMaxArguments, Junction<Any>},
    {kXorId, u"XOR", 1, kNamedMaxArguments, Junction<Odd>},
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
