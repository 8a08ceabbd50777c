#pragma once

#include <string_view>
#include <vector>

#include "xls/number_format/format_section.h"

namespace xls::number_format {

// The sections of a format code, split at the semicolons that stand outside quotes and
// brackets; a code without any gives one section.
std::vector<Section> ParseFormatCode(std::u16string_view code);

}  // namespace xls::number_format
