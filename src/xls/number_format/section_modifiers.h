#pragma once

#include <string_view>

#include "xls/number_format/format_section.h"

namespace xls::number_format {

// What a bracketed part of a section means, given what stands inside the brackets: a colour
// ([Red]), a condition ([>=100]), elapsed time ([h]), a numeral system ([DBNum2]), or a
// locale or currency tag ([$-804], [$-zh-CN], [$-x-sysdate], [$¥-804]), of which only the
// currency symbol shows.
void ReadBracket(std::u16string_view inside, Section& section);

}  // namespace xls::number_format
