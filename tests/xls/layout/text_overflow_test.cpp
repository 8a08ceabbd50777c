#include "xls/layout/text_overflow.h"

#include <gtest/gtest.h>

#include <string>

namespace xls::layout {
namespace {

using H = HorizontalAlignment;
using V = VerticalAlignment;

struct Case {
  const char* what;
  H horizontal;
  bool wrap;
  V vertical;
  bool is_number;
  // The row on the page: 'T' the cell, '.' a free column, '#' a column holding text or a
  // merged range. The expected run is marked with '^' under it.
  std::string row;
  std::string covers;
  bool shrink_to_fit = false;
};

CellStyle Style(const Case& c) {
  CellStyle style;
  style.horizontal = c.horizontal;
  style.wrap = c.wrap;
  style.vertical = c.vertical;
  style.shrink_to_fit = c.shrink_to_fit;
  return style;
}

TEST(TextOverflowTest, TextRunsOverFreeNeighboursOnTheSideAwayFromItsAlignment) {
  const Case cases[] = {
      {"general text stands left, runs right", H::kGeneral, false, V::kBottom, false,  //
       "..T..#.", "  ^^^  "},
      {"left text runs right to the page's end", H::kLeft, false, V::kBottom, false,  //
       "#T...", " ^^^^"},
      {"right text runs left", H::kRight, false, V::kBottom, false,  //
       "#..T.", " ^^^ "},
      {"centred text runs both ways", H::kCentre, false, V::kBottom, false,  //
       ".#..T..#", "  ^^^^^ "},
      {"filled text runs right only", H::kFill, false, V::kBottom, false,  //
       "..T..", "  ^^^"},
      {"centred across a selection runs right only", H::kCentreAcrossSelection, false, V::kBottom,
       false, "..T..", "  ^^^"},
      {"a neighbour with text stops it at once", H::kCentre, false, V::kBottom, false,  //
       ".#T#.", "  ^  "},
      {"a number never runs over", H::kGeneral, false, V::kBottom, true,  //
       "..T..", "  ^  "},
      {"a left-aligned number neither", H::kLeft, false, V::kBottom, true,  //
       "..T..", "  ^  "},
      {"wrapped text stays in its cell", H::kLeft, true, V::kBottom, false,  //
       "..T..", "  ^  "},
      {"justified text wraps", H::kJustify, false, V::kBottom, false,  //
       "..T..", "  ^  "},
      {"text justified down wraps", H::kLeft, false, V::kJustify, false,  //
       "..T..", "  ^  "},
      {"shrunk text stays in its cell", H::kGeneral, false, V::kBottom, false,  //
       "..T..", "  ^  ", true},
      {"shrunk centred text neither way", H::kCentre, false, V::kBottom, false,  //
       "..T..", "  ^  ", true},
      {"shrunk right text not left", H::kRight, false, V::kBottom, false,  //
       "..T..", "  ^  ", true},
  };
  for (const Case& c : cases) {
    const auto column = static_cast<std::uint16_t>(c.row.find('T'));
    const TextPlacement placement = PlaceText(Style(c), c.is_number);
    const ColumnSpan within{0, static_cast<std::uint16_t>(c.row.size() - 1)};
    const ColumnSpan span = OverflowColumns(column, placement, c.is_number, within,
                                            [&](std::uint16_t at) { return c.row.at(at) == '.'; });
    const auto first = static_cast<std::uint16_t>(c.covers.find('^'));
    const auto last = static_cast<std::uint16_t>(c.covers.rfind('^'));
    EXPECT_EQ(span, (ColumnSpan{first, last}))
        << c.what << ": got " << span.first << "-" << span.last;
  }
}

// Shrinking fits the text to its cell; wrapping, where the style asks for both, wins.
TEST(TextOverflowTest, ShrinkToFitShrinksUnlessTheTextWraps) {
  struct ShrinkCase {
    bool wrap;
    H horizontal;
    bool shrinks;
  };
  const ShrinkCase cases[] = {
      {false, H::kLeft, true},
      {false, H::kGeneral, true},
      {true, H::kLeft, false},
      {false, H::kJustify, false},  // justified text wraps
  };
  for (const ShrinkCase& c : cases) {
    CellStyle style;
    style.shrink_to_fit = true;
    style.wrap = c.wrap;
    style.horizontal = c.horizontal;
    const TextPlacement placement = PlaceText(style, false);
    EXPECT_EQ(placement.shrinks, c.shrinks) << c.wrap << static_cast<int>(c.horizontal);
    EXPECT_EQ(placement.wraps, !c.shrinks);
  }
  EXPECT_FALSE(PlaceText(CellStyle{}, false).shrinks);
}

TEST(TextOverflowTest, GeneralAlignmentSetsNumbersRightAndTextLeft) {
  const CellStyle general;
  EXPECT_EQ(PlaceText(general, true).horizontal, H::kRight);
  EXPECT_EQ(PlaceText(general, false).horizontal, H::kLeft);
  EXPECT_EQ(PlaceText(general, true, true).horizontal, H::kCentre);   // TRUE
  EXPECT_EQ(PlaceText(general, false, true).horizontal, H::kCentre);  // #DIV/0!
  CellStyle centred;
  centred.horizontal = H::kCentre;
  EXPECT_EQ(PlaceText(centred, true).horizontal, H::kCentre);
}

TEST(TextOverflowTest, TheRunEndsWithThePagesColumns) {
  // Columns 2 to 5 are on the page; 0, 1 and 6 would be free too.
  const auto free = [](std::uint16_t) { return true; };
  const TextPlacement centred{H::kCentre, false};
  EXPECT_EQ(OverflowColumns(3, centred, false, {2, 5}, free), (ColumnSpan{2, 5}));
  // The last column a sheet has: the run cannot step past it.
  const TextPlacement left{H::kLeft, false};
  EXPECT_EQ(OverflowColumns(255, left, false, {250, 255}, free), (ColumnSpan{255, 255}));
  const TextPlacement right{H::kRight, false};
  EXPECT_EQ(OverflowColumns(0, right, false, {0, 4}, free), (ColumnSpan{0, 0}));
}

TEST(TextOverflowTest, CentredAcrossTheSelectionTakesTheEmptyCellsThatJoinIt) {
  // 'T' the text, 'j' a cell that joins it, '.' one that does not.
  const std::pair<std::string, ColumnSpan> cases[] = {
      {".Tjjj.j", {1, 4}}, {"Tj.j", {0, 1}}, {".T.", {1, 1}}, {"Tjj", {0, 2}}};
  for (const auto& [row, covers] : cases) {
    const auto joins = [&row](std::uint16_t at) { return at < row.size() && row[at] == 'j'; };
    EXPECT_EQ(CentreAcrossColumns(static_cast<std::uint16_t>(row.find('T')), joins), covers) << row;
  }
  EXPECT_EQ(CentreAcrossColumns(255, [](std::uint16_t) { return true; }), (ColumnSpan{255, 255}));
}

// Past the page's last (or first) column, text goes on to the printable area's edge where the
// column beyond is free, also past the last column in use, instead of being cut there.
TEST(TextOverflowTest, TextReachingThePagesEndRunsOnToItsEdge) {
  struct OffCase {
    const char* what;
    H horizontal;
    bool wrap;
    bool is_number;
    // As above, with '[' and ']' around the columns the page shows (they take no column).
    std::string row;
    PageEdges off;
    bool shrink_to_fit = false;
  };
  const OffCase cases[] = {
      {"left text reaching the end", H::kLeft, false, false, "[.T..].", {false, true}},
      {"the column beyond holds text", H::kLeft, false, false, "[.T..]#", {}},
      {"a neighbour stops it on the page", H::kLeft, false, false, "[.T#.].", {}},
      {"right text reaching the start", H::kRight, false, false, ".[..T].", {true, false}},
      {"left text does not run left", H::kLeft, false, false, ".[T.]#", {}},
      {"centred text both ways", H::kCentre, false, false, ".[.T.].", {true, true}},
      {"a number stays in its cell", H::kGeneral, false, true, ".[T].", {}},
      {"wrapped text too", H::kLeft, true, false, ".[T].", {}},
      {"shrunk text too", H::kCentre, false, false, ".[T].", {}, true},
  };
  for (const OffCase& c : cases) {
    std::string columns;
    for (char ch : c.row) {
      if (ch != '[' && ch != ']') columns += ch;
    }
    const auto first = static_cast<std::uint16_t>(c.row.find('['));
    const auto last = static_cast<std::uint16_t>(c.row.find(']') - 2);
    const auto column = static_cast<std::uint16_t>(columns.find('T'));
    CellStyle style;
    style.horizontal = c.horizontal;
    style.wrap = c.wrap;
    style.shrink_to_fit = c.shrink_to_fit;
    const TextPlacement placement = PlaceText(style, c.is_number);
    const auto free = [&](std::uint16_t at) { return columns.at(at) == '.'; };
    const ColumnSpan span = OverflowColumns(column, placement, c.is_number, {first, last}, free);
    EXPECT_EQ(RunsOffPage(span, placement, c.is_number, {first, last}, free), c.off) << c.what;
  }
  // Nothing lies past the sheet's last column.
  const TextPlacement left{H::kLeft, false};
  const auto all_free = [](std::uint16_t) { return true; };
  EXPECT_EQ(RunsOffPage({255, 255}, left, false, {250, 255}, all_free), PageEdges{});
}

}  // namespace
}  // namespace xls::layout
