#pragma once

#include <cstddef>
#include <string>

namespace xls::formula {

// Chinese Excel counts and numbers characters in code page 936, the system's ANSI code
// page: LENB, LEFTB and kin count a character outside ASCII as two bytes, CODE and CHAR
// give and take its double-byte code (CHAR(45217) is 啊).

// How many bytes a UTF-16 unit takes: 1 for ASCII, else 2 (a surrogate pair counts 2 + 2,
// as GB18030 writes such characters in four bytes).
inline std::size_t ByteWidth(char16_t c) {
  return c < 0x80 ? 1 : 2;
}

// A character's code: ASCII itself, a double-byte character lead * 256 + trail, 63 ("?",
// what Windows writes for it) for a character code page 936 lacks.
int CodeOfCharacter(char16_t c);

// The character of a code from 1 to 65535; nothing for a code that stands for none.
std::u16string CharacterOfCode(int code);

}  // namespace xls::formula
