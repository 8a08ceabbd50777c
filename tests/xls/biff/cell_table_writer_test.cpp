#include "xls/biff/cell_table_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace xls::biff {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Records written out by hand from the BIFF8 layouts; every expected byte below is too.
const Bytes kRow2Body{0x02, 0x00, 0x01, 0x00, 0x04, 0x00, 0xFF, 0x00,
                      0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x0F, 0x00};
const Bytes kRow5Body{0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00,
                      0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x0F, 0x00};

Record Blank(std::uint8_t row, std::uint8_t column) {
  return {0x0201, {row, 0x00, column, 0x00, 0x0F, 0x00}};
}

// A formula whose "calculate on load" flag is clear, with no expression.
Record Formula(std::uint8_t row, std::uint8_t column) {
  return {0x0006, {row, 0x00, column, 0x00, 0x0F, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00}};
}

CellItem Item(Record record) {
  const CellAddress first{record.body[0], record.body[2]};
  return {first, first.column, {std::move(record)}};
}

// Block 0 holds ROW 2 and ROW 5 and two cells of row 2, given out of column order; block 1
// holds row 40, which has cells (one a formula) but no ROW record.
TEST(CellTableWriter, WritesRowBlocksCellsAndDbCellsByteForByte) {
  const std::map<std::uint16_t, Record> rows{{2, {0x0208, kRow2Body}}, {5, {0x0208, kRow5Body}}};
  const std::vector<CellItem> items{Item(Blank(2, 3)), Item(Blank(40, 0)), Item(Blank(2, 1)),
                                    Item(Formula(40, 2))};
  Bytes out{0xAA, 0xBB, 0xCC};  // what the stream already holds before the table
  const std::vector<std::uint32_t> dbcells = AppendCellTable(out, 100, rows, items);

  Bytes expected{0xAA, 0xBB, 0xCC};
  const auto append = [&expected](const Bytes& bytes) {
    expected.insert(expected.end(), bytes.begin(), bytes.end());
  };
  append({0x08, 0x02, 0x10, 0x00});  // offset 3: ROW 2
  append(kRow2Body);
  append({0x08, 0x02, 0x10, 0x00});  // offset 23: ROW 5
  append(kRow5Body);
  append({0x01, 0x02, 0x06, 0x00, 0x02, 0x00, 0x01, 0x00, 0x0F, 0x00});  // 43: BLANK B3
  append({0x01, 0x02, 0x06, 0x00, 0x02, 0x00, 0x03, 0x00, 0x0F, 0x00});  // 53: BLANK D3
  // 63: DBCELL: 60 bytes back to ROW 2; row 2's cells 20 bytes after ROW 2 ends; row 5 none.
  append({0xD7, 0x00, 0x08, 0x00, 0x3C, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00});
  append({0x01, 0x02, 0x06, 0x00, 0x28, 0x00, 0x00, 0x00, 0x0F, 0x00});  // 75: BLANK A41
  append({0x06, 0x00, 0x10, 0x00, 0x28, 0x00, 0x02, 0x00, 0x0F, 0x00,    // 85: FORMULA C41
          0,    0,    0,    0,    0,    0,    0,    0,    0x01, 0x00});  // calculated on load
  append({0xD7, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00});              // 105: DBCELL, no ROW
  EXPECT_EQ(out, expected);
  EXPECT_EQ(dbcells, (std::vector<std::uint32_t>{163, 205}));  // 100 + 63, 100 + 105
  EXPECT_EQ(RowBlockCount(rows, items), 2u);
  EXPECT_EQ(RowBlockCount(rows, {Item(Blank(70, 0))}), 2u);  // rows 2 and 5 share block 0
  EXPECT_EQ(RowBlockCount({}, {}), 0u);
}

TEST(CellTableWriter, IndexHoldsTheRowsAndEveryPosition) {
  EXPECT_EQ(IndexBody(3, 41, 0x0150, {163, 205}),
            (Bytes{0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x29, 0x00, 0x00, 0x00,
                   0x50, 0x01, 0x00, 0x00, 0xA3, 0x00, 0x00, 0x00, 0xCD, 0x00, 0x00, 0x00}));

  Record index{0x020B, {0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x29, 0x00, 0x00, 0x00,
                        0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};
  MoveIndexPositions(index, 0x10);
  // The rows stay; DEFCOLWIDTH's and the DBCELL's positions move; a zero (none) stays zero.
  EXPECT_EQ(index.body,
            (Bytes{0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x29, 0x00, 0x00, 0x00,
                   0x10, 0x01, 0x00, 0x00, 0x10, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST(CellTableWriter, RowsAndDimensionsWidenToTakeInAWrittenCell) {
  Record row{0x0208, kRow2Body};  // columns [1, 4)
  WidenRow(row, 0);
  WidenRow(row, 9);
  WidenRow(row, 2);
  EXPECT_EQ(Bytes(row.body.begin(), row.body.begin() + 6),
            (Bytes{0x02, 0x00, 0x00, 0x00, 0x0A, 0x00}));
  EXPECT_EQ(Bytes(row.body.begin() + 6, row.body.end()),
            Bytes(kRow2Body.begin() + 6, kRow2Body.end()));
  Record empty_row{0x0208, kRow5Body};  // columns [0, 0): none
  WidenRow(empty_row, 5);
  EXPECT_EQ(Bytes(empty_row.body.begin() + 2, empty_row.body.begin() + 6),
            (Bytes{0x05, 0x00, 0x06, 0x00}));

  // Rows [2, 18), columns [0, 8), then two reserved bytes.
  Record dimensions{
      0x0200, {0x02, 0x00, 0x00, 0x00, 0x12, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00}};
  WidenDimensions(dimensions, {20, 9});
  WidenDimensions(dimensions, {0, 3});
  EXPECT_EQ(dimensions.body, (Bytes{0x00, 0x00, 0x00, 0x00, 0x15, 0x00, 0x00, 0x00, 0x00, 0x00,
                                    0x0A, 0x00, 0x00, 0x00}));
  Record nothing{0x0200, Bytes(14, 0)};
  WidenDimensions(nothing, {4, 3});
  EXPECT_EQ(nothing.body, (Bytes{0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x03, 0x00, 0x04,
                                 0x00, 0x00, 0x00}));
}

}  // namespace
}  // namespace xls::biff
