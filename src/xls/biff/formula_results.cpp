#include "xls/biff/formula_results.h"

#include <algorithm>
#include <bit>

#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/continued_writer.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

// The result field when it is not a number: kind, reserved, value, reserved, 0xFFFF.
constexpr std::uint8_t kEmptyTextResult = 3;
constexpr std::size_t kResultSize = 8;

std::vector<std::uint8_t> ResultBytes(const CellValue& result) {
  std::vector<std::uint8_t> bytes(kResultSize, 0);
  const auto marked = [&](std::uint8_t kind, std::uint8_t value) {
    bytes[0] = kind;
    bytes[formula_record::kResultValue - formula_record::kResult] = value;
    StoreU16(bytes, formula_record::kResultMarker - formula_record::kResult,
             formula_record::kNotANumber);
  };
  switch (result.kind) {
    case CellValue::Kind::kNumber:
      StoreU64(bytes, 0, std::bit_cast<std::uint64_t>(result.number));
      break;
    case CellValue::Kind::kString:
      marked(result.text.empty() ? kEmptyTextResult : formula_record::kStringResult, 0);
      break;
    case CellValue::Kind::kBoolean:
      marked(formula_record::kBooleanResult, result.boolean ? 1 : 0);
      break;
    case CellValue::Kind::kError:
      marked(formula_record::kErrorResult, result.error);
      break;
    case CellValue::Kind::kEmpty:
      marked(kEmptyTextResult, 0);
      break;
  }
  return bytes;
}

}  // namespace

std::vector<Record> StringRecords(std::u16string_view text) {
  const bool compressed = FitsCompressed(text);
  ContinuedWriter writer;
  AppendU16(writer.Current(), static_cast<std::uint16_t>(text.size()));
  writer.Current().push_back(compressed ? 0 : string_flags::kHighByte);
  writer.AppendCharacters(text, compressed);
  std::vector<Record> records;
  for (auto& body : writer.Take()) {
    records.push_back(
        {records.empty() ? record_type::kString : record_type::kContinue, std::move(body)});
  }
  return records;
}

bool StoreFormulaResult(std::vector<Record>& records, const CellValue& result) {
  Record& formula = records.front();
  if (formula.body.size() < formula_record::kExpression) return false;
  const std::vector<std::uint8_t> bytes = ResultBytes(result);
  bool changed =
      !std::equal(bytes.begin(), bytes.end(), formula.body.begin() + formula_record::kResult);
  std::copy(bytes.begin(), bytes.end(), formula.body.begin() + formula_record::kResult);
  // The old STRING and its continuations go; a text result brings its own.
  std::vector<Record> kept;
  std::vector<Record> old_string;
  bool in_string = false;
  for (std::size_t i = 1; i < records.size(); ++i) {
    Record& record = records[i];
    if (record.type == record_type::kString) {
      in_string = true;
    } else if (record.type != record_type::kContinue) {
      in_string = false;
    }
    (in_string ? old_string : kept).push_back(std::move(record));
  }
  std::vector<Record> new_string;
  if (result.kind == CellValue::Kind::kString && !result.text.empty()) {
    new_string = StringRecords(result.text);
  }
  changed = changed || old_string != new_string;
  records.resize(1);
  records.insert(records.end(), std::make_move_iterator(kept.begin()),
                 std::make_move_iterator(kept.end()));
  records.insert(records.end(), std::make_move_iterator(new_string.begin()),
                 std::make_move_iterator(new_string.end()));
  return changed;
}

bool MarkAlwaysCalculate(Record& formula) {
  if (formula.body.size() <= formula_record::kFlags) return false;
  std::uint8_t& flags = formula.body[formula_record::kFlags];
  if ((flags & formula_record::kAlwaysCalculate) != 0) return false;
  flags |= formula_record::kAlwaysCalculate;
  return true;
}

}  // namespace xls::biff
