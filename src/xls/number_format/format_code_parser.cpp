#include "xls/number_format/format_code_parser.h"

#include <array>
#include <string>

#include "base/ascii_case.h"
#include "xls/number_format/section_modifiers.h"

namespace xls::number_format {

namespace {

// Words a section spells out, matched ignoring ASCII case.
struct Keyword {
  std::u16string_view text;
  Token::Kind kind;
  bool twelve_hour;
};
constexpr std::array<Keyword, 5> kKeywords = {{
    {u"General", Token::Kind::kGeneral, false},
    {u"G/通用格式", Token::Kind::kGeneral, false},  // General, as Chinese spreadsheets save it
    {u"AM/PM", Token::Kind::kDatePart, true},
    {u"A/P", Token::Kind::kDatePart, true},
    {u"上午/下午", Token::Kind::kDatePart, true},
}};

bool IsDateLetter(char16_t c) {
  switch (base::AsciiUpper(c)) {
    case u'Y':
    case u'M':
    case u'D':
    case u'H':
    case u'S':
    case u'E':
      return true;
    default:
      return false;
  }
}

// Reads one section left to right; each Read* takes what starts at `at` if it is its kind.
class SectionReader {
 public:
  explicit SectionReader(std::u16string_view code) : code_(code) {}

  Section Read() {
    while (at_ < code_.size()) {
      if (!(ReadEscaped() || ReadBracketed() || ReadKeyword() || ReadExponent() ||
            ReadDateLetters() || ReadPlaceholder())) {
        Literal(std::u16string(1, code_[at_++]));
      }
    }
    return std::move(section_);
  }

 private:
  void Literal(std::u16string text) {
    if (!section_.tokens.empty() && section_.tokens.back().kind == Token::Kind::kLiteral) {
      section_.tokens.back().text += text;
    } else {
      section_.tokens.push_back({Token::Kind::kLiteral, std::move(text)});
    }
  }

  std::size_t CloseOf(char16_t close) const {
    const std::size_t found = code_.find(close, at_ + 1);
    return found == std::u16string_view::npos ? code_.size() : found;
  }

  bool ReadEscaped() {
    const char16_t c = code_[at_];
    if (c == u'"') {
      const std::size_t end = CloseOf(u'"');
      Literal(std::u16string(code_.substr(at_ + 1, end - at_ - 1)));
      at_ = end + 1;
    } else if (c == u'\\' || c == u'!') {
      if (at_ + 1 < code_.size()) Literal(std::u16string(1, code_[at_ + 1]));
      at_ += 2;
    } else if (c == u'_') {
      Literal(u" ");  // room for the next character: a space is near enough
      at_ += 2;
    } else if (c == u'*') {
      at_ += 2;  // repeat to fill the cell: nothing on paper at the text's own width
    } else {
      return false;
    }
    return true;
  }

  bool ReadBracketed() {
    if (code_[at_] != u'[') return false;
    const std::size_t end = CloseOf(u']');
    ReadBracket(code_.substr(at_ + 1, end - at_ - 1), section_);
    at_ = end + 1;
    return true;
  }

  bool ReadKeyword() {
    const std::u16string_view rest = code_.substr(at_);
    for (const Keyword& k : kKeywords) {
      if (rest.size() < k.text.size() ||
          !base::EqualIgnoringAsciiCase(rest.substr(0, k.text.size()), k.text)) {
        continue;
      }
      section_.tokens.push_back(
          {k.kind, std::u16string(k.kind == Token::Kind::kGeneral ? u"" : k.text)});
      section_.has_general = section_.has_general || k.kind == Token::Kind::kGeneral;
      section_.has_date = section_.has_date || k.twelve_hour;
      section_.twelve_hour = section_.twelve_hour || k.twelve_hour;
      at_ += k.text.size();
      return true;
    }
    return false;
  }

  bool ReadExponent() {
    const char16_t c = base::AsciiUpper(code_[at_]);
    if (c != u'E' || at_ + 1 >= code_.size() ||
        (code_[at_ + 1] != u'+' && code_[at_ + 1] != u'-')) {
      return false;
    }
    section_.tokens.push_back({Token::Kind::kExponent, std::u16string(code_.substr(at_, 2))});
    at_ += 2;
    return true;
  }

  // y m d h s e, and aaa/aaaa (the Chinese weekday), each run of one letter one part.
  bool ReadDateLetters() {
    const char16_t letter = base::AsciiUpper(code_[at_]);
    const bool weekday = letter == u'A' && code_.size() - at_ >= 3 &&
                         base::AsciiUpper(code_[at_ + 1]) == u'A' &&
                         base::AsciiUpper(code_[at_ + 2]) == u'A';
    if (!IsDateLetter(letter) && !weekday) return false;
    std::size_t end = at_;
    while (end < code_.size() && base::AsciiUpper(code_[end]) == letter) ++end;
    section_.tokens.push_back({Token::Kind::kDatePart, std::u16string(end - at_, letter)});
    section_.has_date = true;
    at_ = end;
    return true;
  }

  bool ReadPlaceholder() {
    const char16_t c = code_[at_];
    Token::Kind kind = Token::Kind::kDigit;
    if (c == u'.') {
      kind = Token::Kind::kPoint;
    } else if (c == u',') {
      kind = Token::Kind::kThousands;
    } else if (c == u'%') {
      kind = Token::Kind::kPercent;
    } else if (c == u'@') {
      kind = Token::Kind::kText;
      section_.has_text = true;
    } else if (c == u'0' || c == u'#' || c == u'?') {
      section_.has_digits = true;
    } else {
      return false;
    }
    section_.tokens.push_back(
        {kind, kind == Token::Kind::kText ? std::u16string() : std::u16string(1, c)});
    ++at_;
    return true;
  }

  std::u16string_view code_;
  std::size_t at_ = 0;
  Section section_;
};

// Commas right after the last digit placeholder scale the number instead of grouping.
void TakeScalingCommas(Section& s) {
  for (std::size_t k = s.tokens.size(); k-- > 0;) {
    if (s.tokens[k].kind != Token::Kind::kThousands) continue;
    bool after_digit = false;
    for (std::size_t j = k; j-- > 0;) {
      if (s.tokens[j].kind == Token::Kind::kThousands) continue;
      after_digit = s.tokens[j].kind == Token::Kind::kDigit;
      break;
    }
    bool digit_follows = false;
    for (std::size_t j = k + 1; j < s.tokens.size(); ++j) {
      if (s.tokens[j].kind == Token::Kind::kDigit) digit_follows = true;
      if (s.tokens[j].kind == Token::Kind::kPoint) break;
    }
    if (after_digit && !digit_follows) {
      ++s.trailing_commas;
      s.tokens.erase(s.tokens.begin() + static_cast<std::ptrdiff_t>(k));
    }
  }
}

// A date code's decimal point after seconds stands for fractions of a second, and only its
// digits group: "dddd, mmmm d" keeps its comma as text.
void MakeDatePlaceholdersDateParts(Section& s) {
  for (Token& t : s.tokens) {
    if (t.kind == Token::Kind::kPoint || t.kind == Token::Kind::kDigit) {
      t.kind = Token::Kind::kDatePart;
    } else if (t.kind == Token::Kind::kThousands || t.kind == Token::Kind::kPercent) {
      t.kind = Token::Kind::kLiteral;
    }
  }
}

Section ParseSection(std::u16string_view code) {
  Section s = SectionReader(code).Read();
  TakeScalingCommas(s);
  if (s.has_date) MakeDatePlaceholdersDateParts(s);
  if (s.tokens.empty() && s.has_modifier) {
    // "[DBNum2]" or "[$-804]" alone shows the number as General does, in its numerals.
    s.tokens.push_back({Token::Kind::kGeneral, {}});
    s.has_general = true;
  }
  return s;
}

std::vector<std::u16string_view> SplitSections(std::u16string_view code) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  bool quoted = false;
  bool bracket = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char16_t c = code[i];
    if (c == u'"' && !bracket) {
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;
    } else if (c == u'[') {
      bracket = true;
    } else if (c == u']') {
      bracket = false;
    } else if (c == u';' && !bracket) {
      parts.push_back(code.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(code.substr(start));
  return parts;
}

}  // namespace

std::vector<Section> ParseFormatCode(std::u16string_view code) {
  std::vector<Section> sections;
  for (std::u16string_view part : SplitSections(code)) sections.push_back(ParseSection(part));
  return sections;
}

}  // namespace xls::number_format
