#include "biff_streams.h"

#include <bit>
#include <stdexcept>

#include "xls/biff/formula_tokens.h"
#include "xls/biff/record_fields.h"
#include "xls/biff/substreams.h"

namespace test_support {

namespace record_type = xls::biff::record_type;

void PutU16(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void PutU32(Bytes& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

void PutF64(Bytes& out, double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  PutU32(out, static_cast<std::uint32_t>(bits));
  PutU32(out, static_cast<std::uint32_t>(bits >> 32));
}

void PutCharacters(Bytes& out, const std::u16string& text) {
  bool wide = false;
  for (const char16_t c : text) wide = wide || c > 0xFF;
  out.push_back(wide ? xls::biff::string_flags::kHighByte : 0);
  for (const char16_t c : text) {
    if (wide) {
      PutU16(out, c);
    } else {
      out.push_back(static_cast<std::uint8_t>(c));
    }
  }
}

namespace {

void Cell(Bytes& out, std::uint16_t row, std::uint16_t column, std::uint16_t xf) {
  PutU16(out, row);
  PutU16(out, column);
  PutU16(out, xf);
}

std::uint16_t Get16(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes.at(at) | (bytes.at(at + 1) << 8));
}

std::uint32_t Get32(const Bytes& bytes, std::size_t at) {
  return Get16(bytes, at) | (static_cast<std::uint32_t>(Get16(bytes, at + 2)) << 16);
}

void Append(Bytes& out, const Record& record) {
  PutU16(out, record.type);
  PutU16(out, static_cast<std::uint32_t>(record.body.size()));
  out.insert(out.end(), record.body.begin(), record.body.end());
}

std::vector<Record> ReadRecords(const Bytes& stream, std::size_t at) {
  std::vector<Record> records;
  int depth = 0;
  do {
    const std::uint16_t type = Get16(stream, at);
    const std::uint16_t size = Get16(stream, at + 2);
    records.push_back({type, Bytes(stream.begin() + static_cast<std::ptrdiff_t>(at + 4),
                                   stream.begin() + static_cast<std::ptrdiff_t>(at + 4 + size))});
    if (type == record_type::kBof) ++depth;
    if (type == record_type::kEof) --depth;
    at += 4u + size;
  } while (depth > 0);
  return records;
}

}  // namespace

Record Bof(std::uint16_t document_type) {
  Record record{record_type::kBof, {}};
  PutU16(record.body, xls::biff::bof_record::kBiff8);
  PutU16(record.body, document_type);
  PutU16(record.body, 0x0DBB);  // build
  PutU16(record.body, 0x07CC);  // year
  PutU32(record.body, 0);
  PutU32(record.body, 0x06);
  return record;
}

Record Eof() {
  return {record_type::kEof, {}};
}

Record Xf(std::uint16_t number_format) {
  Record record{record_type::kXf, {}};
  PutU16(record.body, 0);  // font
  PutU16(record.body, number_format);
  record.body.resize(20, 0);
  return record;
}

Record Format(std::uint16_t index, const std::u16string& code) {
  Record record{record_type::kFormat, {}};
  PutU16(record.body, index);
  PutU16(record.body, static_cast<std::uint32_t>(code.size()));
  PutCharacters(record.body, code);
  return record;
}

Record Sst(const std::vector<std::u16string>& strings) {
  Record record{record_type::kSst, {}};
  PutU32(record.body, static_cast<std::uint32_t>(strings.size()));
  PutU32(record.body, static_cast<std::uint32_t>(strings.size()));
  for (const auto& text : strings) {
    PutU16(record.body, static_cast<std::uint32_t>(text.size()));
    PutCharacters(record.body, text);
  }
  return record;
}

Record Dimensions(std::uint32_t first_row, std::uint32_t end_row, std::uint16_t first_column,
                  std::uint16_t end_column) {
  Record record{record_type::kDimensions, {}};
  PutU32(record.body, first_row);
  PutU32(record.body, end_row);
  PutU16(record.body, first_column);
  PutU16(record.body, end_column);
  PutU16(record.body, 0);
  return record;
}

Record Row(std::uint16_t row, std::uint16_t first_column, std::uint16_t end_column,
           std::uint16_t flags, std::uint16_t xf) {
  Record record{record_type::kRow, {}};
  PutU16(record.body, row);
  PutU16(record.body, first_column);
  PutU16(record.body, end_column);
  PutU16(record.body, 0x012C);
  PutU32(record.body, 0);
  PutU16(record.body, flags);
  PutU16(record.body, xf);
  return record;
}

Record ColInfo(std::uint16_t first, std::uint16_t last, std::uint16_t xf) {
  Record record{record_type::kColInfo, {}};
  PutU16(record.body, first);
  PutU16(record.body, last);
  PutU16(record.body, 0x0900);
  PutU16(record.body, xf);
  PutU16(record.body, 0);
  PutU16(record.body, 0);
  return record;
}

Record LabelSst(std::uint16_t row, std::uint16_t column, std::uint16_t xf, std::uint32_t index) {
  Record record{record_type::kLabelSst, {}};
  Cell(record.body, row, column, xf);
  PutU32(record.body, index);
  return record;
}

Record Number(std::uint16_t row, std::uint16_t column, std::uint16_t xf, double value) {
  Record record{record_type::kNumber, {}};
  Cell(record.body, row, column, xf);
  PutF64(record.body, value);
  return record;
}

Record MulRk(std::uint16_t row, std::uint16_t first_column,
             const std::vector<std::pair<std::uint16_t, std::uint32_t>>& xf_and_rk) {
  Record record{record_type::kMulRk, {}};
  PutU16(record.body, row);
  PutU16(record.body, first_column);
  for (const auto& [xf, rk] : xf_and_rk) {
    PutU16(record.body, xf);
    PutU32(record.body, rk);
  }
  PutU16(record.body, static_cast<std::uint32_t>(first_column + xf_and_rk.size() - 1));
  return record;
}

Record FormulaNumber(std::uint16_t row, std::uint16_t column, double cached) {
  Record record{record_type::kFormula, {}};
  Cell(record.body, row, column, 15);
  PutF64(record.body, cached);
  PutU16(record.body, 0);  // flags: not always calculated
  PutU32(record.body, 0);  // chn
  PutU16(record.body, 0);  // no tokens
  return record;
}

Record Formula(std::uint16_t row, std::uint16_t column, double cached, const Bytes& rgce,
               std::uint16_t flags) {
  Record record{record_type::kFormula, {}};
  Cell(record.body, row, column, 15);
  PutF64(record.body, cached);
  PutU16(record.body, flags);
  PutU32(record.body, 0);  // chn
  PutU16(record.body, static_cast<std::uint32_t>(rgce.size()));
  record.body.insert(record.body.end(), rgce.begin(), rgce.end());
  return record;
}

Bytes Exp(std::uint16_t row, std::uint16_t column) {
  Bytes tokens{xls::biff::ptg::kExp};
  PutU16(tokens, row);
  PutU16(tokens, column);
  return tokens;
}

namespace {
Bytes RangeRef(std::uint16_t first_row, std::uint16_t last_row, std::uint8_t first_column,
               std::uint8_t last_column) {
  Bytes body;
  PutU16(body, first_row);
  PutU16(body, last_row);
  body.push_back(first_column);
  body.push_back(last_column);
  return body;
}
}  // namespace

Record SharedFormula(std::uint16_t first_row, std::uint16_t last_row, std::uint8_t first_column,
                     std::uint8_t last_column, const Bytes& rgce) {
  Record record{record_type::kShrFmla, RangeRef(first_row, last_row, first_column, last_column)};
  record.body.push_back(0);                                                    // reserved
  record.body.push_back(static_cast<std::uint8_t>(last_row - first_row + 1));  // cUse
  PutU16(record.body, static_cast<std::uint32_t>(rgce.size()));
  record.body.insert(record.body.end(), rgce.begin(), rgce.end());
  return record;
}

Record ArrayFormula(std::uint16_t first_row, std::uint16_t last_row, std::uint8_t first_column,
                    std::uint8_t last_column, const Bytes& rgce) {
  Record record{record_type::kArray, RangeRef(first_row, last_row, first_column, last_column)};
  PutU16(record.body, 0);  // flags
  PutU32(record.body, 0);  // chn
  PutU16(record.body, static_cast<std::uint32_t>(rgce.size()));
  record.body.insert(record.body.end(), rgce.begin(), rgce.end());
  return record;
}

Bytes Tbl(std::uint16_t row, std::uint16_t column) {
  Bytes tokens{xls::biff::ptg::kTbl};
  PutU16(tokens, row);
  PutU16(tokens, column);
  return tokens;
}

Record DataTable(std::uint16_t first_row, std::uint16_t last_row, std::uint8_t first_column,
                 std::uint8_t last_column, bool row_input, std::uint16_t input_row,
                 std::uint16_t input_column) {
  Record record{record_type::kTable, RangeRef(first_row, last_row, first_column, last_column)};
  PutU16(record.body, row_input ? 0x0004 : 0x0000);  // fRw; one input, so not fTbl2
  PutU16(record.body, input_row);                    // the only input cell
  PutU16(record.body, input_column);
  PutU16(record.body, 0);  // the second input cell, unused
  PutU16(record.body, 0);
  return record;
}

Record Index() {
  return {record_type::kIndex, Bytes(16, 0)};
}

Bytes BuildStream(const std::vector<Record>& globals, const std::vector<SheetSpec>& sheets,
                  const std::vector<Record>& after_sheets) {
  std::vector<Record> head{Bof(xls::biff::substream_type::kGlobals)};
  for (int i = 0; i < 16; ++i) head.push_back(Xf(0));
  head.insert(head.end(), globals.begin(), globals.end());
  std::size_t globals_size = 0;
  for (const Record& record : head) globals_size += 4 + record.body.size();
  for (const SheetSpec& sheet : sheets) {
    Bytes name;
    PutCharacters(name, sheet.name);
    globals_size += 4 + 7 + name.size();
  }
  for (const Record& record : after_sheets) globals_size += 4 + record.body.size();
  globals_size += 4;  // EOF
  Bytes stream;
  for (const Record& record : head) Append(stream, record);
  std::size_t offset = globals_size;
  Bytes sheet_bytes;
  for (const SheetSpec& sheet : sheets) {
    Record bound{record_type::kBoundSheet, {}};
    PutU32(bound.body, static_cast<std::uint32_t>(offset));
    PutU16(bound.body, 0);
    bound.body.push_back(static_cast<std::uint8_t>(sheet.name.size()));
    PutCharacters(bound.body, sheet.name);
    Append(stream, bound);
    const std::size_t before = sheet_bytes.size();
    Append(sheet_bytes, Bof(xls::biff::substream_type::kWorksheet));
    for (const Record& record : sheet.records) Append(sheet_bytes, record);
    Append(sheet_bytes, Eof());
    offset += sheet_bytes.size() - before;
  }
  for (const Record& record : after_sheets) Append(stream, record);
  Append(stream, Eof());
  if (stream.size() != globals_size) throw std::logic_error("globals size miscounted");
  stream.insert(stream.end(), sheet_bytes.begin(), sheet_bytes.end());
  return stream;
}

StreamView ReadStream(const Bytes& stream) {
  StreamView view;
  view.globals = ReadRecords(stream, 0);
  for (const Record& record : view.globals) {
    if (record.type != record_type::kBoundSheet) continue;
    view.sheet_offsets.push_back(Get32(record.body, 0));
    view.sheets.push_back(ReadRecords(stream, view.sheet_offsets.back()));
  }
  return view;
}

}  // namespace test_support
