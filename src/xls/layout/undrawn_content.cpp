#include "xls/layout/undrawn_content.h"

#include <map>
#include <optional>
#include <span>
#include <utility>

#include "xls/biff/byte_io.h"
#include "xls/biff/record.h"
#include "xls/biff/record_fields.h"
#include "xls/biff/shared_string_table.h"

namespace xls::layout {

namespace {

namespace cell_record = biff::cell_record;

using CellKey = std::pair<std::uint16_t, std::uint16_t>;

biff::SharedStringTable SharedStrings(const std::vector<biff::Record>& globals) {
  for (std::size_t i = 0; i < globals.size(); ++i) {
    if (globals[i].type != biff::record_type::kSst) continue;
    std::vector<std::vector<std::uint8_t>> chunks{globals[i].body};
    for (std::size_t next = i + 1;
         next < globals.size() && globals[next].type == biff::record_type::kContinue; ++next) {
      chunks.push_back(globals[next].body);
    }
    return biff::SharedStringTable::Parse(std::move(chunks));
  }
  return {};
}

// Whether a string's runs change what the cell's font looks like: size, weight, slant, lines
// or colour. Runs that only change the face (Latin letters in one, Chinese in another, as
// LibreOffice writes them) print alike, since a face without Chinese falls back to one with.
bool ChangesLook(std::span<const std::uint8_t> runs, const SheetLayout& layout,
                 const Font& cell_font) {
  using biff::string_flags::kRunSize;
  for (std::size_t at = 0; at + kRunSize <= runs.size(); at += kRunSize) {
    const std::uint16_t index = biff::GetU16(runs, at + biff::string_flags::kRunFont);
    if (index >= layout.fonts.size()) continue;
    const Font& font = layout.fonts[index];
    if (font.points != cell_font.points || font.bold != cell_font.bold ||
        font.italic != cell_font.italic || font.underline != cell_font.underline ||
        font.strikeout != cell_font.strikeout || !(font.colour == cell_font.colour)) {
      return true;
    }
  }
  return false;
}

// An OBJ that prints: neither a cell note's box nor a filter's or list's arrow.
bool IsPrintedDrawing(const biff::Record& record) {
  using namespace biff::obj_record;
  return record.type == biff::record_type::kObj && record.body.size() >= kFlags + 2 &&
         biff::GetU16(record.body, kObjectType) != kComment &&
         (biff::GetU16(record.body, kFlags) & kPrinted) != 0;
}

}  // namespace

void FindUndrawnContent(const std::vector<biff::Record>& globals,
                        const std::vector<biff::Record>& sheet, SheetLayout& layout) {
  // The runs of each cell whose text has them, by cell.
  std::map<CellKey, std::span<const std::uint8_t>> runs;
  std::optional<biff::SharedStringTable> strings;
  for (const biff::Record& record : sheet) {
    if (record.type == biff::record_type::kLabelSst &&
        record.body.size() >= cell_record::kValue + 4) {
      if (!strings) strings = SharedStrings(globals);
      const auto cell_runs =
          strings->FormattingRuns(biff::GetU32(record.body, cell_record::kValue));
      if (!cell_runs.empty()) {
        runs[{biff::GetU16(record.body, cell_record::kRow),
              biff::GetU16(record.body, cell_record::kColumn)}] = cell_runs;
      }
    } else if (IsPrintedDrawing(record)) {
      ++layout.drawings;
    }
  }
  for (const PrintCell& cell : layout.cells) {
    if (cell.text.empty()) continue;
    const CellStyle& style = layout.styles[cell.style];
    if (style.rotation != 0) {
      layout.undrawn.push_back({UndrawnFeature::kRotatedText, cell.row, cell.column});
    }
    if (const auto found = runs.find({cell.row, cell.column});
        found != runs.end() && ChangesLook(found->second, layout, layout.fonts[style.font])) {
      layout.undrawn.push_back({UndrawnFeature::kRichText, cell.row, cell.column});
    }
  }
}

}  // namespace xls::layout
