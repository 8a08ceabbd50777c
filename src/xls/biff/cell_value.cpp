#include "xls/biff/cell_value.h"

#include "xls/biff/general_number_format.h"

namespace xls::biff {

namespace {

std::u16string Widen(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

std::u16string ErrorText(std::uint8_t code) {
  switch (code) {
    case 0x00:
      return u"#NULL!";
    case 0x07:
      return u"#DIV/0!";
    case 0x0F:
      return u"#VALUE!";
    case 0x17:
      return u"#REF!";
    case 0x1D:
      return u"#NAME?";
    case 0x24:
      return u"#NUM!";
    case 0x2A:
      return u"#N/A";
    default:
      return u"#VALUE!";
  }
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
