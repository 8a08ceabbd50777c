#include "xls/layout/print_area.h"

#include <algorithm>

#include "xls/biff/byte_io.h"
#include "xls/biff/record.h"

namespace xls::layout {

namespace {

constexpr std::uint16_t kNameBuiltIn = 0x0020;
constexpr std::uint8_t kPrintAreaName = 0x06;
constexpr std::uint8_t kPrintTitlesName = 0x07;
constexpr std::uint16_t kLastRow = 0xFFFF;
constexpr std::uint16_t kLastColumn = 0x00FF;
constexpr std::size_t kNameTextOffset = 14;

// Formula tokens a print area is written with, in every token class.
bool IsArea3d(std::uint8_t ptg) {
  return ptg == 0x3B || ptg == 0x5B || ptg == 0x7B;
}
bool IsRef3d(std::uint8_t ptg) {
  return ptg == 0x3A || ptg == 0x5A || ptg == 0x7A;
}
bool IsArea(std::uint8_t ptg) {
  return ptg == 0x25 || ptg == 0x45 || ptg == 0x65;
}
bool IsMemFunc(std::uint8_t ptg) {
  return ptg == 0x29 || ptg == 0x49 || ptg == 0x69;
}
constexpr std::uint8_t kPtgUnion = 0x10;

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
  using biff::GetU16;
  std::vector<CellRange> ranges;
  auto column = [&tokens](std::size_t at) {
    return static_cast<std::uint16_t>(GetU16(tokens, at) & 0x00FF);
  };
  std::size_t at = 0;
  while (at < tokens.size()) {
    const std::uint8_t ptg = tokens[at];
    if (IsArea3d(ptg)) {
      ranges.push_back(
          {GetU16(tokens, at + 3), GetU16(tokens, at + 5), column(at + 7), column(at + 9)});
      at += 11;
    } else if (IsRef3d(ptg)) {
      const std::uint16_t row = GetU16(tokens, at + 3);
      ranges.push_back({row, row, column(at + 5), column(at + 5)});
      at += 7;
    } else if (IsArea(ptg)) {
      ranges.push_back(
          {GetU16(tokens, at + 1), GetU16(tokens, at + 3), column(at + 5), column(at + 7)});
      at += 9;
    } else if (IsMemFunc(ptg)) {
      at += 3;  // the ranges it wraps follow
    } else if (ptg == kPtgUnion) {
      at += 1;
    } else {
      break;  // anything else is not a plain range list
    }
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
                                                        std::size_t sheet_index,
                                                        std::uint8_t code) {
  using biff::GetU16;
  using biff::GetU8;
  for (const biff::Record& record : globals) {
    if (record.type != biff::record_type::kName || record.body.size() < kNameTextOffset + 2)
      continue;
    const std::uint16_t flags = GetU16(record.body, 0);
    if ((flags & kNameBuiltIn) == 0) continue;
    if (GetU16(record.body, 8) != sheet_index + 1) continue;
    const std::uint8_t name_length = GetU8(record.body, 3);
    const std::uint16_t formula_size = GetU16(record.body, 4);
    const bool wide = (GetU8(record.body, kNameTextOffset) & 0x01) != 0;
    const std::size_t text = kNameTextOffset + 1;
    if (name_length < 1 || GetU8(record.body, text) != code) continue;
    const std::size_t formula = text + name_length * (wide ? 2u : 1u);
    biff::RequireBytes(record.body, formula, formula_size);
    return ReadRanges(std::span<const std::uint8_t>(record.body).subspan(formula, formula_size));
  }
  return std::nullopt;
}

}  // namespace

std::optional<CellRange> FindPrintArea(const std::vector<biff::Record>& globals,
                                       std::size_t sheet_index) {
  const auto ranges = BuiltInNameRanges(globals, sheet_index, kPrintAreaName);
  if (!ranges) return std::nullopt;
  std::optional<CellRange> area;
  for (const CellRange& range : *ranges) Cover(area, range);
  return area;
}

PrintTitles FindPrintTitles(const std::vector<biff::Record>& globals, std::size_t sheet_index) {
  PrintTitles titles;
  const auto ranges = BuiltInNameRanges(globals, sheet_index, kPrintTitlesName);
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
