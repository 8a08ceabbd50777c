#pragma once

#include <cstdint>
#include <stdexcept>

namespace tally {

// One tally holds 13 item lines, row 0 at the top.
inline constexpr int kRowCount = 13;

// The eight columns of an item line, left to right as the window shows them.
enum class TallyColumn : std::uint8_t {
  Length,
  Width,
  Thickness,
  Bundles,
  PiecesPerBundle,
  Volume,
  UnitPrice,
  Amount,
};
inline constexpr int kColumnCount = 8;

// The single fields of the totals line: the scaler's name, total volume, total amount.
enum class SingleField : std::uint8_t { Text9, Text10, Text11 };

// A field that does not exist was asked for: a row outside 0 to 12, a column or index out of
// range. Thrown before any store is touched, so nothing can be read from or written to the
// wrong place.
class NoSuchField final : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

// Names one text of the sheet: a grid cell (column, row) or a single field.
// Every field has a dense index, so stores can keep their texts in a flat array.
class FieldId {
 public:
  static constexpr int kCount = kRowCount * kColumnCount + 3;

  constexpr FieldId(TallyColumn column, int row) : index_(CellIndex(column, row)) {}
  constexpr FieldId(SingleField field)  // NOLINT(google-explicit-constructor): a field names itself
      : index_(SingleIndex(field)) {}

  static constexpr FieldId FromIndex(int index) {
    if (index < 0 || index >= kCount) throw NoSuchField("field index out of range");
    return FieldId(index);
  }

  constexpr int Index() const { return index_; }
  constexpr bool IsCell() const { return index_ < kRowCount * kColumnCount; }
  constexpr int Row() const { return index_ / kColumnCount; }
  constexpr TallyColumn Column() const { return static_cast<TallyColumn>(index_ % kColumnCount); }
  constexpr SingleField Single() const {
    return static_cast<SingleField>(index_ - kRowCount * kColumnCount);
  }

  friend constexpr bool operator==(FieldId, FieldId) = default;

 private:
  explicit constexpr FieldId(int index) : index_(index) {}

  static constexpr int CellIndex(TallyColumn column, int row) {
    const int column_index = static_cast<int>(column);
    if (row < 0 || row >= kRowCount) throw NoSuchField("row outside 0 to 12");
    if (column_index >= kColumnCount) throw NoSuchField("no such column");
    return row * kColumnCount + column_index;
  }
  static constexpr int SingleIndex(SingleField field) {
    const int index = kRowCount * kColumnCount + static_cast<int>(field);
    if (index >= kCount) throw NoSuchField("no such single field");
    return index;
  }
  int index_;
};

// The columns the clerk types, left to right, in the order a line is typed and cleared;
// Volume and Amount are computed.
inline constexpr TallyColumn kTypedColumns[] = {
    TallyColumn::Length,  TallyColumn::Width,           TallyColumn::Thickness,
    TallyColumn::Bundles, TallyColumn::PiecesPerBundle, TallyColumn::UnitPrice,
};

}  // namespace tally
