#include "xls/biff/formula_ranges.h"

#include <map>
#include <optional>
#include <span>
#include <utility>

#include "xls/biff/byte_io.h"
#include "xls/biff/cached_results.h"
#include "xls/biff/formula_tokens.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

// The expression of a FORMULA, SHRFMLA or ARRAY body whose cce lies at `at`, and the extra
// data (rgcb) after it; nothing if the body is too short for what cce says.
struct Expression {
  std::span<const std::uint8_t> rgce;
  std::span<const std::uint8_t> rgcb;
};

std::optional<Expression> ExpressionAt(std::span<const std::uint8_t> body, std::size_t at) {
  if (body.size() < at + 2) return std::nullopt;
  const std::size_t size = GetU16(body, at);
  if (body.size() - at - 2 < size) return std::nullopt;
  return Expression{body.subspan(at + 2, size), body.subspan(at + 2 + size)};
}

const Record* Anchored(const CellItem& item, std::uint16_t type) {
  for (std::size_t i = 1; i < item.records.size(); ++i) {
    if (item.records[i].type == type) return &item.records[i];
  }
  return nullptr;
}

CellItem* SingleCellItem(std::vector<CellItem>& items, CellAddress cell) {
  for (CellItem& item : items) {
    if (item.first == cell && item.last_column == cell.column) return &item;
  }
  return nullptr;
}

// The anchor a formula cell points at with its only token, PtgExp.
std::optional<CellAddress> AnchorOf(const CellItem& item) {
  const Record& cell = item.records[0];
  if (cell.type != record_type::kFormula) return std::nullopt;
  const auto own = ExpressionAt(cell.body, formula_record::kExpression);
  return own ? ExpAnchor(own->rgce) : std::nullopt;
}

// The range's own expression, where the anchor holds one.
std::optional<Expression> RangeExpression(const CellItem& anchor, bool* shared) {
  if (const Record* record = Anchored(anchor, record_type::kShrFmla)) {
    if (shared) *shared = true;
    return ExpressionAt(record->body, formula_range_record::kSharedExpression);
  }
  if (const Record* record = Anchored(anchor, record_type::kArray)) {
    if (shared) *shared = false;
    return ExpressionAt(record->body, formula_range_record::kArrayExpression);
  }
  return std::nullopt;
}

// Gives every cell that uses the range anchored at `anchor` its own formula, and drops the
// range's record. Every new record is made first, so that an expression the engine cannot
// read leaves the formulas as they were rather than half converted.
bool GiveFormulasOfTheirOwn(std::vector<CellItem>& items, CellAddress anchor) {
  CellItem* owner = SingleCellItem(items, anchor);
  bool shared = false;
  const std::optional<Expression> formula = owner ? RangeExpression(*owner, &shared) : std::nullopt;
  if (!formula) return false;
  const std::uint16_t range_type = shared ? record_type::kShrFmla : record_type::kArray;
  const std::vector<std::uint8_t>& range = Anchored(*owner, range_type)->body;
  if (range.size() <= formula_range_record::kLastColumn) return false;
  const std::uint16_t first_row = GetU16(range, formula_range_record::kFirstRow);
  const std::uint16_t last_row = GetU16(range, formula_range_record::kLastRow);
  const std::uint8_t first_column = range[formula_range_record::kFirstColumn];
  const std::uint8_t last_column = range[formula_range_record::kLastColumn];
  std::vector<std::pair<Record*, Record>> converted;
  for (CellItem& item : items) {
    const CellAddress at = item.first;
    if (at.row < first_row || at.row > last_row || at.column < first_column ||
        at.column > last_column || AnchorOf(item) != CellAddress{anchor.row, anchor.column}) {
      continue;
    }
    Record& cell = item.records[0];
    std::optional<std::vector<std::uint8_t>> tokens;
    if (shared) {
      tokens = SharedFormulaForCell(formula->rgce, at.row, at.column);
    } else {
      tokens.emplace(formula->rgce.begin(), formula->rgce.end());
    }
    if (!tokens ||
        formula_record::kExpression + 2 + tokens->size() + formula->rgcb.size() > kMaxRecordBody) {
      return false;
    }
    const auto head = static_cast<std::ptrdiff_t>(formula_record::kExpression);
    Record own{record_type::kFormula, {cell.body.begin(), cell.body.begin() + head}};
    own.body[formula_record::kFlags] &= static_cast<std::uint8_t>(~formula_record::kShared);
    AppendU16(own.body, static_cast<std::uint16_t>(tokens->size()));
    own.body.insert(own.body.end(), tokens->begin(), tokens->end());
    own.body.insert(own.body.end(), formula->rgcb.begin(), formula->rgcb.end());
    converted.emplace_back(&cell, std::move(own));
  }
  for (auto& [cell, own] : converted) *cell = std::move(own);
  std::erase_if(owner->records, [&](const Record& record) { return record.type == range_type; });
  return true;
}

// Leaves every cell of the array anchored at `anchor` but `written` showing what it showed,
// as a value of its own, and drops the ARRAY record. An array computes as a whole (ROW(),
// TRANSPOSE, MMULT ...): its expression copied into one cell computes something else.
// Every value is read first, so that a result the engine cannot read leaves the array whole.
bool FreezeArray(std::vector<CellItem>& items, CellAddress anchor, CellAddress written) {
  CellItem* owner = SingleCellItem(items, anchor);
  const Record* array = owner ? Anchored(*owner, record_type::kArray) : nullptr;
  if (array == nullptr || array->body.size() <= formula_range_record::kLastColumn) return false;
  const std::uint16_t first_row = GetU16(array->body, formula_range_record::kFirstRow);
  const std::uint16_t last_row = GetU16(array->body, formula_range_record::kLastRow);
  const std::uint8_t first_column = array->body[formula_range_record::kFirstColumn];
  const std::uint8_t last_column = array->body[formula_range_record::kLastColumn];
  std::vector<std::pair<CellItem*, std::vector<Record>>> frozen;
  for (CellItem& item : items) {
    const CellAddress at = item.first;
    if (at == written || at.row < first_row || at.row > last_row || at.column < first_column ||
        at.column > last_column || AnchorOf(item) != CellAddress{anchor.row, anchor.column}) {
      continue;
    }
    std::optional<std::vector<Record>> records = CachedResultAsValue(item);
    if (!records) return false;
    frozen.emplace_back(&item, std::move(*records));
  }
  std::erase_if(owner->records,
                [](const Record& record) { return record.type == record_type::kArray; });
  for (auto& [item, records] : frozen) item->records = std::move(records);
  return true;
}

}  // namespace

bool DetachFromSharedFormulas(std::vector<CellItem>& items, CellAddress cell) {
  const CellItem* target = SingleCellItem(items, cell);
  if (target == nullptr || target->records[0].type != record_type::kFormula) return false;
  if (Anchored(*target, record_type::kShrFmla) != nullptr)
    return GiveFormulasOfTheirOwn(items, cell);
  if (Anchored(*target, record_type::kArray) != nullptr) return FreezeArray(items, cell, cell);
  // Any cell of an array formula changes the whole array, as a spreadsheet will not change
  // part of one; the other cells of a shared formula go on using their anchor.
  const std::optional<CellAddress> anchor = AnchorOf(*target);
  if (!anchor) return false;
  const CellAddress at{anchor->row, anchor->column};
  const CellItem* owner = SingleCellItem(items, at);
  if (owner == nullptr || Anchored(*owner, record_type::kArray) == nullptr) return false;
  return FreezeArray(items, at, cell);
}

std::vector<CellFormula> CellFormulas(const std::vector<CellItem>& items) {
  std::map<CellAddress, const CellItem*> anchors;
  for (const CellItem& item : items) {
    if (item.records.size() > 1 && item.first.column == item.last_column) {
      anchors[item.first] = &item;
    }
  }
  std::vector<CellFormula> formulas;
  for (const CellItem& item : items) {
    const Record& cell = item.records[0];
    if (cell.type != record_type::kFormula) continue;
    CellFormula formula;
    formula.cell = item.first;
    const std::optional<Expression> own = ExpressionAt(cell.body, formula_record::kExpression);
    const std::optional<CellAddress> anchor = own ? ExpAnchor(own->rgce) : std::nullopt;
    std::optional<Expression> expression = own;
    bool shared = false;
    if (anchor) {
      const auto owner = anchors.find(CellAddress{anchor->row, anchor->column});
      expression = owner == anchors.end() ? std::nullopt : RangeExpression(*owner->second, &shared);
      if (expression && !shared) {
        formula.array = true;
        formula.array_first = {anchor->row, anchor->column};
      }
    }
    if (!expression) {
      formula.readable = false;
    } else if (anchor && shared) {
      std::optional<std::vector<std::uint8_t>> tokens =
          SharedFormulaForCell(expression->rgce, item.first.row, item.first.column);
      formula.readable = tokens.has_value();
      if (tokens) formula.rgce = std::move(*tokens);
      formula.rgcb.assign(expression->rgcb.begin(), expression->rgcb.end());
    } else {
      formula.rgce.assign(expression->rgce.begin(), expression->rgce.end());
      formula.rgcb.assign(expression->rgcb.begin(), expression->rgcb.end());
    }
    formulas.push_back(std::move(formula));
  }
  return formulas;
}

}  // namespace xls::biff
