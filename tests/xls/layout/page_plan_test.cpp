#include "xls/layout/page_plan.h"

#include <gtest/gtest.h>

namespace {

using namespace xls::layout;

constexpr double kDigit = 7.0;  // points per digit of the default font, chosen for the test

// rows rows of 20 pt and columns columns of 10 digits (70 pt), each with a text; A4 with
// one-inch margins all round, so that 697.89 pt of height and 451.28 pt of width are free.
SheetLayout Grid(std::uint16_t rows, std::uint16_t columns) {
  SheetLayout layout;
  layout.styles.emplace_back();
  layout.default_row_height = 400;
  layout.default_column_width = 10 * 256;
  layout.page.left_margin = layout.page.right_margin = 1.0;
  layout.page.top_margin = layout.page.bottom_margin = 1.0;
  for (std::uint16_t r = 0; r < rows; ++r) {
    for (std::uint16_t c = 0; c < columns; ++c) layout.cells.push_back({r, c, u"x", false, 0, {}});
  }
  return layout;
}

std::vector<std::pair<int, int>> RowRuns(const PagePlan& plan) {
  std::vector<std::pair<int, int>> runs;
  for (const PageSlice& page : plan.pages) runs.emplace_back(page.first_row, page.last_row);
  return runs;
}

TEST(PagePlan, TallSheetsGoOnAsManyPagesAsTheirRowsNeed) {
  // 697.89 / 20 = 34 whole rows a page.
  const PagePlan plan = PlanPages(Grid(60, 3), kDigit);
  EXPECT_DOUBLE_EQ(plan.scale, 1.0);
  EXPECT_EQ(RowRuns(plan), (std::vector<std::pair<int, int>>{{0, 33}, {34, 59}}));
  EXPECT_NEAR(plan.paper.width, 595.28, 0.01);
  EXPECT_NEAR(plan.paper.height, 841.89, 0.01);
}

TEST(PagePlan, ManualBreaksAndHiddenRows) {
  SheetLayout layout = Grid(60, 3);
  layout.page.row_breaks = {10};
  EXPECT_EQ(RowRuns(PlanPages(layout, kDigit)),
            (std::vector<std::pair<int, int>>{{0, 9}, {10, 43}, {44, 59}}));

  // Hidden rows take no room: with rows 0-9 hidden, rows 0-43 fit the first page.
  SheetLayout hidden = Grid(60, 3);
  hidden.row_heights.assign(10, 400);
  hidden.hidden_rows.assign(10, true);
  EXPECT_EQ(RowRuns(PlanPages(hidden, kDigit)),
            (std::vector<std::pair<int, int>>{{0, 43}, {44, 59}}));
}

TEST(PagePlan, WideSheetsGoDownFirstThenAcross) {
  // 451.28 / 70 = 6 columns a page; 8 columns and 60 rows make four pages.
  const PagePlan plan = PlanPages(Grid(60, 8), kDigit);
  ASSERT_EQ(plan.pages.size(), 4u);
  EXPECT_EQ(plan.pages[0].last_column, 5);
  EXPECT_EQ(plan.pages[1].first_row, 34);
  EXPECT_EQ(plan.pages[1].first_column, 0);
  EXPECT_EQ(plan.pages[2].first_column, 6);
  EXPECT_EQ(plan.pages[2].first_row, 0);
}

TEST(PagePlan, PagesWithNothingOnThemAreLeftOut) {
  // 60 rows by 3 columns fill two pages down the first column of pages; one stray cell
  // far away (DX65000) adds its own page, not the thousands between.
  SheetLayout layout = Grid(60, 3);
  layout.cells.push_back({64999, 127, u"x", false, 0, {}});
  PagePlan plan = PlanPages(layout, kDigit);
  ASSERT_EQ(plan.pages.size(), 3u);
  EXPECT_EQ(RowRuns(plan)[1], (std::pair<int, int>{34, 67}));
  const PageSlice& stray = plan.pages[2];
  EXPECT_TRUE(stray.first_row <= 64999 && 64999 <= stray.last_row);
  EXPECT_TRUE(stray.first_column <= 127 && 127 <= stray.last_column);

  // A merged range shows on each page it crosses; a cell with nothing to show adds none.
  layout.merges.push_back({30, 40, 5, 7});
  layout.cells.push_back({2000, 2, u"", false, 0, {}});
  plan = PlanPages(layout, kDigit);
  ASSERT_EQ(plan.pages.size(), 5u);
  EXPECT_EQ(plan.pages[2].first_column, 6);
  EXPECT_EQ(plan.pages[3].first_row, 34);
}

TEST(PagePlan, FitToPagesShrinksInWholePercentsAndNeverEnlarges) {
  SheetLayout layout = Grid(60, 8);
  layout.page.fit_to_pages = true;
  layout.page.fit_width = 1;
  layout.page.fit_height = 1;
  const PagePlan plan = PlanPages(layout, kDigit);
  // Height rules: 697.89 / 1200 = 58.2 %; width would allow 80.6 %.
  EXPECT_DOUBLE_EQ(plan.scale, 0.58);
  EXPECT_EQ(plan.pages.size(), 1u);

  layout.page.fit_height = 0;  // as many pages down as it takes
  const PagePlan wide = PlanPages(layout, kDigit);
  EXPECT_DOUBLE_EQ(wide.scale, 0.80);
  EXPECT_EQ(wide.pages.size(), 2u);

  SheetLayout small = Grid(3, 2);
  small.page.fit_to_pages = true;
  EXPECT_DOUBLE_EQ(PlanPages(small, kDigit).scale, 1.0);
}

TEST(PagePlan, FitToPagesCutsAtWholeColumnsAndIgnoresManualBreaks) {
  // 13 columns of 70 pt would go into two pages of 451.28 pt at 99 %, but whole columns
  // need 92 %: seven (490 pt) fit 490.52 pt; at 93 % only six do, and three pages it takes.
  SheetLayout layout = Grid(10, 13);
  layout.page.fit_to_pages = true;
  layout.page.fit_width = 2;
  layout.page.fit_height = 0;
  // Excel ignores manual breaks on a sheet fit to pages, down as well as across.
  layout.page.column_breaks = {3};
  layout.page.row_breaks = {5};
  const PagePlan plan = PlanPages(layout, kDigit);
  EXPECT_DOUBLE_EQ(plan.scale, 0.92);
  ASSERT_EQ(plan.pages.size(), 2u);
  EXPECT_EQ(plan.pages[0].last_column, 6);
  EXPECT_EQ(plan.pages[0].last_row, 9);
}

TEST(PagePlan, TitlesTakeTheirRoomFromThePagesPastThem) {
  struct Case {
    const char* what;
    std::optional<LineSpan> title_rows;
    std::vector<std::pair<int, int>> runs;
    std::vector<bool> titled;
  };
  // 34 rows of 20 pt a page; with two title rows above, 32.
  const Case cases[] = {
      {"none", std::nullopt, {{0, 33}, {34, 67}, {68, 99}}, {false, false, false}},
      {"at the top",
       LineSpan{0, 1},
       {{0, 33}, {34, 65}, {66, 97}, {98, 99}},
       {false, true, true, true}},
      {"further down",
       LineSpan{5, 6},
       {{0, 33}, {34, 65}, {66, 97}, {98, 99}},
       {false, true, true, true}},
      // No page starts inside the titles: the first runs on to row 34.
      {"across the first cut",
       LineSpan{33, 34},
       {{0, 34}, {35, 66}, {67, 98}, {99, 99}},
       {false, true, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SheetLayout layout = Grid(100, 3);
    layout.page.title_rows = c.title_rows;
    const PagePlan plan = PlanPages(layout, kDigit);
    EXPECT_EQ(RowRuns(plan), c.runs);
    std::vector<bool> titled;
    for (const PageSlice& page : plan.pages) titled.push_back(page.title_rows);
    EXPECT_EQ(titled, c.titled);
  }

  // A print area that begins inside the titles has them whole above its first page.
  SheetLayout area = Grid(100, 3);
  area.page.title_rows = LineSpan{0, 3};
  area.page.print_area = CellRange{2, 99, 0, 2};
  const PagePlan inside = PlanPages(area, kDigit);
  EXPECT_TRUE(inside.pages.front().title_rows);
  EXPECT_EQ(inside.pages.front().first_row, 4);

  // Six columns of 70 pt a page, five past the first with one title column.
  SheetLayout wide = Grid(10, 14);
  wide.page.title_columns = LineSpan{0, 0};
  const PagePlan across = PlanPages(wide, kDigit);
  ASSERT_EQ(across.pages.size(), 3u);
  EXPECT_EQ(across.pages[1].first_column, 6);
  EXPECT_EQ(across.pages[1].last_column, 10);
  EXPECT_TRUE(across.pages[2].title_columns);
  EXPECT_FALSE(across.pages[0].title_columns);
}

TEST(PagePlan, PrintedHeadingsTakeRoomFromThePage) {
  SheetLayout layout = Grid(60, 3);
  layout.page.top_margin = 1.11;  // 689.97 pt of height: 34 rows, less 12.8 pt 33
  EXPECT_EQ(RowRuns(PlanPages(layout, kDigit)).front(), (std::pair<int, int>{0, 33}));
  layout.page.print_headings = true;
  const PagePlan plan = PlanPages(layout, kDigit);
  EXPECT_TRUE(plan.headings);
  EXPECT_EQ(RowRuns(plan).front(), (std::pair<int, int>{0, 32}));
}

TEST(PagePlan, ScaleLandscapeAndPrintArea) {
  SheetLayout layout = Grid(60, 3);
  layout.page.scale_percent = 50;  // 68 rows a page at half size
  EXPECT_EQ(PlanPages(layout, kDigit).pages.size(), 1u);

  layout.page.scale_percent = 100;
  layout.page.orientation = Orientation::kLandscape;
  const PagePlan landscape = PlanPages(layout, kDigit);
  EXPECT_NEAR(landscape.paper.width, 841.89, 0.01);
  EXPECT_EQ(RowRuns(landscape).front(), (std::pair<int, int>{0, 21}));  // 451.28 / 20

  layout.page.orientation = Orientation::kPortrait;
  layout.page.print_area = CellRange{5, 9, 1, 2};
  const PagePlan area = PlanPages(layout, kDigit);
  ASSERT_EQ(area.pages.size(), 1u);
  EXPECT_EQ(area.pages[0].first_row, 5);
  EXPECT_EQ(area.pages[0].last_row, 9);
  EXPECT_EQ(area.pages[0].first_column, 1);
}

TEST(PagePlan, WhatShowsDecidesTheUsedRange) {
  SheetLayout layout = Grid(2, 2);
  // An empty cell with default format beyond the texts does not widen the printout ...
  layout.cells.push_back({30, 9, u"", false, 0, {}});
  EXPECT_EQ(UsedRange(layout), (CellRange{0, 1, 0, 1}));
  // ... one with a border does, and so does a merged range.
  CellStyle boxed;
  boxed.bottom.style = BorderStyle::kThin;
  layout.styles.push_back(boxed);
  layout.cells.push_back({4, 3, u"", false, 1, {}});
  layout.merges.push_back({6, 7, 0, 4});
  EXPECT_EQ(UsedRange(layout), (CellRange{0, 7, 0, 4}));

  EXPECT_TRUE(PlanPages(SheetLayout{}, kDigit).pages.empty());
}

TEST(PagePlan, PaperCodes) {
  // Sizes in millimetres (inches for the American papers), as the code lists them.
  struct Case {
    std::uint16_t code;
    double width;
    double height;
    double points_per_unit;
  };
  constexpr double kMm = 72 / 25.4;
  for (const Case& c :
       {Case{1, 8.5, 11, 72}, Case{4, 17, 11, 72}, Case{8, 297, 420, kMm}, Case{9, 210, 297, kMm},
        Case{11, 148, 210, kMm}, Case{12, 257, 364, kMm}, Case{13, 182, 257, kMm},
        Case{14, 8.5, 13, 72}, Case{20, 4.125, 9.5, 72}, Case{27, 110, 220, kMm},
        Case{34, 176, 250, kMm}, Case{42, 250, 353, kMm}, Case{50, 9.5, 12, 72},
        Case{66, 420, 594, kMm}, Case{70, 105, 148, kMm}, Case{77, 297, 210, kMm},
        Case{88, 128, 182, kMm}, Case{93, 146, 215, kMm}, Case{118, 458, 324, kMm}}) {
    SCOPED_TRACE(c.code);
    EXPECT_NEAR(PaperForCode(c.code).width, c.width * c.points_per_unit, 0.01);
    EXPECT_NEAR(PaperForCode(c.code).height, c.height * c.points_per_unit, 0.01);
  }
  // Codes no paper has: A4.
  for (const std::uint16_t code : std::initializer_list<std::uint16_t>{0, 48, 49, 119, 1217}) {
    EXPECT_NEAR(PaperForCode(code).width, 595.28, 0.01) << code;
    EXPECT_NEAR(PaperForCode(code).height, 841.89, 0.01) << code;
  }
}

}  // namespace
