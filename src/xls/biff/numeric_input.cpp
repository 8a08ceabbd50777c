#include "xls/biff/numeric_input.h"

#include <charconv>
#include <string>

namespace xls::biff {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::u16string_view TrimSpaces(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

// Copies the digits of the integer part to out, checking the thousands grouping.
bool TakeIntegerPart(std::string_view& s, std::string& out) {
  std::size_t group = 0;
  bool grouped = false;
  while (!s.empty() && (IsDigit(s.front()) || s.front() == ',')) {
    if (s.front() == ',') {
      if (group == 0 || (grouped ? group != 3 : group > 3)) return false;
      grouped = true;
      group = 0;
    } else {
      out.push_back(s.front());
      ++group;
    }
    s.remove_prefix(1);
  }
  return !grouped || group == 3;
}

std::size_t TakeDigits(std::string_view& s, std::string& out) {
  std::size_t count = 0;
  while (!s.empty() && IsDigit(s.front())) {
    out.push_back(s.front());
    s.remove_prefix(1);
    ++count;
  }
  return count;
}

// The text without grouping commas, ready for from_chars, or nothing if it is no number.
std::optional<std::string> Normalise(std::string_view s) {
  std::string out;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    if (s.front() == '-') out.push_back('-');
    s.remove_prefix(1);
  }
  const std::size_t integer_start = out.size();
  if (!TakeIntegerPart(s, out)) return std::nullopt;
  std::size_t mantissa_digits = out.size() - integer_start;
  if (!s.empty() && s.front() == '.') {
    out.push_back('.');
    s.remove_prefix(1);
    mantissa_digits += TakeDigits(s, out);
  }
  if (mantissa_digits == 0) return std::nullopt;
  if (!s.empty() && (s.front() == 'e' || s.front() == 'E')) {
    out.push_back('e');
    s.remove_prefix(1);
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
      out.push_back(s.front());
      s.remove_prefix(1);
    }
    if (TakeDigits(s, out) == 0) return std::nullopt;
  }
  if (!s.empty()) return std::nullopt;
  return out;
}

}  // namespace

std::optional<double> ParseNumericInput(std::u16string_view text) {
  text = TrimSpaces(text);
  std::string ascii;
  for (const char16_t c : text) {
    if (c > 0x7F) return std::nullopt;
    ascii.push_back(static_cast<char>(c));
  }
  const std::optional<std::string> normalised = Normalise(ascii);
  if (!normalised) return std::nullopt;
  double value = 0;
  const char* end = normalised->data() + normalised->size();
  const auto [stop, error] = std::from_chars(normalised->data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value == 0 ? 0.0 : value;
}

}  // namespace xls::biff
