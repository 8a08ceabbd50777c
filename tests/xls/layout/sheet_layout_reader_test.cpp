#include "xls/layout/sheet_layout_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "layout_records.h"
#include "xls/cfb/compound_file.h"
#include "xls/failure.h"

namespace {

using namespace layout_test;
using namespace xls::layout;

const PrintCell* CellAt(const SheetLayout& layout, std::uint16_t row, std::uint16_t column) {
  for (const PrintCell& cell : layout.cells) {
    if (cell.row == row && cell.column == column) return &cell;
  }
  return nullptr;
}

// ptgRef B5, ptgInt 2, ptgMul: =B5*2
const Bytes kTwiceB5 = {0x24, 4, 0, 1, 0xC0, 0x1E, 2, 0, 0x05};

Bytes HandBuiltWorkbook() {
  const std::vector<Record> globals = {
      layout_test::Font(u"宋体", 220),
      layout_test::Font(u"Arial", 200),
      layout_test::Font(u"Arial", 200),
      layout_test::Font(u"Arial", 200),
      layout_test::Font(u"黑体", 360, true, false, 1,
                        10),  // index 5: the fifth record, red, underlined
      test_support::Format(164, u"0.0000"),
      layout_test::Xf({.font = 5, .horizontal = 2, .vertical = 1, .rotation = 90}),  // 16: title
      layout_test::Xf({.format = 164, .border = 1}),  // 17: volumes, thin lines
      layout_test::Xf({.horizontal = 3, .wrap = true, .fill_colour = 13, .shrink_to_fit = true}),
      // 18: yellow, wrapped, shrunk to fit
      PrintArea(1, 0, 20, 0, 5),  // of 码单, the second sheet
      PrintTitles(1, 1, 2, 0, 0),
      test_support::Sst({u"锯材码单", u"合计"}),
  };
  const std::vector<Record> sheet = {
      Header(u"&C&A"),
      Flag(0x0083, true),  // HCENTER
      Flag(0x002B, true),  // PRINTGRIDLINES
      Flag(0x002A, true),  // PRINTHEADERS
      WsBool(true),
      Margin(0x0026, 0.5),   // left
      Margin(0x0028, 0.75),  // top
      Setup(9, 85, 1, 0, false),
      RowBreaks({10, 5, 10}),
      DefColWidth(8),
      ColInfo(0, 0, 2048),
      ColInfo(2, 2, 3000, true),
      test_support::Dimensions(0, 6, 0, 6),
      RowHeight(0, 680),
      RowHeight(3, 300, true),
      test_support::LabelSst(0, 0, 16, 0),
      test_support::LabelSst(5, 0, 18, 1),
      test_support::Number(4, 1, 17, 0.84425),
      Formula(5, 1, 17, 0, kTwiceB5),
      MergeCells({{0, 0, 0, 5}}),
  };
  return test_support::BuildStream(globals, {{u"资料", {}}, {u"码单", sheet}});
}

TEST(SheetLayoutReader, ReadsFontsAndCellFormats) {
  const SheetLayout layout = ReadSheetLayout(HandBuiltWorkbook(), u"码单");
  ASSERT_GE(layout.fonts.size(), 6u);
  EXPECT_EQ(layout.fonts[0].name, u"宋体");
  EXPECT_DOUBLE_EQ(layout.fonts[0].points, 11);
  const xls::layout::Font& title = layout.fonts[5];  // font index 4 does not exist in the file
  EXPECT_EQ(title.name, u"黑体");
  EXPECT_DOUBLE_EQ(title.points, 18);
  EXPECT_TRUE(title.bold);
  EXPECT_EQ(title.underline, Underline::kSingle);
  EXPECT_EQ(title.colour, (Rgb{255, 0, 0}));

  ASSERT_GE(layout.styles.size(), 19u);
  EXPECT_EQ(layout.styles[16].font, 5u);
  EXPECT_EQ(layout.styles[16].horizontal, HorizontalAlignment::kCentre);
  EXPECT_EQ(layout.styles[16].vertical, VerticalAlignment::kCentre);
  EXPECT_EQ(layout.styles[17].left.style, BorderStyle::kThin);
  EXPECT_EQ(layout.styles[17].bottom.style, BorderStyle::kThin);
  EXPECT_FALSE(layout.styles[17].fill.has_value());
  EXPECT_EQ(layout.styles[18].horizontal, HorizontalAlignment::kRight);
  EXPECT_TRUE(layout.styles[18].wrap);
  EXPECT_EQ(layout.styles[18].fill, (Rgb{255, 255, 0}));
  // What the printout cannot draw is read with the cells: the turned title; the shrunk total
  // it draws.
  EXPECT_EQ(layout.styles[16].rotation, 90);
  EXPECT_FALSE(layout.styles[16].shrink_to_fit);
  EXPECT_TRUE(layout.styles[18].shrink_to_fit);
  ASSERT_EQ(layout.undrawn.size(), 1u);
  EXPECT_EQ(layout.undrawn[0].feature, UndrawnFeature::kRotatedText);
}

TEST(SheetLayoutReader, ShowsCellsThroughTheirFormatsAndRecomputesFormulas) {
  const SheetLayout layout = ReadSheetLayout(HandBuiltWorkbook(), u"码单");
  const PrintCell* title = CellAt(layout, 0, 0);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text, u"锯材码单");
  EXPECT_FALSE(title->is_number);
  EXPECT_EQ(title->style, 16u);
  const PrintCell* volume = CellAt(layout, 4, 1);
  ASSERT_NE(volume, nullptr);
  EXPECT_EQ(volume->text, u"0.8443");
  EXPECT_TRUE(volume->is_number);
  const PrintCell* twice = CellAt(layout, 5, 1);
  ASSERT_NE(twice, nullptr);
  EXPECT_EQ(twice->text, u"1.6885");  // not the stale 0 the file holds
}

TEST(SheetLayoutReader, ReadsSizesMergesAndPageSetup) {
  const SheetLayout layout = ReadSheetLayout(HandBuiltWorkbook(), u"码单");
  EXPECT_EQ(layout.sheet_name, u"码单");
  EXPECT_EQ(layout.ColumnWidth(0), 2048);
  // Eight digits of DEFCOLWIDTH, plus the padding an 11-point default font brings.
  EXPECT_EQ(layout.ColumnWidth(1), 8 * 256 + 249);
  EXPECT_TRUE(layout.ColumnHidden(2));
  EXPECT_FALSE(layout.ColumnHidden(3));
  EXPECT_EQ(layout.RowHeight(0), 680);
  EXPECT_TRUE(layout.RowHidden(3));
  EXPECT_EQ(layout.RowHeight(40), 255);
  ASSERT_EQ(layout.merges.size(), 1u);
  EXPECT_EQ(layout.merges[0], (CellRange{0, 0, 0, 5}));

  const PageSetup& page = layout.page;
  EXPECT_EQ(page.paper_size, 9);
  EXPECT_EQ(page.orientation, Orientation::kLandscape);
  EXPECT_EQ(page.scale_percent, 85);
  EXPECT_TRUE(page.fit_to_pages);
  EXPECT_EQ(page.fit_width, 1);
  EXPECT_EQ(page.fit_height, 0);
  EXPECT_DOUBLE_EQ(page.left_margin, 0.5);
  EXPECT_DOUBLE_EQ(page.top_margin, 0.75);
  EXPECT_DOUBLE_EQ(page.right_margin, 0.75);  // no record: the usual default
  EXPECT_DOUBLE_EQ(page.bottom_margin, 1.0);
  EXPECT_DOUBLE_EQ(page.header_margin, 0.3);
  EXPECT_TRUE(page.centre_horizontally);
  EXPECT_FALSE(page.centre_vertically);
  EXPECT_TRUE(page.print_gridlines);
  EXPECT_EQ(page.row_breaks, (std::vector<std::uint16_t>{5, 10}));
  EXPECT_EQ(page.header, u"&C&A");
  EXPECT_EQ(page.print_area, (CellRange{0, 20, 0, 5}));
  EXPECT_EQ(page.title_rows, (LineSpan{1, 2}));
  EXPECT_EQ(page.title_columns, (LineSpan{0, 0}));
  EXPECT_TRUE(page.print_headings);
}

TEST(SheetLayoutReader, ThePrintAreaBelongsToItsOwnSheet) {
  // The name names the second sheet (index 1); the first sheet has none.
  const SheetLayout other = ReadSheetLayout(HandBuiltWorkbook(), u"资料");
  EXPECT_FALSE(other.page.print_area.has_value());
  EXPECT_FALSE(other.page.title_rows || other.page.title_columns || other.page.print_headings);
}

TEST(SheetLayoutReader, AMissingSheetIsSaidAsSuch) {
  try {
    ReadSheetLayout(HandBuiltWorkbook(), u"没有");
    ADD_FAILURE() << "a sheet that is not there was found";
  } catch (const xls::Failure& failure) {
    EXPECT_EQ(failure.Kind(), xls::FailureKind::kNoSuchSheet);
    EXPECT_EQ(failure.Sheet(), u"没有");
  }
  // Names compare without regard to the case of Latin letters, as spreadsheets compare them.
  const Bytes stream = test_support::BuildStream({}, {{u"Sheet1", {}}});
  EXPECT_NO_THROW(ReadSheetLayout(stream, u"SHEET1"));
}

TEST(SheetLayoutReader, ReadsTheSampleTemplate) {
  std::ifstream in(std::filesystem::path(VERDALON_TEMPLATE), std::ios::binary);
  const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto stream = xls::cfb::CompoundFile::Read(file).ReadStream(u"Workbook");
  ASSERT_TRUE(stream.has_value());
  const SheetLayout layout = ReadSheetLayout(*stream, u"码单");

  EXPECT_EQ(layout.page.paper_size, 9);
  EXPECT_EQ(layout.page.orientation, Orientation::kPortrait);
  EXPECT_TRUE(layout.page.fit_to_pages);
  EXPECT_TRUE(layout.page.centre_horizontally);
  EXPECT_NEAR(layout.page.left_margin * 2.54, 1.8, 0.001);
  EXPECT_NEAR(layout.page.top_margin * 2.54, 1.5, 0.001);
  EXPECT_EQ(layout.ColumnWidth(0), 0x081A);
  EXPECT_EQ(layout.ColumnWidth(5), 0x09B9);
  EXPECT_EQ(layout.RowHeight(0), 680);  // 1.2 cm
  EXPECT_NE(std::find(layout.merges.begin(), layout.merges.end(), CellRange{0, 0, 0, 7}),
            layout.merges.end());

  const PrintCell* title = CellAt(layout, 0, 0);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text, u"锯材码单");
  const xls::layout::Font& title_font = layout.fonts[layout.styles[title->style].font];
  EXPECT_EQ(title_font.name, u"SimSun");
  EXPECT_DOUBLE_EQ(title_font.points, 18);
  EXPECT_TRUE(title_font.bold);
  EXPECT_EQ(layout.styles[title->style].horizontal, HorizontalAlignment::kCentre);
  const PrintCell* total = CellAt(layout, 18, 7);
  ASSERT_NE(total, nullptr);
  EXPECT_EQ(total->text, u"0.00");  // the sum of no amounts, in the template's 0.00
}

}  // namespace
