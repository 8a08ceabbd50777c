#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <utility>

#include "xls/biff/cell_address.h"
#include "xls/formula/workbook_model.h"

namespace xls::formula {

// Whether a formula may read, directly or through other formulas and names, a cell written
// since the workbook was read: for a formula this engine cannot compute, whether the
// result the file holds may still stand. Where that cannot be told (a token the engine
// does not read, a data table, INDIRECT and OFFSET, a function that changes by itself)
// the answer is yes.
class WriteImpact {
 public:
  using CellKey = std::pair<std::size_t, biff::CellAddress>;
  WriteImpact(const WorkbookModel& model, const std::set<CellKey>& written);

  bool ReadsWrittenCells(std::size_t sheet, biff::CellAddress cell);

 private:
  bool ExpressionReads(const Expression& expression, std::size_t sheet);
  bool AreaReads(std::size_t sheet, const biff::CellAddress& first, const biff::CellAddress& last);

  const WorkbookModel& model_;
  const std::set<CellKey>& written_;
  std::set<std::size_t> written_sheets_;
  std::map<CellKey, bool> known_;
  std::set<std::uint16_t> names_seen_;
};

}  // namespace xls::formula
