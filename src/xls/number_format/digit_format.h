#pragma once

#include <string>

#include "xls/number_format/format_section.h"

namespace xls::number_format {

// A number as a section shows it, without its sign.
struct ShownNumber {
  std::u16string text;
  bool zero = true;  // every digit shown is 0: a negative value then shows no minus
};

// A magnitude by a section of digit placeholders: fixed and optional decimals, thousands
// separators, scientific notation and the section's literal text around the number, in the
// section's numerals. Percent and scaling commas are applied by the caller.
ShownNumber FormatDigits(double magnitude, const Section& section);

// A magnitude by a section that says General, with the literal text around it.
ShownNumber FormatGeneralSection(double magnitude, const Section& section);

// A number as General shows it, sign included, in the section's numerals; scientific forms
// stay Arabic.
std::u16string GeneralText(double value, const Section& section);

}  // namespace xls::number_format
