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

  Font& CurrentFont() { return font_; }
  Script& CurrentScript() { return script_; }

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
  auto restyle = [&out](auto change) {
    out.Flush();
    change(out.CurrentFont());
  };
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
    const char16_t function = code[++i];
    switch (function) {
      case u'L':
      case u'l':
        out.SwitchTo(parts.left);
        break;
      case u'C':
      case u'c':
        out.SwitchTo(parts.centre);
        break;
      case u'R':
      case u'r':
        out.SwitchTo(parts.right);
        break;
      case u'P':
      case u'p':
        out.Append(Number(PageNumber(code, i, context.page)));
        break;
      case u'N':
      case u'n':
        out.Append(Number(context.pages));
        break;
      case u'A':
      case u'a':
        out.Append(context.sheet);
        break;
      case u'F':
      case u'f':
        out.Append(context.file);
        break;
      case u'D':
      case u'd':
        out.Append(context.date);
        break;
      case u'T':
      case u't':
        out.Append(context.time);
        break;
      case u'&':
        out.Append(u'&');
        break;
      case u'B':
      case u'b':
        restyle([](Font& f) { f.bold = !f.bold; });
        break;
      case u'I':
      case u'i':
        restyle([](Font& f) { f.italic = !f.italic; });
        break;
      case u'S':
      case u's':
        restyle([](Font& f) { f.strikeout = !f.strikeout; });
        break;
      case u'U':
      case u'u':
        restyle([](Font& f) {
          f.underline = f.underline == Underline::kSingle ? Underline::kNone : Underline::kSingle;
        });
        break;
      case u'E':
      case u'e':
        restyle([](Font& f) {
          f.underline = f.underline == Underline::kDouble ? Underline::kNone : Underline::kDouble;
        });
        break;
      case u'X':
      case u'x':
      case u'Y':
      case u'y': {
        out.Flush();
        const Script script =
            function == u'X' || function == u'x' ? Script::kSuperscript : Script::kSubscript;
        out.CurrentScript() = out.CurrentScript() == script ? Script::kNormal : script;
        break;
      }
      case u'"': {
        const std::u16string_view inside = QuotedFontCode(code, i);
        restyle([inside](Font& f) { ApplyFontCode(inside, f); });
        break;
      }
      case u'K':
      case u'k':
        if (const std::optional<Rgb> colour = ColourCode(code, i)) {
          restyle([&colour](Font& f) { f.colour = *colour; });
        }
        break;
      default:
        if (IsDigit(function)) {
          const int points = SizeCode(code, i);
          // Sizes outside what a font can be are no size at all.
          if (points >= 1 && points <= 409) restyle([points](Font& f) { f.points = points; });
        }
        // Pictures (&G), the file's folder (&Z) and unknown codes print nothing.
        break;
    }
  }
  out.Flush();
  DropIfBlank(parts.left);
  DropIfBlank(parts.centre);
  DropIfBlank(parts.right);
  return parts;
}

}  // namespace xls::layout
