#pragma once

#include <string_view>

#include "tally/field_id.h"

namespace workbook {

// A cell of a sheet, row first, both counted from 1 (column 1 is A).
struct CellRef {
  int row;
  int column;
  friend constexpr bool operator==(CellRef, CellRef) = default;
};

// The workbook lies beside the program under this name.
inline constexpr std::u16string_view kWorkbookFileName = u"锯材账单.xls";

// Sheet "资料": reference data, read at start-up and never written.
inline constexpr std::u16string_view kReferenceSheet = u"资料";
inline constexpr CellRef kFirstBuyerCell{3, 2};  // buyers run down column 2 from here
inline constexpr int kMaxBuyers = 201;           // rows 3 to 203; row 204 is never read
inline constexpr CellRef kSellerCell{3, 3};

// Sheet "码单": the tally form, written on every export and never read.
inline constexpr std::u16string_view kTallySheet = u"码单";
inline constexpr CellRef kBuyerCell{3, 2};
// The seller is written here before the buyer. The item rows overwrite it (it is row 9's
// width cell), so the saved sheet never keeps it; the write stays for workbooks that
// expect it.
inline constexpr CellRef kSellerScratchCell{14, 2};
inline constexpr int kFirstItemRow = 5;  // tally row r goes to sheet row 5 + r
inline constexpr CellRef kScalerCell{18, 2};
inline constexpr CellRef kTotalVolumeCell{18, 6};
inline constexpr CellRef kTotalAmountCell{18, 7};  // under the unit prices, not the amounts

// Where the text of a grid field goes: one sheet row per tally row, one column per tally
// column in their order.
constexpr CellRef ItemCell(tally::TallyColumn column, int row) {
  return {kFirstItemRow + row, static_cast<int>(column) + 1};
}

}  // namespace workbook
