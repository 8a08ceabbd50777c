#include "xls/formula/coercion.h"

#include <algorithm>
#include <cmath>

#include "base/ascii_case.h"
#include "xls/biff/general_number_format.h"
#include "xls/formula/text_number.h"

namespace xls::formula {

namespace {

// The one cell of a range in the formula's row (a column range) or column (a row range).
Value Intersection(const Area& area, Context& context) {
  if (area.SingleCell()) return context.CellValue(area.sheet, {area.first_row, area.first_column});
  const biff::CellAddress origin = context.Origin();
  if (area.sheet != context.OriginSheet()) return Value::Error(ErrorCode::kValue);
  if (area.first_column == area.last_column && origin.row >= area.first_row &&
      origin.row <= area.last_row) {
    return context.CellValue(area.sheet, {origin.row, area.first_column});
  }
  if (area.first_row == area.last_row && origin.column >= area.first_column &&
      origin.column <= area.last_column) {
    return context.CellValue(area.sheet, {area.first_row, origin.column});
  }
  return Value::Error(ErrorCode::kValue);
}

}  // namespace

Value Scalar(const Value& value, Context& context) {
  switch (value.kind) {
    case Value::Kind::kReference:
      if (value.areas.size() != 1) return Value::Error(ErrorCode::kValue);
      return Intersection(value.areas.front(), context);
    case Value::Kind::kArray:
      if (value.array->values.empty()) return Value::Error(ErrorCode::kValue);
      return value.array->values.front();
    case Value::Kind::kFunctionName:
      return Value::Error(ErrorCode::kName);
    default:
      return value;
  }
}

Value Operand(const Value& value, Context& context) {
  if (value.kind == Value::Kind::kReference && value.areas.size() == 1 &&
      !value.areas.front().SingleCell() && (value.array_class || context.ArrayFormula())) {
    return Value::FromArray(ToArray(value, context));
  }
  if (value.kind == Value::Kind::kArray) return value;
  return Scalar(value, context);
}

Array ToArray(const Value& value, Context& context) {
  Array array;
  if (value.kind == Value::Kind::kArray) return *value.array;
  if (value.kind == Value::Kind::kReference && value.areas.size() == 1) {
    const Area& area = value.areas.front();
    array.rows = area.Rows();
    array.columns = area.Columns();
    array.values.resize(array.rows * array.columns);
    context.ForEachCell(area, [&](biff::CellAddress cell, const Value& cell_value) {
      array.values[static_cast<std::size_t>(cell.row - area.first_row) * array.columns +
                   (cell.column - area.first_column)] = cell_value;
    });
    return array;
  }
  array.rows = array.columns = 1;
  array.values.push_back(value.kind == Value::Kind::kReference ? Value::Error(ErrorCode::kValue)
                                                               : Scalar(value, context));
  return array;
}

double ToNumber(const Value& scalar, bool date1904) {
  switch (scalar.kind) {
    case Value::Kind::kNumber:
      return scalar.number;
    case Value::Kind::kBoolean:
      return scalar.boolean ? 1 : 0;
    case Value::Kind::kEmpty:
      return 0;
    case Value::Kind::kText:
      if (const std::optional<double> number = NumberOfText(scalar.text, date1904)) return *number;
      throw ErrorResult{ErrorCode::kValue};
    case Value::Kind::kError:
      throw ErrorResult{scalar.error};
    default:
      throw ErrorResult{ErrorCode::kValue};
  }
}

std::u16string ToText(const Value& scalar) {
  switch (scalar.kind) {
    case Value::Kind::kNumber: {
      const std::string general = biff::FormatGeneral(scalar.number);
      return {general.begin(), general.end()};
    }
    case Value::Kind::kText:
      return scalar.text;
    case Value::Kind::kBoolean:
      return scalar.boolean ? u"TRUE" : u"FALSE";
    case Value::Kind::kEmpty:
      return {};
    case Value::Kind::kError:
      throw ErrorResult{scalar.error};
    default:
      throw ErrorResult{ErrorCode::kValue};
  }
}

bool ToBoolean(const Value& scalar) {
  switch (scalar.kind) {
    case Value::Kind::kNumber:
      return scalar.number != 0;
    case Value::Kind::kBoolean:
      return scalar.boolean;
    case Value::Kind::kEmpty:
      return false;
    case Value::Kind::kText:
      if (base::EqualIgnoringAsciiCase<char16_t>(scalar.text, u"TRUE")) return true;
      if (base::EqualIgnoringAsciiCase<char16_t>(scalar.text, u"FALSE")) return false;
      throw ErrorResult{ErrorCode::kValue};
    case Value::Kind::kError:
      throw ErrorResult{scalar.error};
    default:
      throw ErrorResult{ErrorCode::kValue};
  }
}

double NumberArgument(const Value& argument, Context& context) {
  return ToNumber(Scalar(argument, context), context.Date1904());
}

std::u16string TextArgument(const Value& argument, Context& context) {
  return ToText(Scalar(argument, context));
}

bool BooleanArgument(const Value& argument, Context& context) {
  return ToBoolean(Scalar(argument, context));
}

void ForEachListValue(const Value& argument, Context& context,
                      const std::function<void(const Value&, bool from_cells)>& visit) {
  switch (argument.kind) {
    case Value::Kind::kReference:
      for (const Area& area : argument.areas) {
        context.ForEachCell(area,
                            [&](biff::CellAddress, const Value& value) { visit(value, true); });
      }
      return;
    case Value::Kind::kArray:
      for (const Value& value : argument.array->values) visit(value, true);
      return;
    default:
      visit(argument, false);
  }
}

int CompareTexts(const std::u16string& a, const std::u16string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = base::AsciiUpper(a[i]);
    const char16_t y = base::AsciiUpper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace xls::formula
