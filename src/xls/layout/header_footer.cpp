#include "xls/layout/header_footer.h"

namespace xls::layout {

namespace {

std::u16string Number(int value) {
  const std::string digits = std::to_string(value);
  return {digits.begin(), digits.end()};
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

}  // namespace

HeaderFooterText ExpandHeaderFooter(std::u16string_view code, const HeaderFooterContext& context) {
  HeaderFooterText text;
  std::u16string* part = &text.centre;
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (code[i] != u'&' || i + 1 == code.size()) {
      *part += code[i];
      continue;
    }
    const char16_t c = code[++i];
    switch (c) {
      case u'L':
      case u'l':
        part = &text.left;
        break;
      case u'C':
      case u'c':
        part = &text.centre;
        break;
      case u'R':
      case u'r':
        part = &text.right;
        break;
      case u'P':
      case u'p':
        *part += Number(context.page);
        break;
      case u'N':
      case u'n':
        *part += Number(context.pages);
        break;
      case u'A':
      case u'a':
        *part += context.sheet;
        break;
      case u'F':
      case u'f':
        *part += context.file;
        break;
      case u'D':
      case u'd':
        *part += context.date;
        break;
      case u'T':
      case u't':
        *part += context.time;
        break;
      case u'&':
        *part += u'&';
        break;
      case u'"': {
        const std::size_t close = code.find(u'"', i + 1);
        i = close == std::u16string_view::npos ? code.size() : close;
        break;
      }
      case u'K':
      case u'k':
        i += 6;  // an RGB colour in hex
        break;
      default:
        // A font size: its digits go too; style switches (&B, &I, &U, &S ...) are one letter.
        while (IsDigit(c) && i + 1 < code.size() && IsDigit(code[i + 1])) ++i;
        break;
    }
  }
  return text;
}

}  // namespace xls::layout
