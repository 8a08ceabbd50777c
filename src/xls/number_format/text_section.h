#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "xls/number_format/format_section.h"

namespace xls::number_format {

// The section a text value is shown by: the fourth, or a single one that holds "@"; none
// when the text shows as it is.
const Section* TextSectionOf(const std::vector<Section>& sections);

// A text value by its section: "@" stands for the text, literals stay around it.
std::u16string FormatText(std::u16string_view text, const Section& section);

}  // namespace xls::number_format
