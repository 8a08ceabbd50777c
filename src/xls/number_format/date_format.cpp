#include "xls/number_format/date_format.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "xls/number_format/serial_date.h"

namespace xls::number_format {

namespace {

constexpr std::array<std::u16string_view, 12> kMonths = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr std::array<std::u16string_view, 7> kDays = {
    u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
constexpr std::array<std::u16string_view, 7> kChineseDays = {u"日", u"一", u"二", u"三",
                                                             u"四", u"五", u"六"};

std::string Padded(long long value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

// A month, day or time field. The lower and capital numerals read it out without padding,
// 十五 rather than LibreOffice's 一十五 for hours (Excel's own examples say 十三时三十分);
// full-width digits stay digits, as LibreOffice writes them.
std::u16string Field(int value, std::size_t width, Numerals numerals) {
  if (numerals == Numerals::kLower || numerals == Numerals::kCapital) {
    return Counted(std::to_string(value), numerals, Tens::kBare);
  }
  return Digits(Padded(value, width), numerals);
}

// Elapsed time: the whole hours, minutes or seconds since the serial's day 0.
std::u16string Elapsed(const Token& t, double serial, Numerals numerals) {
  long long count = 0;
  if (t.text == u"H") count = static_cast<long long>(std::floor(serial * 24.0 + 1e-9));
  if (t.text == u"M") count = static_cast<long long>(std::floor(serial * 1440.0 + 1e-9));
  if (t.text == u"S") count = static_cast<long long>(std::round(serial * 86400.0));
  return Counted(std::to_string(count), numerals);
}

// m is minutes right after hours or right before seconds, else the month.
bool IsMinutes(const Section& s, std::size_t k) {
  for (std::size_t j = k; j-- > 0;) {
    const Token& before = s.tokens[j];
    if (before.kind == Token::Kind::kDatePart || before.kind == Token::Kind::kElapsed) {
      if (before.text[0] == u'H') return true;
      break;
    }
  }
  for (std::size_t j = k + 1; j < s.tokens.size(); ++j) {
    if (s.tokens[j].kind == Token::Kind::kDatePart) return s.tokens[j].text[0] == u'S';
  }
  return false;
}

std::u16string MonthOrMinutes(const Section& s, std::size_t k, const DateTime& dt) {
  const std::size_t n = s.tokens[k].text.size();
  if (IsMinutes(s, k)) return Field(dt.minute, n >= 2 ? 2 : 1, s.numerals);
  if (n <= 2) return Field(dt.month, n, s.numerals);
  const std::u16string_view name = kMonths[static_cast<std::size_t>(dt.month - 1)];
  return std::u16string(n == 3 ? name.substr(0, 3) : n == 5 ? name.substr(0, 1) : name);
}

std::u16string Day(std::size_t n, const DateTime& dt, Numerals numerals) {
  if (n <= 2) return Field(dt.day, n, numerals);
  const std::u16string_view name = kDays[static_cast<std::size_t>(dt.weekday)];
  return std::u16string(n == 3 ? name.substr(0, 3) : name);
}

int Hour(const Section& s, const DateTime& dt) {
  if (!s.twelve_hour) return dt.hour;
  return dt.hour % 12 == 0 ? 12 : dt.hour % 12;
}

// A point after seconds with the 0s that follow it: fractions of a second.
std::u16string SecondFraction(const Section& s, std::size_t& k, const DateTime& dt) {
  std::size_t places = 0;
  while (k + 1 < s.tokens.size() && s.tokens[k + 1].kind == Token::Kind::kDatePart &&
         s.tokens[k + 1].text == u"0") {
    ++places;
    ++k;
  }
  if (places == 0) return u".";
  const auto scaled =
      static_cast<long long>(std::round(dt.fraction * std::pow(10.0, static_cast<double>(places))));
  return u"." + Digits(Padded(scaled, places), s.numerals);
}

std::u16string Meridiem(std::u16string_view part, const DateTime& dt) {
  const bool morning = dt.hour < 12;
  if (part == u"AM/PM") return morning ? u"AM" : u"PM";
  if (part == u"A/P") return morning ? u"A" : u"P";
  return morning ? u"上午" : u"下午";
}

std::u16string DatePart(const Section& s, std::size_t& k, const DateTime& dt) {
  const std::u16string& p = s.tokens[k].text;
  const std::size_t n = p.size();
  if (p.find(u'/') != std::u16string::npos) return Meridiem(p, dt);
  switch (p[0]) {
    case u'Y':
    case u'E':
      return Digits(n <= 2 && p[0] == u'Y' ? Padded(dt.year % 100, 2) : Padded(dt.year, 4),
                    s.numerals);
    case u'M':
      return MonthOrMinutes(s, k, dt);
    case u'D':
      return Day(n, dt, s.numerals);
    case u'A':
      return (n >= 4 ? u"星期" : u"") +
             std::u16string(kChineseDays[static_cast<std::size_t>(dt.weekday)]);
    case u'H':
      return Field(Hour(s, dt), n >= 2 ? 2 : 1, s.numerals);
    case u'S':
      return Field(dt.second, n >= 2 ? 2 : 1, s.numerals);
    case u'.':
      return SecondFraction(s, k, dt);
    default:
      return p == u"0" ? u"0" : u"";  // a lone 0 of a date code; # and ? show nothing
  }
}

bool ShowsSecondFractions(const Section& s) {
  for (const Token& t : s.tokens) {
    if (t.kind == Token::Kind::kDatePart && (t.text == u"0" || t.text == u".")) return true;
  }
  return false;
}

}  // namespace

std::u16string FormatDate(double serial, const Section& s, bool date1904) {
  const std::optional<DateTime> dt = SerialToDateTime(serial, date1904, ShowsSecondFractions(s));
  if (!dt) return u"###";
  std::u16string out;
  for (std::size_t k = 0; k < s.tokens.size(); ++k) {
    const Token& t = s.tokens[k];
    if (t.kind == Token::Kind::kElapsed) {
      out += Elapsed(t, serial, s.numerals);
    } else if (t.kind == Token::Kind::kDatePart) {
      out += DatePart(s, k, *dt);
    } else if (t.kind == Token::Kind::kLiteral) {
      out += t.text;
    }
  }
  return out;
}

}  // namespace xls::number_format
