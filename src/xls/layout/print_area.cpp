#include "xls/layout/print_area.h"

#include <algorithm>

#include "xls/biff/byte_io.h"
#include "xls/biff/formula_tokens.h"
#include "xls/biff/name_record.h"
#include "xls/biff/record.h"
#include "xls/biff/record_fields.h"

namespace xls::layout {

namespace {

constexpr std::uint16_t kLastRow = 0xFFFF;
constexpr std::uint16_t kLastColumn = 255;  // IV, the last of 256

void Cover(std::optional<CellRange>& area, CellRange range) {
  if (!area) {
    area = range;
    return;
  }
  area->first_row = std::min(area->first_row, range.first_row);
  area->last_row = std::max(area->last_row, range.last_row);
  area->first_column = std::min(area->first_column, range.first_column);
  area->last_column = std::max(area->last_column, range.last_column);
}

// The ranges of a name's formula, in order; nothing when it is not a plain list of ranges
// or one of them is upside down.
std::optional<std::vector<CellRange>> ReadRanges(std::span<const std::uint8_t> tokens) {
  std::vector<CellRange> ranges;
  std::size_t at = 0;
  while (at < tokens.size()) {
    // A print area is written with references, in any value class, joined by unions and
    // wrapped in a PtgMemFunc whose ranges follow it.
    const std::uint8_t ptg = tokens[at] < 0x80 ? biff::ptg::BaseId(tokens[at]) : tokens[at];
    const std::optional<std::size_t> size = biff::TokenSize(tokens, at);
    if (!size) break;
    if (const auto reference = biff::ReadReferenceOperand(tokens, at)) {
      ranges.push_back({reference->first_row, reference->last_row, reference->first_column,
                        reference->last_column});
    } else if (ptg != biff::ptg::kMemFunc && ptg != biff::ptg::kUnion) {
      break;  // anything else is not a plain range list
    }
    at += *size;
  }
  for (const CellRange& range : ranges) {
    if (range.first_row > range.last_row || range.first_column > range.last_column) {
      return std::nullopt;
    }
  }
  return ranges;
}

// The formula of the sheet's built-in name `code`, or nothing when the sheet has none.
std::optional<std::vector<CellRange>> BuiltInNameRanges(const std::vector<biff::Record>& globals,
                                                        std::size_t sheet_index, char16_t code) {
  for (const biff::Record& record : globals) {
    if (record.type != biff::record_type::kName ||
        record.body.size() < biff::name_record::kMinimumSize) {
      continue;
    }
    // Only the one name sought is read whole, so that another one's damage does not count.
    using namespace biff::name_record;
    const auto& body = record.body;
    if ((biff::GetU16(body, kFlags) & kBuiltIn) == 0) continue;
    if (biff::GetU16(body, kScope) != sheet_index + 1) continue;
    if (biff::GetU8(body, kNameLength) < 1 || biff::GetU8(body, kName + 1) != code) continue;
    return ReadRanges(biff::ReadName(body).rgce);
  }
  return std::nullopt;
}

}  // namespace

std::optional<CellRange> FindPrintArea(const std::vector<biff::Record>& globals,
                                       std::size_t sheet_index) {
  const auto ranges = BuiltInNameRanges(globals, sheet_index, biff::built_in_name::kPrintArea);
  if (!ranges) return std::nullopt;
  std::optional<CellRange> area;
  for (const CellRange& range : *ranges) Cover(area, range);
  return area;
}

PrintTitles FindPrintTitles(const std::vector<biff::Record>& globals, std::size_t sheet_index) {
  PrintTitles titles;
  const auto ranges = BuiltInNameRanges(globals, sheet_index, biff::built_in_name::kPrintTitles);
  if (!ranges) return titles;
  // Title rows span every column, title columns every row; other ranges mean nothing here.
  for (const CellRange& range : *ranges) {
    const bool all_columns = range.first_column == 0 && range.last_column == kLastColumn;
    const bool all_rows = range.first_row == 0 && range.last_row == kLastRow;
    if (all_columns && !all_rows) {
      titles.rows = LineSpan{range.first_row, range.last_row};
    } else if (all_rows && !all_columns) {
      titles.columns = LineSpan{range.first_column, range.last_column};
    }
  }
  return titles;
}

}  // namespace xls::layout
