#include "xls/biff/data_tables.h"

#include <optional>
#include <string>
#include <utility>

#include "xls/biff/byte_io.h"
#include "xls/biff/cached_results.h"
#include "xls/biff/formula_tokens.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

struct Range {
  CellAddress anchor;  // the first result cell, whose FORMULA the TABLE record follows
  std::uint16_t last_row = 0;
  std::uint16_t last_column = 0;

  bool Holds(CellAddress cell) const {
    return cell.row >= anchor.row && cell.row <= last_row && cell.column >= anchor.column &&
           cell.column <= last_column;
  }
};

// The data table anchored by this item, if it carries a TABLE record.
std::optional<std::pair<Range, std::size_t>> TableOf(const CellItem& item) {
  for (std::size_t i = 1; i < item.records.size(); ++i) {
    const Record& record = item.records[i];
    if (record.type != record_type::kTable) continue;
    if (record.body.size() <= formula_range_record::kLastColumn) return std::nullopt;
    const Range range{CellAddress{GetU16(record.body, formula_range_record::kFirstRow),
                                  record.body[formula_range_record::kFirstColumn]},
                      GetU16(record.body, formula_range_record::kLastRow),
                      record.body[formula_range_record::kLastColumn]};
    return std::pair{range, i};
  }
  return std::nullopt;
}

std::optional<CellAddress> TblAnchorOf(const CellItem& item) {
  const Record& cell = item.records[0];
  if (cell.type != record_type::kFormula || cell.body.size() < formula_record::kExpression + 2) {
    return std::nullopt;
  }
  const std::size_t size = GetU16(cell.body, formula_record::kExpression);
  if (cell.body.size() - formula_record::kExpression - 2 < size) return std::nullopt;
  return TblAnchor(std::span(cell.body).subspan(formula_record::kExpression + 2, size));
}

}  // namespace

bool DissolveDataTable(std::vector<CellItem>& items, CellAddress cell) {
  CellItem* owner = nullptr;
  std::optional<std::pair<Range, std::size_t>> table;
  for (CellItem& item : items) {
    table = TableOf(item);
    if (table && table->first.Holds(cell)) {
      owner = &item;
      break;
    }
  }
  if (owner == nullptr) return false;
  const Range range = table->first;
  const CellAddress anchor{range.anchor.row, range.anchor.column};
  // Every replacement is made first, so that a result the engine cannot read leaves the
  // table whole rather than half frozen.
  std::vector<std::pair<CellItem*, std::vector<Record>>> frozen;
  for (CellItem& item : items) {
    if (item.first == cell || !range.Holds(item.first) || TblAnchorOf(item) != anchor) continue;
    std::optional<std::vector<Record>> records = CachedResultAsValue(item);
    if (!records) return false;
    frozen.emplace_back(&item, std::move(*records));
  }
  owner->records.erase(owner->records.begin() + static_cast<std::ptrdiff_t>(table->second));
  for (auto& [item, records] : frozen) item->records = std::move(records);
  return true;
}

}  // namespace xls::biff
