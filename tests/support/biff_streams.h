#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xls/biff/record.h"

namespace test_support {

using Bytes = std::vector<std::uint8_t>;
using xls::biff::Record;

// Record builders for synthesized Workbook streams, written from the published layouts
// rather than through the engine's own writers.
// Little-endian fields as BIFF8 stores them, and characters after their flags byte (one byte
// each where every character allows, else UTF-16).
void PutU16(Bytes& out, std::uint32_t value);
void PutU32(Bytes& out, std::uint32_t value);
void PutF64(Bytes& out, double value);
void PutCharacters(Bytes& out, const std::u16string& text);

Record Bof(std::uint16_t document_type);
Record Eof();
Record Xf(std::uint16_t number_format);
Record Format(std::uint16_t index, const std::u16string& code);
Record Sst(const std::vector<std::u16string>& strings);  // compressed, one record
Record Dimensions(std::uint32_t first_row, std::uint32_t end_row, std::uint16_t first_column,
                  std::uint16_t end_column);
Record Row(std::uint16_t row, std::uint16_t first_column, std::uint16_t end_column,
           std::uint16_t flags = 0x0100, std::uint16_t xf = 15);
Record ColInfo(std::uint16_t first, std::uint16_t last, std::uint16_t xf);
Record LabelSst(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t index);
Record Number(std::uint16_t row, std::uint16_t column, std::uint16_t xf, double value);
Record MulRk(std::uint16_t row, std::uint16_t first_column,
             const std::vector<std::pair<std::uint16_t, std::uint32_t>>& xf_and_rk);
// A formula "=A1+B1"-like token list is irrelevant here: a cached number and no tokens.
Record FormulaNumber(std::uint16_t row, std::uint16_t column, double cached);
// A formula with the given tokens (rgce), a cached number and the given flags (0x0008 for
// a cell of a shared formula).
Record Formula(std::uint16_t row, std::uint16_t column, double cached, const Bytes& rgce,
               std::uint16_t flags = 0);
// PtgExp: the cell uses the shared or array formula anchored at (row, column).
Bytes Exp(std::uint16_t row, std::uint16_t column);
// The shared formula (SHRFMLA) or array formula (ARRAY) of a range, with its tokens.
Record SharedFormula(std::uint16_t first_row, std::uint16_t last_row, std::uint8_t first_column,
                     std::uint8_t last_column, const Bytes& rgce);
Record ArrayFormula(std::uint16_t first_row, std::uint16_t last_row, std::uint8_t first_column,
                    std::uint8_t last_column, const Bytes& rgce);
// PtgTbl: the cell is a result of the data table whose first result cell is (row, column).
Bytes Tbl(std::uint16_t row, std::uint16_t column);
// A one-input data table (TABLE) over the result cells of the range, computed with its
// input values put into (input_row, input_column); row_input says the values lie in a row.
Record DataTable(std::uint16_t first_row, std::uint16_t last_row, std::uint8_t first_column,
                 std::uint8_t last_column, bool row_input, std::uint16_t input_row,
                 std::uint16_t input_column);
Record Index();

struct SheetSpec {
  std::u16string name;
  std::vector<Record> records;  // between its BOF and EOF
};

// BOF, the globals' own records, a BOUNDSHEET8 per sheet with its true offset, EOF; then
// the sheets. Sixteen XF records (format General) come first unless xfs are given.
// after_sheets go between the BOUNDSHEET8 records and EOF (SUPBOOK, EXTERNSHEET).
Bytes BuildStream(const std::vector<Record>& globals, const std::vector<SheetSpec>& sheets,
                  const std::vector<Record>& after_sheets = {});

// The sheet records of a stream, by walking BOUNDSHEET8 offsets independently.
struct StreamView {
  std::vector<std::uint32_t> sheet_offsets;
  std::vector<std::vector<Record>> sheets;  // records of each sheet, BOF to EOF
  std::vector<Record> globals;
};
StreamView ReadStream(const Bytes& stream);

}  // namespace test_support
