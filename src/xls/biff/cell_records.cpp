#include "xls/biff/cell_records.h"

#include "xls/biff/byte_io.h"

namespace xls::biff {

namespace {

// The reserved bit of a ROW's flags that every writer sets.
constexpr std::uint16_t kRowFlagsReserved = 0x0100;

Record CellRecord(std::uint16_t type, std::uint16_t row, std::uint16_t column, std::uint16_t xf) {
  Record record{type, {}};
  AppendU16(record.body, row);
  AppendU16(record.body, column);
  AppendU16(record.body, xf);
  return record;
}

}  // namespace

Record NumberRecord(std::uint16_t row, std::uint16_t column, std::uint16_t xf, double value) {
  Record record = CellRecord(record_type::kNumber, row, column, xf);
  AppendF64(record.body, value);
  return record;
}

Record LabelSstRecord(std::uint16_t row, std::uint16_t column, std::uint16_t xf,
                      std::uint32_t string_index) {
  Record record = CellRecord(record_type::kLabelSst, row, column, xf);
  AppendU32(record.body, string_index);
  return record;
}

Record BoolErrRecord(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint8_t value,
                     bool is_error) {
  Record record = CellRecord(record_type::kBoolErr, row, column, xf);
  record.body.push_back(value);
  record.body.push_back(is_error ? 1 : 0);
  return record;
}

Record BlankRecord(std::uint16_t row, std::uint16_t column, std::uint16_t xf) {
  return CellRecord(record_type::kBlank, row, column, xf);
}

Record RkRecord(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t rk) {
  Record record = CellRecord(record_type::kRk, row, column, xf);
  AppendU32(record.body, rk);
  return record;
}

Record RowRecord(std::uint16_t row, std::uint16_t first_column, std::uint16_t last_column,
                 std::uint16_t height) {
  Record record{record_type::kRow, {}};
  AppendU16(record.body, row);
  AppendU16(record.body, first_column);
  AppendU16(record.body, last_column);
  AppendU16(record.body, height);
  AppendU16(record.body, 0);  // reserved
  AppendU16(record.body, 0);  // unused
  AppendU16(record.body, kRowFlagsReserved);
  AppendU16(record.body, kDefaultCellXf);
  return record;
}

}  // namespace xls::biff
