#include "xls/biff/cell_value.h"

#include "xls/biff/general_number_format.h"

namespace xls::biff {

namespace {

std::u16string Widen(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

std::u16string ErrorText(std::uint8_t code) {
  switch (static_cast<ErrorCode>(code)) {
    case ErrorCode::kNull:
      return u"#NULL!";
    case ErrorCode::kDivisionByZero:
      return u"#DIV/0!";
    case ErrorCode::kValue:
      return u"#VALUE!";
    case ErrorCode::kReference:
      return u"#REF!";
    case ErrorCode::kName:
      return u"#NAME?";
    case ErrorCode::kNumber:
      return u"#NUM!";
    case ErrorCode::kNotAvailable:
      return u"#N/A";
  }
  return u"#VALUE!";  // a code no program writes
}

}  // namespace

std::u16string DisplayText(const CellValue& value) {
  switch (value.kind) {
    case CellValue::Kind::kNumber:
      return Widen(FormatGeneral(value.number));
    case CellValue::Kind::kString:
      return value.text;
    case CellValue::Kind::kBoolean:
      return value.boolean ? u"TRUE" : u"FALSE";
    case CellValue::Kind::kError:
      return ErrorText(value.error);
    case CellValue::Kind::kEmpty:
      break;
  }
  return {};
}

}  // namespace xls::biff
