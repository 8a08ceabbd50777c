#include "xls/biff/cached_results.h"

#include <string>
#include <utility>

#include "xls/biff/byte_io.h"
#include "xls/biff/cell_records.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/formula_tokens.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

// The text a FORMULA's STRING record holds; nothing when it goes on in CONTINUE records
// or is cut short.
std::optional<std::u16string> CachedText(const CellItem& item) {
  for (std::size_t i = 1; i < item.records.size(); ++i) {
    if (item.records[i].type != record_type::kString) continue;
    if (i + 1 < item.records.size() && item.records[i + 1].type == record_type::kContinue) {
      return std::nullopt;
    }
    const std::vector<std::uint8_t>& body = item.records[i].body;
    try {
      std::size_t at = string_record::kFlags;
      return ReadFlaggedCharacters(body, at, GetU16(body, string_record::kLength));
    } catch (const BiffFormatError&) {
      return std::nullopt;
    }
  }
  return std::u16string{};  // an empty text is stored without a STRING record
}

// The result cell as a formula of constant tokens, its cached result (and STRING) kept.
std::optional<std::vector<Record>> ConstantFormula(const CellItem& item,
                                                   const std::vector<std::uint8_t>& tokens) {
  const std::vector<std::uint8_t>& body = item.records[0].body;
  if (formula_record::kExpression + 2 + tokens.size() > kMaxRecordBody) return std::nullopt;
  const auto head = static_cast<std::ptrdiff_t>(formula_record::kExpression);
  Record constant{record_type::kFormula, {body.begin(), body.begin() + head}};
  AppendU16(constant.body, static_cast<std::uint16_t>(tokens.size()));
  constant.body.insert(constant.body.end(), tokens.begin(), tokens.end());
  std::vector<Record> records{std::move(constant)};
  for (std::size_t i = 1; i < item.records.size(); ++i) {
    if (item.records[i].type == record_type::kString) records.push_back(item.records[i]);
  }
  return records;
}

}  // namespace

std::optional<std::vector<Record>> CachedResultAsValue(const CellItem& item) {
  const std::vector<std::uint8_t>& body = item.records[0].body;
  const CellAddress at = item.first;
  const std::uint16_t xf = GetU16(body, cell_record::kXf);
  if (GetU16(body, formula_record::kResultMarker) != formula_record::kNotANumber) {
    return std::vector{NumberRecord(at.row, at.column, xf, GetF64(body, formula_record::kResult))};
  }
  const std::uint8_t kind = body[formula_record::kResult];
  const std::uint8_t value = body[formula_record::kResultValue];
  if (kind == formula_record::kBooleanResult || kind == formula_record::kErrorResult) {
    return std::vector{
        BoolErrRecord(at.row, at.column, xf, value, kind == formula_record::kErrorResult)};
  }
  const std::optional<std::u16string> text =
      kind == formula_record::kStringResult ? CachedText(item) : std::u16string{};
  if (!text) return std::nullopt;
  return ConstantFormula(item, TextConstant(*text));
}

}  // namespace xls::biff
