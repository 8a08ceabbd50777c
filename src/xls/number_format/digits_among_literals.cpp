#include "xls/number_format/digits_among_literals.h"

#include <vector>

namespace xls::number_format {

namespace {

bool IsNumberPart(Token::Kind kind) {
  return kind == Token::Kind::kDigit || kind == Token::Kind::kPoint ||
         kind == Token::Kind::kThousands || kind == Token::Kind::kExponent;
}

// A run's digits in the section's numerals.
std::u16string RunText(const std::string& digits, bool first_run, const Section& s) {
  if (digits.empty()) return {};
  if (s.numerals == Numerals::kArabic || s.numerals_one_for_one) return Digits(digits, s.numerals);
  if (first_run) return Counted(digits, s.numerals);
  // A run of leading zeros is read as one zero, as inside a number.
  const std::size_t leading = digits.find_first_not_of('0');
  if (leading == 0 || leading == std::string::npos) return Counted(digits, s.numerals);
  return Digits("0", s.numerals) + Counted(digits.substr(leading), s.numerals);
}

}  // namespace

bool HasLiteralAmongDigits(const Section& s) {
  bool digit_seen = false;
  bool literal_pending = false;
  for (const Token& t : s.tokens) {
    if (t.kind == Token::Kind::kExponent) return false;
    if (t.kind == Token::Kind::kDigit) {
      if (digit_seen && literal_pending) return true;
      digit_seen = true;
      literal_pending = false;
    } else if (t.kind == Token::Kind::kLiteral && digit_seen) {
      literal_pending = true;
    } else if (t.kind == Token::Kind::kPoint) {
      literal_pending = false;
    }
  }
  return false;
}

std::u16string DigitsAmongLiterals(const std::string& integer, const std::string& decimals,
                                   const Section& s) {
  // Which digits each integer placeholder shows.
  std::vector<std::size_t> integer_tokens;
  for (std::size_t k = 0; k < s.tokens.size(); ++k) {
    if (s.tokens[k].kind == Token::Kind::kPoint) break;
    if (s.tokens[k].kind == Token::Kind::kDigit) integer_tokens.push_back(k);
  }
  std::vector<std::string> shown(s.tokens.size());
  std::size_t left = integer.size();
  for (std::size_t j = integer_tokens.size(); j-- > 0;) {
    const std::size_t take = j == 0 ? left : std::min<std::size_t>(left, 1);
    shown[integer_tokens[j]] = integer.substr(left - take, take);
    left -= take;
  }
  std::u16string out;
  std::string run;
  bool first_run = true;
  bool after_point = false;
  std::size_t next_decimal = 0;
  const auto end_run = [&] {
    if (run.empty()) return;
    out += RunText(run, first_run, s);
    first_run = false;
    run.clear();
  };
  for (std::size_t k = 0; k < s.tokens.size(); ++k) {
    const Token& t = s.tokens[k];
    if (t.kind == Token::Kind::kDigit && !after_point) {
      run += shown[k];
      continue;
    }
    end_run();
    if (t.kind == Token::Kind::kDigit) {
      if (next_decimal < decimals.size()) {
        out += Digits(decimals.substr(next_decimal++, 1), s.numerals);
      }
    } else if (t.kind == Token::Kind::kPoint) {
      after_point = true;
      out += u'.';
    } else if (!IsNumberPart(t.kind) && t.kind != Token::Kind::kText &&
               t.kind != Token::Kind::kGeneral) {
      out += t.text;
    }
  }
  end_run();
  return out;
}

}  // namespace xls::number_format
