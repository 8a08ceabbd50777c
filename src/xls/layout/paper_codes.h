#pragma once

#include <cstdint>
#include <optional>

namespace xls::layout {

// A paper as the page setup's paper code names it: width and height in points (1/72 inch),
// in the order the code lists them, so the "rotated" papers come out wider than tall.
struct CodedPaper {
  double width = 0;
  double height = 0;
};

// The paper of a code Excel writes (1 to 118, those of the printer driver's list); nothing
// for codes no paper has (0, the reserved 48 and 49, anything above 118).
std::optional<CodedPaper> PaperOfCode(std::uint16_t code);

}  // namespace xls::layout
