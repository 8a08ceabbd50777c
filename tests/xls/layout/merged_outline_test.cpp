#include "xls/layout/merged_outline.h"

#include <gtest/gtest.h>

namespace xls::layout {
namespace {

TEST(MergedOutlineTest, OnlyTheRangesOutlinePrints) {
  const CellRange merge{2, 4, 1, 3};  // B3:D5
  struct Case {
    std::uint16_t row;
    std::uint16_t column;
    CellSides sides;
  };
  const Case cases[] = {
      {2, 1, {true, false, true, false}},    // top left corner
      {2, 2, {false, false, true, false}},   // top edge
      {2, 3, {false, true, true, false}},    // top right corner
      {3, 1, {true, false, false, false}},   // left edge
      {3, 2, {false, false, false, false}},  // inside: no line at all
      {4, 3, {false, true, false, true}},    // bottom right corner
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OutlineSides(&merge, c.row, c.column), c.sides) << c.row << "," << c.column;
  }
  const CellRange column{0, 3, 5, 5};  // one column high: both its sides print
  EXPECT_EQ(OutlineSides(&column, 1, 5), (CellSides{true, true, false, false}));
  EXPECT_EQ(OutlineSides(nullptr, 3, 2), CellSides{});
}

TEST(MergedOutlineTest, ARangeOverlapsThePagesItReaches) {
  const CellRange title{0, 0, 2, 9};           // C1:J1
  EXPECT_TRUE(Overlaps(title, 0, 40, 0, 4));   // its start on the first page
  EXPECT_TRUE(Overlaps(title, 0, 40, 5, 12));  // its end on the next
  EXPECT_FALSE(Overlaps(title, 0, 40, 10, 20));
  EXPECT_FALSE(Overlaps(title, 41, 80, 0, 4));  // the page below
}

}  // namespace
}  // namespace xls::layout
