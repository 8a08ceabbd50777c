#pragma once

#include <string>
#include <string_view>

#include "tally/field_id.h"
#include "tally/field_store.h"

namespace tally {

// The one bill being edited: 13 item lines of eight texts plus Text9, Text10 and Text11.
// The texts live in a FieldStore (the window's boxes, or memory); the sheet attaches the
// change rules to that store, so a change runs its rule however it was made.
class TallySheet final : private FieldChangeListener {
 public:
  explicit TallySheet(FieldStore& store);
  ~TallySheet();
  TallySheet(const TallySheet&) = delete;
  TallySheet& operator=(const TallySheet&) = delete;

  std::u16string Text(FieldId field) const { return store_.Text(field); }
  std::u16string Text(TallyColumn column, int row) const { return Text(FieldId(column, row)); }

  // Runs the field's change rule before returning when the text changes; writing the
  // text a field already holds does nothing.
  void SetText(FieldId field, std::u16string_view text) { store_.SetText(field, text); }
  void SetText(TallyColumn column, int row, std::u16string_view text) {
    SetText(FieldId(column, row), text);
  }

  // Empties the six typed columns of every row, row by row; the computed fields follow
  // at the next recalculation passes.
  void ClearEntries();

 private:
  void OnFieldChanged(FieldId field) override;

  FieldStore& store_;
};

}  // namespace tally
