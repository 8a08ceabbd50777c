#pragma once

#include <cstddef>
#include <map>
#include <vector>

#include "xls/biff/biff_workbook.h"
#include "xls/formula/evaluator.h"
#include "xls/formula/workbook_model.h"

namespace xls::formula {

// Every formula of a workbook computed from its cells as they stand, as a spreadsheet
// program computes them before it saves.
class WorkbookCalculation {
 public:
  // now: the moment TODAY and NOW give (see CurrentSerialTime).
  WorkbookCalculation(const biff::BiffWorkbook& book, double now);

  // The outcome of each formula cell of a worksheet.
  const std::map<biff::CellAddress, Outcome>& Outcomes(std::size_t sheet) const {
    return outcomes_.at(sheet);
  }

  // The formulas of each worksheet that could not be computed, by sheet index.
  std::vector<UncomputedCells> Uncomputed() const;

  // Writes the results into the formulas' records. A formula that cannot be computed is
  // marked to be computed by the spreadsheet program that opens the file; it keeps the
  // result it has where nothing it reads was written (BiffWorkbook::WrittenCells), and
  // gets #N/A otherwise, never a value that might be taken for its result.
  void Store(biff::BiffWorkbook& book) const;

 private:
  WorkbookModel model_;
  std::vector<std::map<biff::CellAddress, Outcome>> outcomes_;
};

// The present moment in local time as a serial date and time of a workbook's date system.
double CurrentSerialTime(bool date1904);

// Whether the workbook counts dates from 1904 (its DATEMODE record).
bool UsesDate1904(const biff::BiffWorkbook& book);

}  // namespace xls::formula
