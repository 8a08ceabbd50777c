#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "xls/biff/cell_address.h"
#include "xls/biff/cell_decoding.h"
#include "xls/formula/expression.h"
#include "xls/formula/workbook_links.h"

namespace xls::formula {

// A formula as one cell evaluates it. The cells of an array formula share one expression,
// evaluated once for the range whose first cell is `array_first`.
struct FormulaCell {
  Expression expression;
  bool array = false;
  biff::CellAddress array_first;
};

// What the evaluator reads: every worksheet's stored cells and formulas, the links to
// other sheets and names, and which worksheet each of the workbook's sheet entries is.
struct WorkbookModel {
  struct Sheet {
    const std::map<biff::CellAddress, biff::CellData>* cells = nullptr;
    std::map<biff::CellAddress, FormulaCell> formulas;
    std::set<std::uint16_t> hidden_rows;
  };
  std::vector<Sheet> sheets;
  std::vector<std::u16string> sheet_names;  // of each worksheet of `sheets`
  std::vector<std::optional<std::size_t>> sheet_of_entry;
  WorkbookLinks links;
  bool date1904 = false;  // serial numbers count from 1904-01-01
};

}  // namespace xls::formula
