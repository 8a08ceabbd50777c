#include <gtest/gtest.h>

#include "xls/biff/cell_records.h"
#include "xls/biff/rk_number.h"

namespace xls::biff {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Serialized(const Record& record) {
  Bytes out;
  AppendRecord(out, record);
  return out;
}

TEST(CellRecords, WritersProduceTheDocumentedBytes) {
  EXPECT_EQ(Serialized(NumberRecord(4, 1, 0x15, 320.0)),
            (Bytes{0x03, 0x02, 0x0E, 0x00, 0x04, 0x00, 0x01, 0x00, 0x15, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x00, 0x00, 0x74, 0x40}));
  EXPECT_EQ(
      Serialized(LabelSstRecord(2, 1, 0x0F, 0x01020304)),
      (Bytes{0xFD, 0x00, 0x0A, 0x00, 0x02, 0x00, 0x01, 0x00, 0x0F, 0x00, 0x04, 0x03, 0x02, 0x01}));
  EXPECT_EQ(Serialized(BlankRecord(0x0111, 7, 0x22)),
            (Bytes{0x01, 0x02, 0x06, 0x00, 0x11, 0x01, 0x07, 0x00, 0x22, 0x00}));
  EXPECT_EQ(
      Serialized(RkRecord(1, 2, 3, 0x3FF00000)),
      (Bytes{0x7E, 0x02, 0x0A, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x00, 0x00, 0xF0, 0x3F}));
  // A new row: default height, reserved flag bit set, not formatted, XF 15.
  EXPECT_EQ(Serialized(RowRecord(17, 1, 8, 0x00FF)),
            (Bytes{0x08, 0x02, 0x10, 0x00, 0x11, 0x00, 0x01, 0x00, 0x08, 0x00,
                   0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x0F, 0x00}));
}

TEST(CellRecords, RkValuesDecodeAllFourForms) {
  EXPECT_EQ(DecodeRk(0x3FF00000), 1.0);            // top bits of a double
  EXPECT_EQ(DecodeRk(0x3FF00001), 0.01);           // the same, divided by 100
  EXPECT_EQ(DecodeRk((123u << 2) | 2), 123.0);     // integer
  EXPECT_EQ(DecodeRk((12345u << 2) | 3), 123.45);  // integer divided by 100
  EXPECT_EQ(DecodeRk(0xFFFFFFFE), -1.0);           // negative integers keep their sign
}

}  // namespace
}  // namespace xls::biff
