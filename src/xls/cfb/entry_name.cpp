#include "xls/cfb/entry_name.h"

#include "base/ascii_case.h"

namespace xls::cfb {

namespace {

bool InRange(char16_t c, char16_t first, char16_t last) {
  return c >= first && c <= last;
}

char16_t Shift(char16_t c, int by) {
  return static_cast<char16_t>(c + by);
}

// Latin Extended-A pairs each capital with the small letter right after it, except in the
// two stretches where the capital sits on the odd code point.
char16_t UpperLatinExtendedA(char16_t c) {
  const bool odd_capitals = InRange(c, 0x0139, 0x0148) || InRange(c, 0x0179, 0x017E);
  if (c == 0x0131 || c == 0x0138 || c == 0x0149) return c;  // dotless i, kra, 'n: no pair
  if (c == 0x017F) return c;                                // long s: no simple capital
  const bool small = odd_capitals ? (c % 2 == 0) : (c % 2 == 1);
  return small ? Shift(c, -1) : c;
}

}  // namespace

char16_t UpperCaseForCompare(char16_t c) {
  if (InRange(c, u'a', u'z')) return base::AsciiUpper(c);
  if (InRange(c, 0x00E0, 0x00FE) && c != 0x00F7) return Shift(c, -32);
  if (c == 0x00FF) return 0x0178;
  if (InRange(c, 0x0100, 0x017F)) return UpperLatinExtendedA(c);
  if (c == 0x03C2) return 0x03A3;  // final sigma
  if (InRange(c, 0x03B1, 0x03CB)) return Shift(c, -32);
  if (InRange(c, 0x0430, 0x044F)) return Shift(c, -32);
  if (InRange(c, 0x0450, 0x045F)) return Shift(c, -80);
  if (InRange(c, 0xFF41, 0xFF5A)) return Shift(c, -32);
  return c;
}

int CompareEntryNames(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char16_t ua = UpperCaseForCompare(a[i]);
    const char16_t ub = UpperCaseForCompare(b[i]);
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  return 0;
}

}  // namespace xls::cfb
