#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "xls/biff/cell_value.h"
#include "xls/number_format/rgb.h"

namespace xls::number_format {

struct FormattedValue {
  std::u16string text;
  bool is_number = false;            // stands to the right where the cell's alignment is General
  bool is_logical_or_error = false;  // TRUE, FALSE and #DIV/0! stand centred there
  std::optional<Rgb> colour;         // a colour the format names ([Red], [Color10])
};

// The format code of a built-in number format (the ones a file uses without a FORMAT record
// of its own), as a Chinese-language spreadsheet shows them; "General" for unknown indexes.
std::u16string BuiltInFormatCode(std::uint16_t index);

// The value as a cell with this format code shows it: General, digits with fixed or
// optional decimals ("0.00", "#,##0.0000"), thousands separators, scaling by trailing
// commas, percentages, scientific notation, literal text and quoted strings, sections for
// positive, negative, zero and text values with simple conditions, colours, the text
// placeholder "@", and dates and times from the serial number (date1904: the file counts
// days from 1904). Chinese spreadsheets' parts too: [DBNum1] lower-case numerals
// (一千〇一), [DBNum2] the financial capitals (壹仟零壹), [DBNum3] full-width digits with
// units (１千０１), G/通用格式 for General, and locale tags ([$-804]) that show nothing.
// Empty cells give the empty text.
FormattedValue FormatValue(const biff::CellValue& value, std::u16string_view code, bool date1904);

}  // namespace xls::number_format
