#include "xls/number_format/fraction_format.h"

#include <cmath>
#include <string>

namespace xls::number_format {

namespace {

// Where a fraction code's parts are among the section's tokens.
struct FractionLayout {
  std::size_t slash = 0;           // the literal starting with "/"
  std::size_t numerator_from = 0;  // the placeholders before it
  std::size_t whole_from = 0;      // the whole part's placeholders (none: == numerator_from)
  std::size_t denominator_to = 0;  // one past the placeholders after it
  int numerator_places = 0;
  int denominator_places = 0;
  long long fixed_denominator = 0;  // ?/8
  bool whole = false;
  bool whole_zero = false;  // a 0 placeholder among the whole part's
};

bool IsDigit(const Token& t) {
  return t.kind == Token::Kind::kDigit;
}

std::optional<FractionLayout> LayoutOf(const Section& s) {
  if (s.has_date) return std::nullopt;
  const auto& tokens = s.tokens;
  FractionLayout f;
  bool found = false;
  for (std::size_t k = 1; k < tokens.size() && !found; ++k) {
    found = tokens[k].kind == Token::Kind::kLiteral && tokens[k].text.starts_with(u'/') &&
            IsDigit(tokens[k - 1]);
    f.slash = k;
  }
  if (!found) return std::nullopt;
  const std::u16string& after = tokens[f.slash].text;
  f.denominator_to = f.slash + 1;
  if (after.size() > 1) {
    for (std::size_t i = 1; i < after.size() && after[i] >= u'0' && after[i] <= u'9'; ++i) {
      f.fixed_denominator = f.fixed_denominator * 10 + (after[i] - u'0');
    }
    if (f.fixed_denominator == 0) return std::nullopt;
  } else {
    while (f.denominator_to < tokens.size() && IsDigit(tokens[f.denominator_to])) {
      ++f.denominator_to;
      ++f.denominator_places;
    }
    if (f.denominator_places == 0) return std::nullopt;
  }
  f.numerator_from = f.slash;
  while (f.numerator_from > 0 && IsDigit(tokens[f.numerator_from - 1])) --f.numerator_from;
  f.numerator_places = static_cast<int>(f.slash - f.numerator_from);
  f.whole_from = f.numerator_from;
  for (std::size_t k = 0; k < f.numerator_from; ++k) {
    if (!IsDigit(tokens[k])) continue;
    if (!f.whole) f.whole_from = k;
    f.whole = true;
    f.whole_zero = f.whole_zero || tokens[k].text == u"0";
  }
  return f;
}

// The closest numerator and denominator for `fraction`, the denominator below `limit`.
void Approximate(double fraction, long long limit, long long& numerator, long long& denominator) {
  double best = 2;
  for (long long d = 1; d < limit; ++d) {
    const double n = std::round(fraction * static_cast<double>(d));
    const double error = std::fabs(fraction - n / static_cast<double>(d));
    if (error < best - 1e-12) {
      best = error;
      numerator = static_cast<long long>(n);
      denominator = d;
      if (error == 0) return;
    }
  }
}

std::u16string Widened(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}

std::u16string Padded(std::u16string text, int places, bool left) {
  if (static_cast<int>(text.size()) >= places) return text;
  const std::u16string room(static_cast<std::size_t>(places) - text.size(), u' ');
  return left ? room + text : text + room;
}

}  // namespace

std::optional<ShownNumber> FormatFraction(double magnitude, const Section& s) {
  const std::optional<FractionLayout> layout = LayoutOf(s);
  if (!layout) return std::nullopt;
  const FractionLayout& f = *layout;
  double whole = f.whole ? std::floor(magnitude) : 0;
  const double fraction = magnitude - whole;
  long long numerator = 0;
  long long denominator = f.fixed_denominator;
  if (denominator > 0) {
    numerator = static_cast<long long>(std::round(fraction * static_cast<double>(denominator)));
  } else {
    Approximate(fraction, static_cast<long long>(std::pow(10.0, f.denominator_places)), numerator,
                denominator);
  }
  if (f.whole && numerator == denominator) {
    whole += 1;
    numerator = 0;
  }
  const std::u16string denominator_text =
      f.fixed_denominator > 0 ? std::u16string() : Widened(std::to_string(denominator));
  std::u16string out;
  for (std::size_t k = 0; k < s.tokens.size(); ++k) {
    const Token& t = s.tokens[k];
    if (k == f.whole_from && f.whole) {
      // The whole part; a zero one shows only where nothing else does, or a 0 asks for it.
      if (whole > 0 || f.whole_zero || numerator == 0) {
        out += Widened(std::to_string(static_cast<long long>(whole)));
      }
    } else if (k == f.numerator_from) {
      if (numerator == 0 && f.whole) {
        const std::size_t room = static_cast<std::size_t>(f.numerator_places) +
                                 s.tokens[f.slash].text.size() +
                                 static_cast<std::size_t>(f.denominator_places);
        out += std::u16string(room, u' ');
      } else {
        out += Padded(Widened(std::to_string(numerator)), f.numerator_places, true) +
               s.tokens[f.slash].text + Padded(denominator_text, f.denominator_places, false);
      }
      k = f.denominator_to - 1;
    } else if (IsDigit(t) || t.kind == Token::Kind::kThousands || t.kind == Token::Kind::kPoint) {
      continue;
    } else if (t.kind != Token::Kind::kText && t.kind != Token::Kind::kGeneral) {
      out += t.text;
    }
  }
  return ShownNumber{std::move(out), whole == 0 && numerator == 0};
}

}  // namespace xls::number_format
