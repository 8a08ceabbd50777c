#pragma once

#include <optional>

#include "xls/number_format/digit_format.h"
#include "xls/number_format/format_section.h"

namespace xls::number_format {

// A magnitude by a fraction code (# ?/?, # ??/??, ?/8, 0 ?/?): the whole part, then the
// closest fraction whose denominator has at most as many digits as the code has
// placeholders after the slash, or the code's own denominator. A whole number keeps the
// fraction's room as spaces (13 by "# ?/?" is "13    "), as Excel and LibreOffice align
// them. Nothing where the section is no fraction code.
std::optional<ShownNumber> FormatFraction(double magnitude, const Section& section);

}  // namespace xls::number_format
