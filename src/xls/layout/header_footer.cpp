#include "xls/layout/header_footer.h"

#include <algorithm>
#include <optional>

namespace xls::layout {

namespace {

std::u16string Number(int value) {
  const std::string digits = std::to_string(value);
  return {digits.begin(), digits.end()};
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Whether the font style's name holds one of the words, in any case.
bool StyleSays(std::u16string_view style, std::initializer_list<std::u16string_view> words) {
  std::u16string lower(style);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; });
  return std::any_of(words.begin(), words.end(), [&lower](std::u16string_view word) {
    return lower.find(word) != std::u16string::npos;
  });
}

bool SameFont(const Font& a, const Font& b) {
  return a.name == b.name && a.points == b.points && a.bold == b.bold && a.italic == b.italic &&
         a.strikeout == b.strikeout && a.underline == b.underline && a.colour == b.colour;
}

// Collects runs into the current part's current line.
class PartsBuilder {
 public:
  explicit PartsBuilder(const Font& font) : font_(font) {}

  // Ends the run so far and changes the font of the text after it.
  template <typename Change>
  void Restyle(Change change) {
    Flush();
    change(font_);
  }
  // Ends the run so far; the text after it is in `script`, or back in normal script where
  // it was in `script` already.
  void ToggleScript(Script script) {
    Flush();
    script_ = script_ == script ? Script::kNormal : script;
  }

  void SwitchTo(HeaderFooterSection& section) {
    Flush();
    section_ = &section;
    // Back in a part already begun, text goes on in its last line.
    line_ = section.lines.empty() ? 0 : section.lines.size() - 1;
  }
  void Append(std::u16string_view text) { pending_ += text; }
  void Append(char16_t c) { pending_ += c; }
  void NewLine() {
    Flush();
    ++line_;
  }
  // Ends the run in the font so far; the next text starts a run in the font as it is then.
  void Flush() {
    if (pending_.empty()) return;
    auto& lines = section_->lines;
    if (lines.size() <= line_) lines.resize(line_ + 1);
    HeaderFooterLine& line = lines[line_];
    if (!line.empty() && SameFont(line.back().font, font_) && line.back().script == script_) {
      line.back().text += pending_;
    } else {
      line.push_back({pending_, font_, script_});
    }
    pending_.clear();
  }

 private:
  Font font_;
  Script script_ = Script::kNormal;
  HeaderFooterSection* section_ = nullptr;
  std::size_t line_ = 0;
  std::u16string pending_;
};

// Line breaks alone make no part: a part without any text has no lines (blank lines
// between texts stay, as they take their room).
void DropIfBlank(HeaderFooterSection& section) {
  bool any_text = false;
  for (const HeaderFooterLine& line : section.lines) any_text = any_text || !line.empty();
  if (!any_text) section.lines.clear();
}

// &P, and &P+3 or &P-1, which number the pages from elsewhere; `i` is left on the code's
// last character.
int PageNumber(std::u16string_view code, std::size_t& i, int page) {
  if (i + 2 < code.size() && (code[i + 1] == u'+' || code[i + 1] == u'-') && IsDigit(code[i + 2])) {
    const int sign = code[i + 1] == u'+' ? 1 : -1;
    int offset = 0;
    for (i += 2; i < code.size() && IsDigit(code[i]) && offset < 100000; ++i) {
      offset = offset * 10 + (code[i] - u'0');
    }
    --i;
    page += sign * offset;
  }
  return page;
}

// What stands between the quotes of &"Name,Style"; `i` is left on the closing quote (or
// the end, where there is none).
std::u16string_view QuotedFontCode(std::u16string_view code, std::size_t& i) {
  const std::size_t close = code.find(u'"', i + 1);
  const std::u16string_view inside =
      code.substr(i + 1, close == std::u16string_view::npos ? code.npos : close - i - 1);
  i = close == std::u16string_view::npos ? code.size() : close;
  return inside;
}

// "Name,Style": the face, unless it is "-", and bold and italic as the style's words say
// them, in English or Chinese.
void ApplyFontCode(std::u16string_view inside, Font& f) {
  const std::size_t comma = inside.find(u',');
  const std::u16string_view name = inside.substr(0, comma);
  if (!name.empty() && name != u"-") f.name = std::u16string(name);
  if (comma == std::u16string_view::npos) return;
  const std::u16string_view style = inside.substr(comma + 1);
  f.bold = StyleSays(style, {u"bold", u"heavy", u"black", u"粗"});
  f.italic = StyleSays(style, {u"italic", u"oblique", u"斜"});
}

// &KRRGGBB; a theme colour (&K01+000) has no RGB to take and is left out. `i` is left on
// the code's last character.
std::optional<Rgb> ColourCode(std::u16string_view code, std::size_t& i) {
  const std::u16string_view hex = code.substr(i + 1, 6);
  i += hex.size();
  if (hex.size() != 6 ||
      !std::all_of(hex.begin(), hex.end(), [](char16_t h) { return HexDigit(h) >= 0; })) {
    return std::nullopt;
  }
  auto byte = [&hex](std::size_t at) {
    return static_cast<std::uint8_t>(HexDigit(hex[at]) * 16 + HexDigit(hex[at + 1]));
  };
  return Rgb{byte(0), byte(2), byte(4)};
}

// &10, &14: the size in points whose first digit is at `i`, which is left on the last.
int SizeCode(std::u16string_view code, std::size_t& i) {
  int points = code[i] - u'0';
  while (i + 1 < code.size() && IsDigit(code[i + 1])) {
    points = std::min(points * 10 + (code[i + 1] - u'0'), 10000);
    ++i;
  }
  return points;
}

// The codes' letters count in either case.
char16_t LowerAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// &L, &C and &R: the part the text after them goes into.
HeaderFooterSection* PartOfCode(char16_t function, HeaderFooterParts& parts) {
  switch (function) {
    case u'l':
      return &parts.left;
    case u'c':
      return &parts.centre;
    case u'r':
      return &parts.right;
    default:
      return nullptr;
  }
}

// The text a field code stands for (the page, the number of pages, the sheet's and file's
// names, the date and time, and && for an ampersand); nothing for any other code. `i` is
// left on the code's last character.
std::optional<std::u16string> FieldOfCode(char16_t function, std::u16string_view code,
                                          std::size_t& i, const HeaderFooterContext& context) {
  switch (function) {
    case u'p':
      return Number(PageNumber(code, i, context.page));
    case u'n':
      return Number(context.pages);
    case u'a':
      return context.sheet;
    case u'f':
      return context.file;
    case u'd':
      return context.date;
    case u't':
      return context.time;
    case u'&':
      return u"&";
    default:
      return std::nullopt;
  }
}

// The codes that change how the text after them looks: bold, italic, strikeout, the two
// underlines, super- and subscript, the font, its colour and its size. Pictures (&G), the
// file's folder (&Z) and unknown codes print nothing. `i` is left on the code's last
// character.
void ApplyStyleCode(char16_t function, std::u16string_view code, std::size_t& i,
                    PartsBuilder& out) {
  switch (function) {
    case u'b':
      out.Restyle([](Font& f) { f.bold = !f.bold; });
      break;
    case u'i':
      out.Restyle([](Font& f) { f.italic = !f.italic; });
      break;
    case u's':
      out.Restyle([](Font& f) { f.strikeout = !f.strikeout; });
      break;
    case u'u':
      out.Restyle([](Font& f) {
        f.underline = f.underline == Underline::kSingle ? Underline::kNone : Underline::kSingle;
      });
      break;
    case u'e':
      out.Restyle([](Font& f) {
        f.underline = f.underline == Underline::kDouble ? Underline::kNone : Underline::kDouble;
      });
      break;
    case u'x':
    case u'y':
      out.ToggleScript(function == u'x' ? Script::kSuperscript : Script::kSubscript);
      break;
    case u'"': {
      const std::u16string_view inside = QuotedFontCode(code, i);
      out.Restyle([inside](Font& f) { ApplyFontCode(inside, f); });
      break;
    }
    case u'k':
      if (const std::optional<Rgb> colour = ColourCode(code, i)) {
        out.Restyle([&colour](Font& f) { f.colour = *colour; });
      }
      break;
    default:
      if (IsDigit(function)) {
        const int points = SizeCode(code, i);
        // Sizes outside what a font can be are no size at all.
        if (points >= 1 && points <= 409) out.Restyle([points](Font& f) { f.points = points; });
      }
      break;
  }
}

}  // namespace

std::u16string HeaderFooterSection::PlainText() const {
  std::u16string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += u'\n';
    for (const HeaderFooterRun& run : lines[i]) text += run.text;
  }
  return text;
}

HeaderFooterParts ParseHeaderFooter(std::u16string_view code, const HeaderFooterContext& context,
                                    const Font& default_font) {
  HeaderFooterParts parts;
  PartsBuilder out(default_font);
  out.SwitchTo(parts.centre);
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char16_t c = code[i];
    if (c == u'\r') continue;
    if (c == u'\n') {
      out.NewLine();
      continue;
    }
    if (c != u'&' || i + 1 == code.size()) {
      out.Append(c);
      continue;
    }
    const char16_t function = LowerAscii(code[++i]);
    if (HeaderFooterSection* part = PartOfCode(function, parts)) {
      out.SwitchTo(*part);
    } else if (std::optional<std::u16string> text = FieldOfCode(function, code, i, context)) {
      out.Append(*text);
    } else {
      ApplyStyleCode(function, code, i, out);
    }
  }
  out.Flush();
  DropIfBlank(parts.left);
  DropIfBlank(parts.centre);
  DropIfBlank(parts.right);
  return parts;
}

}  // namespace xls::layout
