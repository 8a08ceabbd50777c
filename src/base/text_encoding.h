#pragma once

#include <string>
#include <string_view>

namespace base {

// UTF-16 to UTF-8 for messages and tools; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
// UTF-8 to UTF-16; a malformed byte sequence becomes U+FFFD.
std::u16string FromUtf8(std::string_view text);

// The halves of a character outside the Basic Multilingual Plane, as UTF-16 writes it: a
// high surrogate first, then a low one.
constexpr bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The text with every unpaired surrogate replaced by U+FFFD; pairs stay as they are.
std::u16string WithoutUnpairedSurrogates(std::u16string_view text);

}  // namespace base
