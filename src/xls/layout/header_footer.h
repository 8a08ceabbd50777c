#pragma once

#include <string>
#include <string_view>

namespace xls::layout {

// What a header or footer code stands for on one page.
struct HeaderFooterContext {
  int page = 1;
  int pages = 1;
  std::u16string sheet;
  std::u16string file;
  std::u16string date;
  std::u16string time;
};

// The three parts of a header or footer line, left, centred and right.
struct HeaderFooterText {
  std::u16string left;
  std::u16string centre;
  std::u16string right;
  bool Empty() const { return left.empty() && centre.empty() && right.empty(); }
};

// Expands a header or footer code: &L, &C and &R start the parts (text before any of them
// is centred), &P, &N, &A, &F, &D and &T are replaced, && is an ampersand, and the font,
// size, colour and style switches (&"Arial,Bold", &12, &KFF0000, &B, &I, &U ...) are
// dropped: the line is drawn in the workbook's default font.
HeaderFooterText ExpandHeaderFooter(std::u16string_view code, const HeaderFooterContext& context);

}  // namespace xls::layout
