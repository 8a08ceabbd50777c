#pragma once

#include <string_view>

namespace xls::cfb {

// Orders two directory entry names as compound files sort siblings: a shorter name comes
// first; names of equal length compare code unit by code unit after simple upper-casing.
// Negative, zero or positive, like strcmp.
int CompareEntryNames(std::u16string_view a, std::u16string_view b);

// Upper-cases one UTF-16 code unit the simple way the format asks (no expansion, no
// context), over the Latin, Greek, Cyrillic and full-width Latin letters.
char16_t UpperCaseForCompare(char16_t c);

}  // namespace xls::cfb
