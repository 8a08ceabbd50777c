#include "xls/biff/sheet_substream.h"

#include <algorithm>
#include <set>

#include "xls/biff/byte_io.h"
#include "xls/biff/cell_records.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/formula_tokens.h"
#include "xls/biff/rk_number.h"

namespace xls::biff {

namespace {

constexpr std::size_t kCellXfOffset = 4;
constexpr std::size_t kCellValueOffset = 6;
constexpr std::size_t kFormulaFlagsOffset = 14;
constexpr std::uint8_t kFormulaAlwaysCalc = 0x01;
constexpr std::uint8_t kFormulaShared = 0x08;
constexpr std::size_t kFormulaExpressionOffset = 20;  // cce, then rgce and rgcb
constexpr std::size_t kSharedFormulaExpressionOffset = 8;
constexpr std::size_t kArrayFormulaExpressionOffset = 12;
constexpr std::size_t kRowFlagsOffset = 12;
constexpr std::size_t kRowXfOffset = 14;
constexpr std::uint16_t kRowGhostDirty = 0x0080;
constexpr std::uint16_t kXfMask = 0x0FFF;
constexpr std::size_t kRowBodySize = 16;
constexpr std::size_t kMulRkEntrySize = 6;
constexpr std::size_t kIndexFixedSize = 16;
constexpr unsigned kRowBlockShift = 5;  // 32 rows to a block
constexpr std::uint16_t kWindow2 = 0x023E;
constexpr std::uint16_t kCalcAutomatic = 1;
constexpr std::uint16_t kColumnCount = 256;

std::uint32_t Key(std::uint16_t row, std::uint16_t column) {
  return (static_cast<std::uint32_t>(row) << 16) | column;
}

bool IsCellRecord(std::uint16_t type) {
  switch (type) {
    case record_type::kLabelSst:
    case record_type::kLabel:
    case record_type::kRString:
    case record_type::kNumber:
    case record_type::kRk:
    case record_type::kMulRk:
    case record_type::kBlank:
    case record_type::kMulBlank:
    case record_type::kFormula:
    case record_type::kBoolErr:
      return true;
    default:
      return false;
  }
}

// Records that belong to the cell record before them: a formula's cached string, the
// shared, array or table formula it anchors, and continuations.
bool FollowsCell(std::uint16_t type) {
  return type == record_type::kString || type == record_type::kShrFmla ||
         type == record_type::kArray || type == record_type::kTable ||
         type == record_type::kContinue;
}

bool IsCellTableRecord(std::uint16_t type) {
  return IsCellRecord(type) || type == record_type::kRow || type == record_type::kDbCell ||
         (FollowsCell(type) && type != record_type::kContinue);
}

std::vector<int> Depths(const std::vector<Record>& records) {
  std::vector<int> depths(records.size());
  int depth = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].type == record_type::kBof) ++depth;
    depths[i] = depth;
    if (records[i].type == record_type::kEof) --depth;
  }
  return depths;
}

// The number of cells a MULRK or MULBLANK covers, from its size.
std::size_t MultiCellCount(const Record& record) {
  const std::size_t entry = record.type == record_type::kMulRk ? kMulRkEntrySize : 2;
  return record.body.size() < 6 ? 0 : (record.body.size() - 6) / entry;
}

CellValue FormulaResult(const std::vector<Record>& records) {
  const std::vector<std::uint8_t>& body = records[0].body;
  if (GetU16(body, 12) != 0xFFFF) return CellValue::Number(GetF64(body, kCellValueOffset));
  switch (GetU8(body, kCellValueOffset)) {
    case 0: {
      std::vector<std::span<const std::uint8_t>> chunks;
      for (std::size_t i = 1; i < records.size(); ++i) {
        if (records[i].type == record_type::kString) {
          chunks.emplace_back(records[i].body);
        } else if (!chunks.empty() && records[i].type == record_type::kContinue) {
          chunks.emplace_back(records[i].body);
        }
      }
      if (chunks.empty()) return CellValue::String({});
      ContinuedReader reader(std::move(chunks));
      return CellValue::String(ReadUnicodeString(reader));
    }
    case 1:
      return CellValue::Boolean(GetU8(body, 8) != 0);
    case 2:
      return CellValue::Error(GetU8(body, 8));
    default:
      return CellValue::String({});
  }
}

std::vector<std::span<const std::uint8_t>> Bodies(const std::vector<Record>& records) {
  std::vector<std::span<const std::uint8_t>> bodies;
  bodies.emplace_back(records[0].body);
  for (std::size_t i = 1; i < records.size() && records[i].type == record_type::kContinue; ++i) {
    bodies.emplace_back(records[i].body);
  }
  return bodies;
}

// Calls visit on a sheet's own records outside its cell table (not those of a chart
// embedded in it) until it returns true. Writers that put the cells first leave DIMENSIONS
// and COLINFO after them.
template <typename Records, typename Visit>
void VisitOwnRecords(Records& before, Records& after, Visit visit) {
  for (auto& record : before) {
    if (visit(record)) return;
  }
  for (auto& record : after) {
    if (record.type == record_type::kBof || visit(record)) return;
  }
}

// The expression of a FORMULA, SHRFMLA or ARRAY body whose cce lies at `at`, and the
// extra data (rgcb) after it; nothing if the body is too short for what cce says.
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

const Record* AnchoredRecord(const std::vector<Record>& records, std::uint16_t type) {
  for (std::size_t i = 1; i < records.size(); ++i) {
    if (records[i].type == type) return &records[i];
  }
  return nullptr;
}

}  // namespace

SheetSubstream SheetSubstream::Parse(Substream substream, const SharedStringTable& strings) {
  SheetSubstream sheet;
  sheet.original_offset_ = substream.offset;
  sheet.type_ = substream.type;
  sheet.original_ = substream.records;
  sheet.SplitRecords(std::move(substream.records));
  for (const CellItem& item : sheet.items_) sheet.ParseItem(item, strings);
  sheet.default_row_height_ = kDefaultRowHeight;
  for (const Record& record : sheet.before_) {
    if (record.type == record_type::kDefaultRowHeight && record.body.size() >= 4) {
      sheet.default_row_height_ = GetU16(record.body, 2);
    }
  }
  return sheet;
}

void SheetSubstream::SplitRecords(std::vector<Record> records) {
  const std::vector<int> depths = Depths(records);
  std::optional<std::size_t> first;
  std::size_t last = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (depths[i] == 1 && IsCellTableRecord(records[i].type)) {
      if (!first) first = i;
      last = i;
    }
  }
  if (!first) {
    // No cells yet: the table goes after DIMENSIONS, as Excel places it.
    std::size_t insert = records.size() - 1;
    for (std::size_t i = records.size(); i-- > 0;) {
      if (depths[i] != 1) continue;
      if (records[i].type == record_type::kDimensions) {
        insert = i + 1;
        break;
      }
      if (records[i].type == kWindow2) insert = i;
    }
    insert = std::max<std::size_t>(insert, 1);
    before_.assign(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(insert));
    after_.assign(records.begin() + static_cast<std::ptrdiff_t>(insert), records.end());
    return;
  }
  while (last + 1 < records.size() && depths[last + 1] == 1 &&
         records[last + 1].type == record_type::kContinue) {
    ++last;
  }
  before_.assign(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(*first));
  constexpr std::size_t kNoCell = static_cast<std::size_t>(-1);
  std::size_t current = kNoCell;  // the item that continuation records belong to
  for (std::size_t i = *first; i <= last; ++i) {
    Record& record = records[i];
    const bool table = depths[i] == 1;
    if (table && record.type == record_type::kRow && record.body.size() >= kRowBodySize) {
      const std::uint16_t row = GetU16(record.body, 0);
      rows_[row] = std::move(record);
      current = kNoCell;
    } else if (table && record.type == record_type::kDbCell) {
      current = kNoCell;  // recomputed when the table is written
    } else if (table && IsCellRecord(record.type) && record.body.size() >= kCellValueOffset) {
      const std::uint16_t row = GetU16(record.body, 0);
      const std::uint16_t column = GetU16(record.body, 2);
      std::uint16_t last_column = column;
      if (record.type == record_type::kMulRk || record.type == record_type::kMulBlank) {
        const std::size_t count = std::max<std::size_t>(MultiCellCount(record), 1);
        last_column = static_cast<std::uint16_t>(std::min<std::size_t>(column + count - 1, 0xFFFF));
      }
      items_.push_back({row, column, last_column, {std::move(record)}});
      current = items_.size() - 1;
    } else if (table && FollowsCell(record.type) && current != kNoCell) {
      items_[current].records.push_back(std::move(record));
    } else {
      after_.push_back(std::move(record));
      current = kNoCell;
    }
  }
  after_.insert(after_.end(),
                std::make_move_iterator(records.begin() + static_cast<std::ptrdiff_t>(last + 1)),
                std::make_move_iterator(records.end()));
}

void SheetSubstream::ParseItem(const CellItem& item, const SharedStringTable& strings) {
  const Record& record = item.records[0];
  const std::vector<std::uint8_t>& body = record.body;
  const std::uint16_t row = item.row;
  const std::uint16_t column = item.first_column;
  // Columns past the 256th cannot be addressed; keeping them out also bounds the memory a
  // damaged file can ask for (a MULBLANK spends two bytes per cell).
  const auto put = [&](std::uint16_t at, std::uint16_t xf, CellValue value) {
    if (at < kColumnCount) cells_[Key(row, at)] = {std::move(value), xf};
  };
  switch (record.type) {
    case record_type::kMulRk:
      for (std::size_t i = 0; i < MultiCellCount(record); ++i) {
        const std::size_t at = 4 + i * kMulRkEntrySize;
        put(static_cast<std::uint16_t>(column + i), GetU16(body, at),
            CellValue::Number(DecodeRk(GetU32(body, at + 2))));
      }
      return;
    case record_type::kMulBlank:
      for (std::size_t i = 0; i < MultiCellCount(record); ++i) {
        put(static_cast<std::uint16_t>(column + i), GetU16(body, 4 + 2 * i), CellValue{});
      }
      return;
    default:
      break;
  }
  const std::uint16_t xf = GetU16(body, kCellXfOffset);
  switch (record.type) {
    case record_type::kLabelSst: {
      const std::u16string* text = strings.Find(GetU32(body, kCellValueOffset));
      put(column, xf, CellValue::String(text != nullptr ? *text : std::u16string()));
      break;
    }
    case record_type::kLabel:
    case record_type::kRString: {
      ContinuedReader reader(Bodies(item.records), kCellValueOffset);
      put(column, xf, CellValue::String(ReadUnicodeString(reader)));
      break;
    }
    case record_type::kNumber:
      put(column, xf, CellValue::Number(GetF64(body, kCellValueOffset)));
      break;
    case record_type::kRk:
      put(column, xf, CellValue::Number(DecodeRk(GetU32(body, kCellValueOffset))));
      break;
    case record_type::kBoolErr: {
      const std::uint8_t value = GetU8(body, kCellValueOffset);
      put(column, xf,
          GetU8(body, 7) != 0 ? CellValue::Error(value) : CellValue::Boolean(value != 0));
      break;
    }
    case record_type::kFormula:
      put(column, xf, FormulaResult(item.records));
      break;
    default:  // BLANK
      put(column, xf, CellValue{});
      break;
  }
}

const CellData* SheetSubstream::Find(std::uint16_t row, std::uint16_t column) const {
  const auto found = cells_.find(Key(row, column));
  return found == cells_.end() ? nullptr : &found->second;
}

std::uint16_t SheetSubstream::XfForWrite(std::uint16_t row, std::uint16_t column) const {
  if (const CellData* cell = Find(row, column)) return cell->xf;
  if (const auto found = rows_.find(row); found != rows_.end()) {
    const std::vector<std::uint8_t>& body = found->second.body;
    if ((GetU16(body, kRowFlagsOffset) & kRowGhostDirty) != 0) {
      return GetU16(body, kRowXfOffset) & kXfMask;
    }
  }
  std::uint16_t xf = kDefaultCellXf;
  VisitOwnRecords(before_, after_, [&](const Record& record) {
    if (record.type != record_type::kColInfo || record.body.size() < 8) return false;
    if (GetU16(record.body, 0) > column || column > GetU16(record.body, 2)) return false;
    xf = GetU16(record.body, 6);
    return true;
  });
  return xf;
}

void SheetSubstream::SetNumber(std::uint16_t row, std::uint16_t column, double value) {
  Replace(row, column, NumberRecord(row, column, XfForWrite(row, column), value),
          CellValue::Number(value));
}

void SheetSubstream::SetSharedString(std::uint16_t row, std::uint16_t column, std::uint32_t index,
                                     std::u16string text) {
  Replace(row, column, LabelSstRecord(row, column, XfForWrite(row, column), index),
          CellValue::String(std::move(text)));
}

void SheetSubstream::ClearValue(std::uint16_t row, std::uint16_t column) {
  const CellData* cell = Find(row, column);
  if (cell == nullptr) return;
  Replace(row, column, BlankRecord(row, column, cell->xf), CellValue{});
}

SheetSubstream::CellItem* SheetSubstream::ItemAt(std::uint16_t row, std::uint16_t column) {
  for (CellItem& item : items_) {
    if (item.row == row && item.first_column == column && item.last_column == column) return &item;
  }
  return nullptr;
}

void SheetSubstream::DetachFromSharedFormulas(std::uint16_t row, std::uint16_t column) {
  const CellItem* target = ItemAt(row, column);
  if (target == nullptr || target->records[0].type != record_type::kFormula) return;
  if (AnchoredRecord(target->records, record_type::kShrFmla) != nullptr ||
      AnchoredRecord(target->records, record_type::kArray) != nullptr) {
    GiveFormulasOfTheirOwn(row, column);
    return;
  }
  // Any cell of an array formula changes the whole array, as a spreadsheet refuses to
  // change part of one; a shared formula's other cells go on using their anchor.
  const auto expression = ExpressionAt(target->records[0].body, kFormulaExpressionOffset);
  const std::optional<CellAnchor> anchor = expression ? ExpAnchor(expression->rgce) : std::nullopt;
  if (!anchor) return;
  const CellItem* owner = ItemAt(anchor->row, anchor->column);
  if (owner != nullptr && AnchoredRecord(owner->records, record_type::kArray) != nullptr) {
    GiveFormulasOfTheirOwn(anchor->row, anchor->column);
  }
}

void SheetSubstream::GiveFormulasOfTheirOwn(std::uint16_t row, std::uint16_t column) {
  CellItem* owner = ItemAt(row, column);
  const Record* shared = AnchoredRecord(owner->records, record_type::kShrFmla);
  const Record* array = shared ? nullptr : AnchoredRecord(owner->records, record_type::kArray);
  const Record& anchored = shared ? *shared : *array;
  const std::optional<Expression> formula = ExpressionAt(
      anchored.body, shared ? kSharedFormulaExpressionOffset : kArrayFormulaExpressionOffset);
  if (!formula || anchored.body.size() < 6) return;
  const std::uint16_t first_row = GetU16(anchored.body, 0);
  const std::uint16_t last_row = GetU16(anchored.body, 2);
  const std::uint8_t first_column = anchored.body[4];
  const std::uint8_t last_column = anchored.body[5];
  // Every new record first, so that an expression the engine cannot read leaves the
  // formulas as they were rather than half converted.
  std::vector<std::pair<Record*, Record>> converted;
  for (CellItem& item : items_) {
    Record& cell = item.records[0];
    if (cell.type != record_type::kFormula || item.row < first_row || item.row > last_row ||
        item.first_column < first_column || item.first_column > last_column) {
      continue;
    }
    const auto own = ExpressionAt(cell.body, kFormulaExpressionOffset);
    if (!own || !own->rgcb.empty() || ExpAnchor(own->rgce) != CellAnchor{row, column}) continue;
    std::optional<std::vector<std::uint8_t>> tokens;
    if (shared) {
      tokens = SharedFormulaForCell(formula->rgce, item.row, item.first_column);
    } else {
      tokens.emplace(formula->rgce.begin(), formula->rgce.end());
    }
    if (!tokens || tokens->size() > 0xFFFF ||
        kFormulaExpressionOffset + 2 + tokens->size() + formula->rgcb.size() > kMaxRecordBody) {
      return;
    }
    Record own_formula{record_type::kFormula,
                       {cell.body.begin(), cell.body.begin() + kFormulaExpressionOffset}};
    own_formula.body[kFormulaFlagsOffset] &= static_cast<std::uint8_t>(~kFormulaShared);
    AppendU16(own_formula.body, static_cast<std::uint16_t>(tokens->size()));
    own_formula.body.insert(own_formula.body.end(), tokens->begin(), tokens->end());
    own_formula.body.insert(own_formula.body.end(), formula->rgcb.begin(), formula->rgcb.end());
    converted.emplace_back(&cell, std::move(own_formula));
  }
  for (auto& [cell, own_formula] : converted) *cell = std::move(own_formula);
  const std::uint16_t type = anchored.type;
  std::erase_if(owner->records, [&](const Record& record) { return record.type == type; });
  modified_ = true;
}

void SheetSubstream::Replace(std::uint16_t row, std::uint16_t column, Record record,
                             CellValue value) {
  SplitMultiCellItem(row, column);
  DetachFromSharedFormulas(row, column);
  std::vector<Record> anchored;  // a data table other cells refer to
  std::erase_if(items_, [&](const CellItem& item) {
    if (item.row != row || item.first_column != column) return false;
    for (std::size_t i = 1; i < item.records.size(); ++i) {
      const std::uint16_t type = item.records[i].type;
      if (type == record_type::kShrFmla || type == record_type::kArray ||
          type == record_type::kTable) {
        anchored.push_back(item.records[i]);
      }
    }
    return true;
  });
  const std::uint16_t xf = GetU16(record.body, kCellXfOffset);
  CellItem item{row, column, column, {std::move(record)}};
  item.records.insert(item.records.end(), anchored.begin(), anchored.end());
  items_.push_back(std::move(item));
  cells_[Key(row, column)] = {std::move(value), xf};
  ExtendRow(row, column);
  ExtendDimensions(row, column);
  modified_ = true;
}

void SheetSubstream::SplitMultiCellItem(std::uint16_t row, std::uint16_t column) {
  const auto found = std::find_if(items_.begin(), items_.end(), [&](const CellItem& item) {
    const std::uint16_t type = item.records[0].type;
    return item.row == row && item.first_column <= column && column <= item.last_column &&
           (type == record_type::kMulRk || type == record_type::kMulBlank);
  });
  if (found == items_.end()) return;
  const Record multi = found->records[0];
  const std::uint16_t first = found->first_column;
  // The single cells take the MUL record's place: a file that also stores one of these
  // cells again later must still find the later record winning.
  std::vector<CellItem> singles;
  for (std::size_t i = 0; i < MultiCellCount(multi); ++i) {
    const auto at = static_cast<std::uint16_t>(first + i);
    Record single = multi.type == record_type::kMulRk
                        ? RkRecord(row, at, GetU16(multi.body, 4 + i * kMulRkEntrySize),
                                   GetU32(multi.body, 6 + i * kMulRkEntrySize))
                        : BlankRecord(row, at, GetU16(multi.body, 4 + 2 * i));
    singles.push_back({row, at, at, {std::move(single)}});
  }
  const auto position = items_.erase(found);
  items_.insert(position, std::make_move_iterator(singles.begin()),
                std::make_move_iterator(singles.end()));
}

void SheetSubstream::ExtendRow(std::uint16_t row, std::uint16_t column) {
  const auto next = static_cast<std::uint16_t>(column + 1);
  const auto found = rows_.find(row);
  if (found == rows_.end()) {
    rows_[row] = RowRecord(row, column, next, default_row_height_);
    return;
  }
  std::vector<std::uint8_t>& body = found->second.body;
  const std::uint16_t first = GetU16(body, 2);
  const std::uint16_t end = GetU16(body, 4);
  const bool empty = first >= end;
  PutU16(body, 2, empty ? column : std::min(first, column));
  PutU16(body, 4, empty ? next : std::max(end, next));
}

void SheetSubstream::ExtendDimensions(std::uint16_t row, std::uint16_t column) {
  VisitOwnRecords(before_, after_, [&](Record& record) {
    if (record.type != record_type::kDimensions || record.body.size() < 12) return false;
    std::vector<std::uint8_t>& body = record.body;
    const std::uint32_t first_row = GetU32(body, 0);
    const std::uint32_t end_row = GetU32(body, 4);
    const std::uint16_t first_column = GetU16(body, 8);
    const std::uint16_t end_column = GetU16(body, 10);
    const bool empty = first_row >= end_row || first_column >= end_column;
    PutU32(body, 0, empty ? row : std::min<std::uint32_t>(first_row, row));
    PutU32(body, 4, empty ? row + 1u : std::max<std::uint32_t>(end_row, row + 1u));
    PutU16(body, 8, empty ? column : std::min(first_column, column));
    PutU16(body, 10,
           static_cast<std::uint16_t>(empty ? column + 1 : std::max<int>(end_column, column + 1)));
    return true;
  });
}

std::size_t SheetSubstream::SharedStringReferences() const {
  return static_cast<std::size_t>(std::count_if(
      items_.begin(), items_.end(),
      [](const CellItem& item) { return item.records[0].type == record_type::kLabelSst; }));
}

void SheetSubstream::RecalculateFormulasReadingOtherSheets() {
  std::set<std::uint32_t> cross_sheet;
  for (const CellItem& item : items_) {
    const Record& cell = item.records[0];
    if (cell.type != record_type::kFormula) continue;
    const auto own = ExpressionAt(cell.body, kFormulaExpressionOffset);
    if (!own) continue;
    std::span<const std::uint8_t> rgce = own->rgce;
    // A cell of a shared or array formula: the anchor's SHRFMLA or ARRAY holds its tokens.
    if (const std::optional<CellAnchor> anchor = ExpAnchor(rgce)) {
      const CellItem* owner = ItemAt(anchor->row, anchor->column);
      const Record* shared =
          owner ? AnchoredRecord(owner->records, record_type::kShrFmla) : nullptr;
      const Record* array = owner ? AnchoredRecord(owner->records, record_type::kArray) : nullptr;
      std::optional<Expression> anchored;
      if (shared) anchored = ExpressionAt(shared->body, kSharedFormulaExpressionOffset);
      if (array) anchored = ExpressionAt(array->body, kArrayFormulaExpressionOffset);
      if (anchored) rgce = anchored->rgce;
    }
    if (MayReadOtherSheets(rgce)) cross_sheet.insert(Key(item.row, item.first_column));
  }
  if (cross_sheet.empty()) return;
  const auto mark = [&](Record& record) {
    if (record.type != record_type::kFormula || record.body.size() <= kFormulaFlagsOffset) return;
    if (cross_sheet.count(Key(GetU16(record.body, 0), GetU16(record.body, 2))) != 0) {
      record.body[kFormulaFlagsOffset] |= kFormulaAlwaysCalc;
    }
  };
  for (CellItem& item : items_) mark(item.records[0]);
  const std::vector<int> depths = Depths(original_);
  for (std::size_t i = 0; i < original_.size(); ++i) {
    if (depths[i] == 1) mark(original_[i]);
  }
}

void SheetSubstream::MarkUsedStrings(std::vector<bool>& used) const {
  for (const CellItem& item : items_) {
    const Record& record = item.records[0];
    if (record.type != record_type::kLabelSst) continue;
    const std::uint32_t index = GetU32(record.body, kCellValueOffset);
    if (index < used.size()) used[index] = true;
  }
}

void SheetSubstream::RenumberStrings(const std::vector<std::uint32_t>& new_index) {
  const auto renumber = [&](Record& record) {
    if (record.type != record_type::kLabelSst || record.body.size() < kCellValueOffset + 4) return;
    const std::uint32_t index = GetU32(record.body, kCellValueOffset);
    // An index past the old table read as nothing; past the new one it still does.
    const auto renumbered =
        index < new_index.size() ? new_index[index] : static_cast<std::uint32_t>(-1);
    PutU32(record.body, kCellValueOffset, renumbered);
  };
  for (CellItem& item : items_) renumber(item.records[0]);
  // An unchanged sheet is written from its records as read: they follow too.
  const std::vector<int> depths = Depths(original_);
  for (std::size_t i = 0; i < original_.size(); ++i) {
    if (depths[i] == 1) renumber(original_[i]);
  }
}

std::vector<std::uint8_t> SheetSubstream::SerializeOriginal(std::size_t base) const {
  const auto delta = static_cast<std::uint32_t>(base - original_offset_);
  const std::vector<int> depths = Depths(original_);
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < original_.size(); ++i) {
    const Record& record = original_[i];
    if (delta == 0 || record.type != record_type::kIndex || depths[i] != 1 ||
        record.body.size() < kIndexFixedSize) {
      AppendRecord(out, record);
      continue;
    }
    // INDEX holds stream positions: of DEFCOLWIDTH and of every DBCELL.
    Record moved = record;
    for (std::size_t at = 12; at + 4 <= moved.body.size(); at += 4) {
      const std::uint32_t position = GetU32(moved.body, at);
      if (position != 0) PutU32(moved.body, at, position + delta);
    }
    AppendRecord(out, moved);
  }
  return out;
}

std::vector<std::uint8_t> SheetSubstream::Serialize(std::size_t base) const {
  if (!modified_) return SerializeOriginal(base);
  std::set<std::uint16_t> rows;
  for (const auto& [row, record] : rows_) rows.insert(row);
  for (const CellItem& item : items_) rows.insert(item.row);
  std::set<std::uint16_t> blocks;
  for (const std::uint16_t row : rows)
    blocks.insert(static_cast<std::uint16_t>(row >> kRowBlockShift));

  std::vector<std::uint8_t> out;
  std::optional<std::size_t> index_at;
  std::optional<std::size_t> column_width_at;
  for (const Record& record : before_) {
    if (record.type == record_type::kIndex && !index_at) {
      index_at = out.size();
      AppendRecord(out, record_type::kIndex,
                   std::vector<std::uint8_t>(kIndexFixedSize + 4 * blocks.size(), 0));
      continue;
    }
    if (record.type == record_type::kDefColWidth) column_width_at = out.size();
    if (record.type == record_type::kCalcMode && record.body.size() >= 2) {
      Record automatic = record;
      PutU16(automatic.body, 0, kCalcAutomatic);
      AppendRecord(out, automatic);
      continue;
    }
    AppendRecord(out, record);
  }
  std::vector<std::uint32_t> dbcells;
  AppendCellTable(out, base, dbcells);
  for (const Record& record : after_) AppendRecord(out, record);

  if (index_at) {
    std::span<std::uint8_t> index(out.data() + *index_at + kRecordHeaderSize,
                                  kIndexFixedSize + 4 * dbcells.size());
    std::uint32_t first_row = 0;
    std::uint32_t end_row = 0;
    if (!items_.empty()) {
      const auto [low, high] =
          std::minmax_element(items_.begin(), items_.end(),
                              [](const CellItem& a, const CellItem& b) { return a.row < b.row; });
      first_row = low->row;
      end_row = high->row + 1u;
    }
    PutU32(index, 4, first_row);
    PutU32(index, 8, end_row);
    PutU32(index, 12, column_width_at ? static_cast<std::uint32_t>(base + *column_width_at) : 0);
    for (std::size_t i = 0; i < dbcells.size(); ++i) PutU32(index, 16 + 4 * i, dbcells[i]);
  }
  return out;
}

void SheetSubstream::AppendCellTable(std::vector<std::uint8_t>& out, std::size_t base,
                                     std::vector<std::uint32_t>& dbcell_positions) const {
  std::map<std::uint16_t, std::vector<const CellItem*>> cells_by_row;
  for (const CellItem& item : items_) cells_by_row[item.row].push_back(&item);
  for (auto& [row, cells] : cells_by_row) {
    std::stable_sort(cells.begin(), cells.end(), [](const CellItem* a, const CellItem* b) {
      return a->first_column < b->first_column;
    });
  }
  std::set<std::uint16_t> rows;
  for (const auto& [row, record] : rows_) rows.insert(row);
  for (const auto& [row, cells] : cells_by_row) rows.insert(row);

  auto next_row = rows.begin();
  while (next_row != rows.end()) {
    const unsigned block = static_cast<unsigned>(*next_row) >> kRowBlockShift;
    auto block_end = next_row;
    while (block_end != rows.end() &&
           (static_cast<unsigned>(*block_end) >> kRowBlockShift) == block) {
      ++block_end;
    }
    std::optional<std::size_t> first_row_at;
    std::vector<std::uint16_t> block_rows;
    for (auto row = next_row; row != block_end; ++row) {
      const auto found = rows_.find(*row);
      if (found == rows_.end()) continue;
      if (!first_row_at) first_row_at = out.size();
      block_rows.push_back(*row);
      AppendRecord(out, found->second);
    }
    std::map<std::uint16_t, std::size_t> first_cell_at;
    for (auto row = next_row; row != block_end; ++row) {
      const auto found = cells_by_row.find(*row);
      if (found == cells_by_row.end()) continue;
      first_cell_at[*row] = out.size();
      for (const CellItem* item : found->second) {
        for (const Record& record : item->records) {
          if (record.type == record_type::kFormula && record.body.size() > kFormulaFlagsOffset) {
            Record always_calculated = record;
            always_calculated.body[kFormulaFlagsOffset] |= kFormulaAlwaysCalc;
            AppendRecord(out, always_calculated);
          } else {
            AppendRecord(out, record);
          }
        }
      }
    }
    const std::size_t dbcell_at = out.size();
    std::vector<std::uint8_t> body;
    AppendU32(body, first_row_at ? static_cast<std::uint32_t>(dbcell_at - *first_row_at) : 0);
    std::size_t from = first_row_at ? *first_row_at + kRecordHeaderSize + kRowBodySize : 0;
    for (const std::uint16_t row : block_rows) {
      const auto found = first_cell_at.find(row);
      if (found == first_cell_at.end()) {
        AppendU16(body, 0);
        continue;
      }
      AppendU16(body, static_cast<std::uint16_t>(found->second - from));
      from = found->second;
    }
    AppendRecord(out, record_type::kDbCell, body);
    dbcell_positions.push_back(static_cast<std::uint32_t>(base + dbcell_at));
    next_row = block_end;
  }
}

}  // namespace xls::biff
