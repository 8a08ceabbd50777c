#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace xls::biff {

// A NAME record: a defined name, or a built-in one (the print area, the print titles), whose
// name is a single character, its code.
struct DefinedName {
  std::u16string name;
  bool built_in = false;
  bool function = false;        // names a function (macro, add-in, newer function)
  std::size_t scope_entry = 0;  // 0 for the whole workbook, else the sheet entry + 1
  std::vector<std::uint8_t> rgce;
  std::vector<std::uint8_t> rgcb;
};

// The codes that built-in names carry as their one character.
namespace built_in_name {
inline constexpr char16_t kPrintArea = 0x06;
inline constexpr char16_t kPrintTitles = 0x07;
}  // namespace built_in_name

// Reads a NAME body (with its CONTINUE bodies joined on, where it has any); throws when the
// body is shorter than its lengths say.
DefinedName ReadName(std::span<const std::uint8_t> body);

}  // namespace xls::biff
