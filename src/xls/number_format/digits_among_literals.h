#pragma once

#include <string>

#include "xls/number_format/format_section.h"

namespace xls::number_format {

// Whether literal text stands between a section's integer or decimal digit placeholders, as
// in 0角0分 or 0元00: each placeholder then shows its own digits.
bool HasLiteralAmongDigits(const Section& section);

// The section's text for a number rounded and padded to its placeholders (`integer`, the
// decimals in `decimals`): the last integer placeholder shows the units, the one before it
// the tens…, the first every digit left over (117 by 0角0分 is 11角7分); the decimals fill
// their placeholders from the point. In the Chinese systems each run of placeholders reads
// its digits out, a run after the first starting with one zero for its leading zeros (2 by
// 0元00 is 零元零贰, 100 by [DBNum1]0元00 一元〇), as LibreOffice shows them.
std::u16string DigitsAmongLiterals(const std::string& integer, const std::string& decimals,
                                   const Section& section);

}  // namespace xls::number_format
