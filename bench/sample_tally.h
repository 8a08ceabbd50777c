#pragma once

#include "tally/tally_sheet.h"

namespace bench {

// Fills all 13 lines with one ordinary line of timber, so every field has a result.
inline void FillSampleTally(tally::TallySheet& sheet) {
  using tally::TallyColumn;
  for (int row = 0; row < tally::kRowCount; ++row) {
    sheet.SetText(TallyColumn::Length, row, u"4");
    sheet.SetText(TallyColumn::Width, row, u"117.25");
    sheet.SetText(TallyColumn::Thickness, row, u"50");
    sheet.SetText(TallyColumn::Bundles, row, u"3");
    sheet.SetText(TallyColumn::PiecesPerBundle, row, u"12");
    sheet.SetText(TallyColumn::UnitPrice, row, u"1850");
  }
}

}  // namespace bench
