#pragma once

#include <cstdint>

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

// Names one text of the sheet: a grid cell (column, row) or a single field.
// Every field has a dense index, so stores can keep their texts in a flat array.
class FieldId {
 public:
  static constexpr int kCount = kRowCount * kColumnCount + 3;

  constexpr FieldId(TallyColumn column, int row)
      : index_(row * kColumnCount + static_cast<int>(column)) {}
  constexpr FieldId(SingleField field)  // NOLINT(google-explicit-constructor): a field names itself
      : index_(kRowCount * kColumnCount + static_cast<int>(field)) {}

  static constexpr FieldId FromIndex(int index) { return FieldId(index); }

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
  int index_;
};

// The columns the clerk types, left to right, in the order a line is typed and cleared;
// Volume and Amount are computed.
inline constexpr TallyColumn kTypedColumns[] = {
    TallyColumn::Length,  TallyColumn::Width,           TallyColumn::Thickness,
    TallyColumn::Bundles, TallyColumn::PiecesPerBundle, TallyColumn::UnitPrice,
};

}  // namespace tally
