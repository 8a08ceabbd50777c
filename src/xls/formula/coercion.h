#pragma once

#include <functional>
#include <string>

#include "xls/formula/context.h"
#include "xls/formula/value.h"

namespace xls::formula {

// How a spreadsheet turns one kind of value into another where an operand needs it.

// A plain value where one value belongs: a one-cell reference gives the cell's value, a
// larger one the cell in the formula's row or column (#VALUE! where there is none), an
// array its first element.
Value Scalar(const Value& value, Context& context);
// As Scalar, except that references of the array class, and every reference in an array
// formula, become arrays of their cells' values.
Value Operand(const Value& value, Context& context);
// Every cell of a reference or element of an array; a plain value as a 1 x 1 array.
Array ToArray(const Value& value, Context& context);

// Plain values into numbers, texts and booleans; errors pass as ErrorResult. Text becomes a
// number where it reads as one (NumberOfText: "12%", "1,200", "¥3", dates and times; else
// #VALUE!), empty is 0, "" and FALSE, TRUE is 1.
double ToNumber(const Value& scalar, bool date1904 = false);
std::u16string ToText(const Value& scalar);
bool ToBoolean(const Value& scalar);

// Argument readers: Scalar, then the conversion.
double NumberArgument(const Value& argument, Context& context);
std::u16string TextArgument(const Value& argument, Context& context);
bool BooleanArgument(const Value& argument, Context& context);

// Every value a list argument holds: the non-empty cells of a reference or the elements of
// an array (from_cells true), or the value itself (false).
void ForEachListValue(const Value& argument, Context& context,
                      const std::function<void(const Value&, bool from_cells)>& visit);

// Texts compared as spreadsheets compare them: without regard to letter case.
int CompareTexts(const std::u16string& a, const std::u16string& b);

}  // namespace xls::formula
