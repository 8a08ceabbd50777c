#include "xls/biff/cell_decoding.h"

#include <span>
#include <vector>

#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/record_fields.h"
#include "xls/biff/rk_number.h"

namespace xls::biff {

namespace {

constexpr std::uint16_t kColumnCount = 256;

// A formula's cached result; a string result lies in the STRING record after it.
CellValue FormulaResult(const std::vector<Record>& records) {
  const std::vector<std::uint8_t>& body = records[0].body;
  if (GetU16(body, formula_record::kResultMarker) != formula_record::kNotANumber) {
    return CellValue::Number(GetF64(body, formula_record::kResult));
  }
  switch (GetU8(body, formula_record::kResult)) {
    case formula_record::kStringResult: {
      std::vector<std::span<const std::uint8_t>> chunks;
      for (std::size_t i = 1; i < records.size(); ++i) {
        if (records[i].type == record_type::kString) {
          chunks.emplace_back(records[i].body);
        } else if (!chunks.empty() && records[i].type == record_type::kContinue) {
          chunks.emplace_back(records[i].body);
        }
      }
      if (chunks.empty()) return CellValue::String({});
      ContinuedReader reader(std::move(chunks));
      return CellValue::String(ReadUnicodeString(reader));
    }
    case formula_record::kBooleanResult:
      return CellValue::Boolean(GetU8(body, formula_record::kResultValue) != 0);
    case formula_record::kErrorResult:
      return CellValue::Error(GetU8(body, formula_record::kResultValue));
    default:
      return CellValue::String({});
  }
}

// The cell record's body and the CONTINUE bodies right after it.
std::vector<std::span<const std::uint8_t>> Bodies(const std::vector<Record>& records) {
  std::vector<std::span<const std::uint8_t>> bodies;
  bodies.emplace_back(records[0].body);
  for (std::size_t i = 1; i < records.size() && records[i].type == record_type::kContinue; ++i) {
    bodies.emplace_back(records[i].body);
  }
  return bodies;
}

// The value of a record of one cell (not MULRK or MULBLANK).
CellValue SingleCellValue(const CellItem& item, const SharedStringTable& strings) {
  const Record& record = item.records[0];
  const std::vector<std::uint8_t>& body = record.body;
  switch (record.type) {
    case record_type::kLabelSst: {
      const std::u16string* text = strings.Find(GetU32(body, cell_record::kValue));
      return CellValue::String(text != nullptr ? *text : std::u16string());
    }
    case record_type::kLabel:
    case record_type::kRString: {
      ContinuedReader reader(Bodies(item.records), cell_record::kValue);
      return CellValue::String(ReadUnicodeString(reader));
    }
    case record_type::kNumber:
      return CellValue::Number(GetF64(body, cell_record::kValue));
    case record_type::kRk:
      return CellValue::Number(DecodeRk(GetU32(body, cell_record::kValue)));
    case record_type::kBoolErr: {
      const std::uint8_t value = GetU8(body, cell_record::kValue);
      return GetU8(body, bool_err_record::kIsError) != 0 ? CellValue::Error(value)
                                                         : CellValue::Boolean(value != 0);
    }
    case record_type::kFormula:
      return FormulaResult(item.records);
    default:  // BLANK
      return CellValue{};
  }
}
}  // namespace

void DecodeCellItem(const CellItem& item, const SharedStringTable& strings,
                    std::map<CellAddress, CellData>& cells) {
  const Record& record = item.records[0];
  const std::vector<std::uint8_t>& body = record.body;
  const std::uint16_t row = item.first.row;
  const std::uint16_t column = item.first.column;
  // Columns are counted past 16 bits, so that a damaged MUL record starting near 0xFFFF runs
  // off the sheet rather than wrapping round onto its first columns.
  const auto put = [&](std::size_t at, std::uint16_t xf, CellValue value) {
    if (at < kColumnCount) {
      cells[CellAddress{row, static_cast<std::uint16_t>(at)}] = {std::move(value), xf};
    }
  };
  switch (record.type) {
    case record_type::kMulRk:
      for (std::size_t i = 0; i < MultiCellCount(record); ++i) {
        const std::size_t at = multi_cell_record::kFirstEntry + i * multi_cell_record::kRkEntrySize;
        put(std::size_t{column} + i, GetU16(body, at),
            CellValue::Number(DecodeRk(GetU32(body, at + multi_cell_record::kRkInEntry))));
      }
      break;
    case record_type::kMulBlank:
      for (std::size_t i = 0; i < MultiCellCount(record); ++i) {
        const std::size_t at =
            multi_cell_record::kFirstEntry + i * multi_cell_record::kBlankEntrySize;
        put(std::size_t{column} + i, GetU16(body, at), CellValue{});
      }
      break;
    default: {
      const std::uint16_t xf = GetU16(body, cell_record::kXf);
      put(column, xf, SingleCellValue(item, strings));
      break;
    }
  }
}

}  // namespace xls::biff
