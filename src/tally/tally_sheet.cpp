#include "tally/tally_sheet.h"

#include "tally/zero_suppression.h"

namespace tally {

TallySheet::TallySheet(FieldStore& store) : store_(store) {
  store_.SetChangeListener(this);
}

TallySheet::~TallySheet() {
  store_.SetChangeListener(nullptr);
}

void TallySheet::OnFieldChanged(FieldId field) {
  ZeroSuppression(store_, field);
}

void TallySheet::ClearEntries() {
  for (int row = 0; row < kRowCount; ++row) {
    for (TallyColumn column : kTypedColumns) SetText(column, row, u"");
  }
}

}  // namespace tally
