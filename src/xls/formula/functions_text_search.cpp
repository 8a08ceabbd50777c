// Text functions that find and replace inside texts: SUBSTITUTE, FIND, SEARCH, REPLACE, and
// the byte-counting kin Chinese Excel has (FINDB, SEARCHB, REPLACEB, LEFTB, RIGHTB, MIDB,
// LENB), which count a character outside ASCII as two bytes.
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "base/ascii_case.h"
#include "xls/formula/code_page_936.h"
#include "xls/formula/coercion.h"
#include "xls/formula/function_table.h"

namespace xls::formula {

namespace {

constexpr std::size_t kMaxText = 32767;  // the longest text a cell holds

Value TextResult(std::u16string text) {
  if (text.size() > kMaxText) return Value::Error(ErrorCode::kValue);
  return Value::Text(std::move(text));
}

// A whole-number argument (truncated) at least `least`, else #VALUE!.
double WholeArgument(const Value& argument, Context& context, double least) {
  const double number = std::trunc(NumberArgument(argument, context));
  if (number < least) throw ErrorResult{ErrorCode::kValue};
  return number;
}

std::size_t Clamped(double number) {
  return number > static_cast<double>(kMaxText) ? kMaxText + 1 : static_cast<std::size_t>(number);
}

// Whether `pattern` (with * ? and ~ as SEARCH reads them) matches the start of `text`,
// letters compared without case.
bool MatchesStart(std::u16string_view pattern, std::u16string_view text) {
  while (!pattern.empty()) {
    const char16_t head = pattern.front();
    if (head == u'*') {
      const std::u16string_view rest = pattern.substr(1);
      for (std::size_t skip = 0; skip <= text.size(); ++skip) {
        if (MatchesStart(rest, text.substr(skip))) return true;
      }
      return false;
    }
    if (text.empty()) return false;
    if (head == u'?') {
      pattern.remove_prefix(1);
      text.remove_prefix(1);
      continue;
    }
    std::size_t used = 1;
    char16_t literal = head;
    if (head == u'~' && pattern.size() > 1 &&
        (pattern[1] == u'*' || pattern[1] == u'?' || pattern[1] == u'~')) {
      literal = pattern[1];
      used = 2;
    }
    if (base::AsciiUpper(literal) != base::AsciiUpper(text.front())) return false;
    pattern.remove_prefix(used);
    text.remove_prefix(1);
  }
  return true;
}

// Where `needle` first starts in `text` at or after `from` (0-based): exactly (FIND), or as
// a SEARCH pattern.
std::optional<std::size_t> Locate(std::u16string_view needle, std::u16string_view text,
                                  std::size_t from, bool pattern) {
  if (!pattern) {
    const std::size_t at = text.find(needle, from);
    return at == std::u16string_view::npos ? std::nullopt : std::optional(at);
  }
  for (std::size_t at = from; at < text.size() || (at == from && needle.empty()); ++at) {
    if (MatchesStart(needle, text.substr(at))) return at;
  }
  return std::nullopt;
}

// FIND and SEARCH: the character position (or with kBytes, the byte position) of the first
// match at or after the start, #VALUE! where there is none.
template <bool kPattern, bool kBytes>
Value Find(std::span<const Value> a, Context& c) {
  const std::u16string needle = TextArgument(a[0], c);
  const std::u16string text = TextArgument(a[1], c);
  const double start = a.size() > 2 ? WholeArgument(a[2], c, 1) : 1;
  // The start as a character index: with bytes, the first character at or after that byte.
  std::size_t from = 0;
  std::size_t bytes = 0;
  if (kBytes) {
    while (from < text.size() && static_cast<double>(bytes) < start - 1) {
      bytes += ByteWidth(text[from++]);
    }
    if (static_cast<double>(bytes) < start - 1) return Value::Error(ErrorCode::kValue);
  } else {
    if (start - 1 > static_cast<double>(text.size())) return Value::Error(ErrorCode::kValue);
    from = static_cast<std::size_t>(start) - 1;
  }
  const std::optional<std::size_t> at = Locate(needle, text, from, kPattern);
  if (!at) return Value::Error(ErrorCode::kValue);
  if (!kBytes) return Value::Number(static_cast<double>(*at + 1));
  std::size_t offset = 0;
  for (std::size_t i = 0; i < *at; ++i) offset += ByteWidth(text[i]);
  return Value::Number(static_cast<double>(offset + 1));
}

Value Substitute(std::span<const Value> a, Context& c) {
  const std::u16string text = TextArgument(a[0], c);
  const std::u16string old_text = TextArgument(a[1], c);
  const std::u16string new_text = TextArgument(a[2], c);
  const double instance = a.size() > 3 ? WholeArgument(a[3], c, 1) : 0;
  if (old_text.empty()) return Value::Text(text);
  std::u16string out;
  std::size_t from = 0;
  for (double seen = 1;; ++seen) {
    const std::size_t at = text.find(old_text, from);
    if (at == std::u16string::npos) break;
    out.append(text, from, at - from);
    out += instance == 0 || seen == instance ? new_text : old_text;
    from = at + old_text.size();
    if (out.size() > kMaxText) return Value::Error(ErrorCode::kValue);
  }
  out.append(text, from);
  return TextResult(std::move(out));
}

Value Replace(std::span<const Value> a, Context& c) {
  const std::u16string text = TextArgument(a[0], c);
  const std::size_t start = Clamped(WholeArgument(a[1], c, 1)) - 1;
  const std::size_t count = Clamped(WholeArgument(a[2], c, 0));
  const std::u16string new_text = TextArgument(a[3], c);
  const std::size_t from = std::min(start, text.size());
  const std::size_t to = std::min(text.size(), from + count);
  return TextResult(text.substr(0, from) + new_text + text.substr(to));
}

// A text as bytes: each character outside ASCII followed by a marker for its second byte,
// so byte ranges can be cut and put back together.
constexpr char16_t kSecondByte = 0xFFFF;

std::u16string AsBytes(const std::u16string& text) {
  std::u16string bytes;
  for (const char16_t ch : text) {
    bytes.push_back(ch);
    if (ByteWidth(ch) == 2) bytes.push_back(kSecondByte);
  }
  return bytes;
}

// Bytes back into text. Half a character, where a cut went through one, becomes a space,
// as Excel and LibreOffice show it.
std::u16string FromBytes(std::u16string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char16_t ch = bytes[i];
    if (ch == kSecondByte) {
      text.push_back(u' ');
    } else if (ByteWidth(ch) == 2) {
      const bool whole = i + 1 < bytes.size() && bytes[i + 1] == kSecondByte;
      text.push_back(whole ? ch : u' ');
      i += whole ? 1 : 0;
    } else {
      text.push_back(ch);
    }
  }
  return text;
}

Value LenB(std::span<const Value> a, Context& c) {
  return Value::Number(static_cast<double>(AsBytes(TextArgument(a[0], c)).size()));
}

Value LeftB(std::span<const Value> a, Context& c) {
  const std::u16string bytes = AsBytes(TextArgument(a[0], c));
  const std::size_t count = a.size() > 1 ? Clamped(WholeArgument(a[1], c, 0)) : 1;
  return Value::Text(FromBytes(std::u16string_view(bytes).substr(0, count)));
}

Value RightB(std::span<const Value> a, Context& c) {
  const std::u16string bytes = AsBytes(TextArgument(a[0], c));
  const std::size_t count =
      std::min(a.size() > 1 ? Clamped(WholeArgument(a[1], c, 0)) : 1, bytes.size());
  return Value::Text(FromBytes(std::u16string_view(bytes).substr(bytes.size() - count)));
}

Value MidB(std::span<const Value> a, Context& c) {
  const std::u16string bytes = AsBytes(TextArgument(a[0], c));
  const std::size_t start = Clamped(WholeArgument(a[1], c, 1)) - 1;
  const std::size_t count = Clamped(WholeArgument(a[2], c, 0));
  if (start >= bytes.size()) return Value::Text({});
  return Value::Text(FromBytes(std::u16string_view(bytes).substr(start, count)));
}

Value ReplaceB(std::span<const Value> a, Context& c) {
  const std::u16string bytes = AsBytes(TextArgument(a[0], c));
  const std::size_t start = Clamped(WholeArgument(a[1], c, 1)) - 1;
  const std::size_t count = Clamped(WholeArgument(a[2], c, 0));
  const std::u16string new_text = TextArgument(a[3], c);
  const std::size_t from = std::min(start, bytes.size());
  const std::size_t to = std::min(bytes.size(), from + count);
  const std::u16string_view view = bytes;
  return TextResult(FromBytes(view.substr(0, from)) + new_text + FromBytes(view.substr(to)));
}

constexpr FunctionInfo kTextSearch[] = {
    {120, u"SUBSTITUTE", 3, 4, Substitute},
    {124, u"FIND", 2, 3, Find<false, false>},
    {82, u"SEARCH", 2, 3, Find<true, false>},
    {119, u"REPLACE", 4, 4, Replace},
    {205, u"FINDB", 2, 3, Find<false, true>},
    {206, u"SEARCHB", 2, 3, Find<true, true>},
    {207, u"REPLACEB", 4, 4, ReplaceB},
    {208, u"LEFTB", 1, 2, LeftB},
    {209, u"RIGHTB", 1, 2, RightB},
    {210, u"MIDB", 3, 3, MidB},
    {211, u"LENB", 1, 1, LenB},
};

}  // namespace

std::span<const FunctionInfo> TextSearchFunctions() {
  return kTextSearch;
}

}  // namespace xls::formula
