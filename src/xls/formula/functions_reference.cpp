// Functions about references and the shape of ranges: INDEX, ROW, COLUMN, ROWS, COLUMNS,
// OFFSET, INDIRECT, ADDRESS, TRANSPOSE.
#include <cmath>
#include <optional>
#include <string>

#include "base/ascii_case.h"
#include "xls/formula/coercion.h"
#include "xls/formula/function_table.h"

namespace xls::formula {

namespace {

constexpr int kLastRow = 0xFFFF;
constexpr int kLastColumn = 0xFF;

bool Given(std::span<const Value> a, std::size_t at) {
  return a.size() > at && a[at].kind != Value::Kind::kEmpty;
}

int IntegerArgument(const Value& argument, Context& context) {
  const double number = std::trunc(NumberArgument(argument, context));
  if (std::fabs(number) > 1e9) throw ErrorResult{ErrorCode::kValue};
  return static_cast<int>(number);
}

const Area& OneArea(const Value& argument) {
  if (argument.IsError()) throw ErrorResult{argument.error};
  if (argument.kind != Value::Kind::kReference) throw ErrorResult{ErrorCode::kValue};
  if (argument.areas.size() != 1) throw ErrorResult{ErrorCode::kReference};
  return argument.areas.front();
}

Value AreaValue(std::size_t sheet, int first_row, int last_row, int first_column, int last_column) {
  if (first_row < 0 || first_column < 0 || last_row > kLastRow || last_column > kLastColumn ||
      first_row > last_row || first_column > last_column) {
    return Value::Error(ErrorCode::kReference);
  }
  return Value::Reference(
      {Area{sheet, static_cast<std::uint16_t>(first_row), static_cast<std::uint16_t>(last_row),
            static_cast<std::uint16_t>(first_column), static_cast<std::uint16_t>(last_column)}});
}

// INDEX(reference or array, row, [column], [area]): the cell, or with row or column 0 the
// whole column or row; a one-row range takes its one index as the column.
Value Index(std::span<const Value> a, Context& c) {
  int row = Given(a, 1) ? IntegerArgument(a[1], c) : 0;
  int column = Given(a, 2) ? IntegerArgument(a[2], c) : 0;
  const int area_number = Given(a, 3) ? IntegerArgument(a[3], c) : 1;
  if (row < 0 || column < 0) return Value::Error(ErrorCode::kValue);
  if (a[0].kind == Value::Kind::kReference) {
    if (area_number < 1 || area_number > static_cast<int>(a[0].areas.size())) {
      return Value::Error(ErrorCode::kReference);
    }
    const Area& area = a[0].areas[static_cast<std::size_t>(area_number - 1)];
    const auto rows = static_cast<int>(area.Rows());
    const auto columns = static_cast<int>(area.Columns());
    if (a.size() < 3 && rows == 1 && columns > 1) std::swap(row, column);
    if (row > rows || column > columns) return Value::Error(ErrorCode::kReference);
    const int first_row = row == 0 ? area.first_row : area.first_row + row - 1;
    const int last_row = row == 0 ? area.last_row : first_row;
    const int first_column = column == 0 ? area.first_column : area.first_column + column - 1;
    const int last_column = column == 0 ? area.last_column : first_column;
    return AreaValue(area.sheet, first_row, last_row, first_column, last_column);
  }
  if (a[0].IsError()) return a[0];
  const Array array = ToArray(a[0], c);
  if (a.size() < 3 && array.rows == 1) std::swap(row, column);
  if (row > static_cast<int>(array.rows) || column > static_cast<int>(array.columns)) {
    return Value::Error(ErrorCode::kReference);
  }
  if (row > 0 && column > 0) {
    return array.At(static_cast<std::size_t>(row - 1), static_cast<std::size_t>(column - 1));
  }
  if (row == 0 && column == 0) return Value::FromArray(array);
  Array part;
  part.rows = row == 0 ? array.rows : 1;
  part.columns = column == 0 ? array.columns : 1;
  for (std::size_t r = 0; r < part.rows; ++r) {
    for (std::size_t col = 0; col < part.columns; ++col) {
      part.values.push_back(array.At(row == 0 ? r : static_cast<std::size_t>(row - 1),
                                     column == 0 ? col : static_cast<std::size_t>(column - 1)));
    }
  }
  return Value::FromArray(std::move(part));
}

// ROW and COLUMN: of the formula's cell, or of the reference's first cell; in an array
// formula, of each of its rows or columns.
Value RowOrColumn(std::span<const Value> a, Context& c, bool row) {
  if (a.empty() || a[0].kind == Value::Kind::kEmpty) {
    return Value::Number((row ? c.Origin().row : c.Origin().column) + 1.0);
  }
  const Area& area = OneArea(a[0]);
  const std::size_t count = row ? area.Rows() : area.Columns();
  const double first = (row ? area.first_row : area.first_column) + 1.0;
  if (count == 1 || !c.ArrayFormula()) return Value::Number(first);
  Array array;
  array.rows = row ? count : 1;
  array.columns = row ? 1 : count;
  for (std::size_t i = 0; i < count; ++i) {
    array.values.push_back(Value::Number(first + static_cast<double>(i)));
  }
  return Value::FromArray(std::move(array));
}
Value Row(std::span<const Value> a, Context& c) {
  return RowOrColumn(a, c, true);
}
Value Column(std::span<const Value> a, Context& c) {
  return RowOrColumn(a, c, false);
}

Value RowsOrColumns(const Value& argument, bool rows) {
  if (argument.kind == Value::Kind::kReference) {
    const Area& area = OneArea(argument);
    return Value::Number(static_cast<double>(rows ? area.Rows() : area.Columns()));
  }
  if (argument.kind == Value::Kind::kArray) {
    return Value::Number(
        static_cast<double>(rows ? argument.array->rows : argument.array->columns));
  }
  if (argument.IsError()) return argument;
  return Value::Number(1);
}
Value Rows(std::span<const Value> a, Context&) {
  return RowsOrColumns(a[0], true);
}
Value Columns(std::span<const Value> a, Context&) {
  return RowsOrColumns(a[0], false);
}

// OFFSET(reference, rows, columns, [height], [width]).
Value Offset(std::span<const Value> a, Context& c) {
  const Area& area = OneArea(a[0]);
  const int rows = IntegerArgument(a[1], c);
  const int columns = IntegerArgument(a[2], c);
  const int height = Given(a, 3) ? IntegerArgument(a[3], c) : static_cast<int>(area.Rows());
  const int width = Given(a, 4) ? IntegerArgument(a[4], c) : static_cast<int>(area.Columns());
  if (height == 0 || width == 0) return Value::Error(ErrorCode::kReference);
  // A negative height or width reaches up or left from the moved corner, as in Excel.
  int first_row = area.first_row + rows;
  int first_column = area.first_column + columns;
  int last_row = first_row + height + (height > 0 ? -1 : 1);
  int last_column = first_column + width + (width > 0 ? -1 : 1);
  if (last_row < first_row) std::swap(first_row, last_row);
  if (last_column < first_column) std::swap(first_column, last_column);
  return AreaValue(area.sheet, first_row, last_row, first_column, last_column);
}

// The sheet's name before the "!" of a reference's text, its quotes taken off ('it''s').
std::u16string SheetNameOf(std::u16string_view quoted) {
  std::u16string name(quoted);
  if (name.size() >= 2 && name.front() == u'\'' && name.back() == u'\'') {
    name = name.substr(1, name.size() - 2);
    for (std::size_t at = name.find(u"''"); at != std::u16string::npos;
         at = name.find(u"''", at + 1)) {
      name.erase(at, 1);
    }
  }
  return name;
}

// A reference's text as INDIRECT reads it.
class ReferenceText {
 public:
  ReferenceText(std::u16string_view text, Context& context, bool a1)
      : text_(text), context_(context), a1_(a1) {}

  Value Read() {
    std::size_t sheet = context_.OriginSheet();
    if (const std::size_t bang = text_.rfind(u'!'); bang != std::u16string_view::npos) {
      const std::optional<std::size_t> found =
          context_.SheetNamed(SheetNameOf(text_.substr(0, bang)));
      if (!found) return Value::Error(ErrorCode::kReference);
      sheet = *found;
      at_ = bang + 1;
    }
    const std::optional<Corner> first = ReadCorner();
    if (!first) return Value::Error(ErrorCode::kReference);
    Corner last = *first;
    if (at_ < text_.size()) {
      if (text_[at_] != u':') return Value::Error(ErrorCode::kReference);
      ++at_;
      const std::optional<Corner> second = ReadCorner();
      if (!second) return Value::Error(ErrorCode::kReference);
      last = *second;
    }
    if (at_ != text_.size()) return Value::Error(ErrorCode::kReference);
    // A corner without a row spans every row; one without a column, every column.
    if ((first->row < 0) != (last.row < 0) || (first->column < 0) != (last.column < 0)) {
      return Value::Error(ErrorCode::kReference);
    }
    const bool all_rows = first->row < 0;
    const bool all_columns = first->column < 0;
    return AreaValue(sheet, all_rows ? 0 : std::min(first->row, last.row),
                     all_rows ? kLastRow : std::max(first->row, last.row),
                     all_columns ? 0 : std::min(first->column, last.column),
                     all_columns ? kLastColumn : std::max(first->column, last.column));
  }

 private:
  struct Corner {
    int row = -1;  // -1: not given
    int column = -1;
  };

  bool Next(char16_t wanted) {
    if (at_ < text_.size() && base::AsciiUpper(text_[at_]) == wanted) {
      ++at_;
      return true;
    }
    return false;
  }
  std::optional<int> Digits() {
    int number = 0;
    const std::size_t from = at_;
    while (at_ < text_.size() && text_[at_] >= u'0' && text_[at_] <= u'9' && at_ - from < 7) {
      number = number * 10 + (text_[at_++] - u'0');
    }
    if (at_ == from) return std::nullopt;
    return number;
  }

  std::optional<Corner> ReadCorner() { return a1_ ? ReadA1() : ReadR1C1(); }

  std::optional<Corner> ReadA1() {
    Corner corner;
    Next(u'$');
    int column = 0;
    std::size_t letters = 0;
    while (at_ < text_.size() && letters < 3) {
      const char16_t c = base::AsciiUpper(text_[at_]);
      if (c < u'A' || c > u'Z') break;
      column = column * 26 + (c - u'A' + 1);
      ++letters;
      ++at_;
    }
    if (letters > 0) corner.column = column - 1;
    Next(u'$');
    if (const std::optional<int> row = Digits()) corner.row = *row - 1;
    if ((corner.row < 0 && corner.column < 0) || corner.column > kLastColumn ||
        corner.row > kLastRow || (corner.row < -1)) {
      return std::nullopt;
    }
    return corner;
  }

  // R1C1 with R[n]C[n] counted from the formula's cell; R alone or C alone spans.
  std::optional<int> ReadR1C1Part(char16_t letter, int origin) {
    if (!Next(letter)) return std::nullopt;
    if (Next(u'[')) {
      const bool negative = Next(u'-');
      const std::optional<int> offset = Digits();
      if (!offset || !Next(u']')) return -2;
      return origin + (negative ? -*offset : *offset);
    }
    if (const std::optional<int> number = Digits()) return *number - 1;
    return origin;  // R or C alone: the formula's own row or column
  }
  std::optional<Corner> ReadR1C1() {
    Corner corner;
    const std::optional<int> row = ReadR1C1Part(u'R', context_.Origin().row);
    const std::optional<int> column = ReadR1C1Part(u'C', context_.Origin().column);
    if (!row && !column) return std::nullopt;
    if (row) corner.row = *row;
    if (column) corner.column = *column;
    if ((row && (*row < 0 || *row > kLastRow)) ||
        (column && (*column < 0 || *column > kLastColumn))) {
      return std::nullopt;
    }
    return corner;
  }

  std::u16string_view text_;
  Context& context_;
  bool a1_;
  std::size_t at_ = 0;
};

// A text that reads as no reference may name a range (INDIRECT("价格表"), "资料!本页"); a
// name of a value or formula that is no reference gives #REF!, as a text of no reference.
Value NamedReference(std::u16string_view text, Context& c) {
  std::optional<std::size_t> sheet;
  if (const std::size_t bang = text.rfind(u'!'); bang != std::u16string_view::npos) {
    sheet = c.SheetNamed(SheetNameOf(text.substr(0, bang)));
    if (!sheet) return Value::Error(ErrorCode::kReference);
    text.remove_prefix(bang + 1);
  }
  std::optional<Value> named = c.NamedValue(text, sheet);
  if (!named || named->kind != Value::Kind::kReference) return Value::Error(ErrorCode::kReference);
  return *std::move(named);
}

Value Indirect(std::span<const Value> a, Context& c) {
  const std::u16string text = TextArgument(a[0], c);
  const bool a1 = !Given(a, 1) || BooleanArgument(a[1], c);
  Value reference = ReferenceText(text, c, a1).Read();
  if (reference.IsError()) return NamedReference(text, c);
  return reference;
}

std::u16string Decimal(int number) {
  const std::string digits = std::to_string(number);
  return {digits.begin(), digits.end()};
}

std::u16string ColumnLetters(int column) {
  std::u16string letters;
  for (int n = column; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char16_t>(u'A' + (n - 1) % 26));
  }
  return letters;
}

// ADDRESS(row, column, [kind 1-4: both, row, column, neither absolute], [A1], [sheet]).
Value Address(std::span<const Value> a, Context& c) {
  const int row = IntegerArgument(a[0], c);
  const int column = IntegerArgument(a[1], c);
  const int kind = Given(a, 2) ? IntegerArgument(a[2], c) : 1;
  const bool a1 = !Given(a, 3) || BooleanArgument(a[3], c);
  if (row < 1 || column < 1 || row > kLastRow + 1 || column > kLastColumn + 1 || kind < 1 ||
      kind > 4) {
    return Value::Error(ErrorCode::kValue);
  }
  const bool row_absolute = kind == 1 || kind == 2;
  const bool column_absolute = kind == 1 || kind == 3;
  std::u16string text;
  if (a1) {
    if (column_absolute) text.push_back(u'$');
    text.append(ColumnLetters(column));
    if (row_absolute) text.push_back(u'$');
    text.append(Decimal(row));
  } else {
    const auto part = [&](char16_t letter, int number, bool absolute) {
      text.push_back(letter);
      if (!absolute) text.push_back(u'[');
      text.append(Decimal(number));
      if (!absolute) text.push_back(u']');
    };
    part(u'R', row, row_absolute);
    part(u'C', column, column_absolute);
  }
  if (Given(a, 4)) {
    std::u16string sheet = TextArgument(a[4], c);
    bool plain = !sheet.empty();
    for (const char16_t ch : sheet) {
      if (ch < 0x80 && !((ch >= u'0' && ch <= u'9') || base::AsciiUpper(ch) != ch ||
                         (ch >= u'A' && ch <= u'Z') || ch == u'_' || ch == u'.')) {
        plain = false;
      }
    }
    if (!plain) {
      for (std::size_t at = sheet.find(u'\''); at != std::u16string::npos;
           at = sheet.find(u'\'', at + 2)) {
        sheet.insert(at, 1, u'\'');
      }
      sheet.insert(sheet.begin(), u'\'');
      sheet.push_back(u'\'');
    }
    sheet.push_back(u'!');
    text.insert(0, sheet);
  }
  return Value::Text(std::move(text));
}

Value Transpose(std::span<const Value> a, Context& c) {
  if (a[0].IsError()) return a[0];
  const Array array = ToArray(a[0], c);
  Array transposed;
  transposed.rows = array.columns;
  transposed.columns = array.rows;
  for (std::size_t r = 0; r < transposed.rows; ++r) {
    for (std::size_t col = 0; col < transposed.columns; ++col) {
      transposed.values.push_back(array.At(col, r));
    }
  }
  return Value::FromArray(std::move(transposed));
}

constexpr FunctionInfo kReference[] = {
    {29, u"INDEX", 1, 4, Index},
    {8, u"ROW", 0, 1, Row},
    {9, u"COLUMN", 0, 1, Column},
    {76, u"ROWS", 1, 1, Rows},
    {77, u"COLUMNS", 1, 1, Columns},
    {78, u"OFFSET", 3, 5, Offset, true},
    {148, u"INDIRECT", 1, 2, Indirect, true},
    {219, u"ADDRESS", 2, 5, Address},
    {83, u"TRANSPOSE", 1, 1, Transpose},
};

}  // namespace

std::span<const FunctionInfo> ReferenceFunctions() {
  return kReference;
}

}  // namespace xls::formula
