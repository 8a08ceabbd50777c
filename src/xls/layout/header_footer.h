#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "xls/layout/sheet_layout.h"

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

// Where a run stands against its line's baseline.
enum class Script : std::uint8_t { kNormal, kSuperscript, kSubscript };

// A stretch of header or footer text in one font, sizes in points on the sheet (before any
// scaling of the page).
struct HeaderFooterRun {
  std::u16string text;
  Font font;
  Script script = Script::kNormal;
};

using HeaderFooterLine = std::vector<HeaderFooterRun>;

// One of the three parts of a header or footer: its lines top to bottom. A part that
// holds no text has no lines.
struct HeaderFooterSection {
  std::vector<HeaderFooterLine> lines;
  bool Empty() const { return lines.empty(); }
  // The part's text without its fonts, lines joined by '\n'.
  std::u16string PlainText() const;
};

struct HeaderFooterParts {
  HeaderFooterSection left;
  HeaderFooterSection centre;
  HeaderFooterSection right;
  bool Empty() const { return left.Empty() && centre.Empty() && right.Empty(); }
};

// Reads a header or footer code as spreadsheet programs do: &L, &C and &R start the parts
// (text before any of them is centred); &P (also &P+n, &P-n), &N, &A, &F, &D and &T are
// replaced; && is an ampersand; a line break starts a new line of the part. The font
// switches apply from where they stand on, across parts too: &"Name,Style" (a name "-"
// keeps the face, the style's words Bold/Italic or 加粗/倾斜 set both switches), &nn the
// size in points, &B bold, &I italic, &U and &E single and double underline, &S strikeout,
// &X and &Y super- and subscript (each turns its switch over), &KRRGGBB the colour. Text
// starts in default_font. Pictures (&G) and codes no program knows are left out.
HeaderFooterParts ParseHeaderFooter(std::u16string_view code, const HeaderFooterContext& context,
                                    const Font& default_font);

}  // namespace xls::layout
