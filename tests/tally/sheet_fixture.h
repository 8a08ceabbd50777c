#pragma once

#include <initializer_list>
#include <string>

#include "tally/memory_field_store.h"
#include "tally/recalculation_pass.h"
#include "tally/tally_sheet.h"

namespace tally::testing {

// A sheet over memory, as the tests use it.
struct MemorySheet {
  MemoryFieldStore store;
  TallySheet sheet{store};

  // Types a line's six typed texts: length, width, thickness, bundles, pieces, unit price.
  void TypeRow(int row, std::initializer_list<std::u16string> texts) {
    int i = 0;
    for (const std::u16string& text : texts) sheet.SetText(kTypedColumns[i++], row, text);
  }
  void Pass() { RecalculationPass(sheet); }
  std::u16string Volume(int row) const { return sheet.Text(TallyColumn::Volume, row); }
  std::u16string Amount(int row) const { return sheet.Text(TallyColumn::Amount, row); }
  std::u16string Text(SingleField field) const { return sheet.Text(field); }
};

}  // namespace tally::testing
