#include "xls/formula/text_number.h"

#include <cmath>

#include "base/ascii_case.h"
#include "xls/biff/numeric_input.h"
#include "xls/number_format/serial_date.h"

namespace xls::formula {

namespace {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

// Digits at the front of text, taken off it; nothing when there are none or too many.
std::optional<int> TakeNumber(std::u16string_view& text, std::size_t max_digits) {
  std::size_t n = 0;
  int value = 0;
  while (n < text.size() && IsDigit(text[n])) {
    if (n == max_digits) return std::nullopt;
    value = value * 10 + (text[n] - u'0');
    ++n;
  }
  if (n == 0) return std::nullopt;
  text.remove_prefix(n);
  return value;
}

bool TakeChar(std::u16string_view& text, char16_t c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

// "h:mm", "h:mm:ss" and "h:mm:ss.s", with an optional AM or PM: the fraction of a day.
std::optional<double> TimeOfDay(std::u16string_view text) {
  const std::optional<int> hours = TakeNumber(text, 5);
  if (!hours || !TakeChar(text, u':')) return std::nullopt;
  const std::optional<int> minutes = TakeNumber(text, 2);
  if (!minutes || *minutes > 59) return std::nullopt;
  double seconds = 0;
  if (TakeChar(text, u':')) {
    const std::optional<int> whole = TakeNumber(text, 2);
    if (!whole || *whole > 59) return std::nullopt;
    seconds = *whole;
    if (TakeChar(text, u'.')) {
      double scale = 0.1;
      while (!text.empty() && IsDigit(text.front())) {
        seconds += scale * (text.front() - u'0');
        scale /= 10;
        text.remove_prefix(1);
      }
    }
  }
  int hour = *hours;
  text = Trimmed(text);
  if (!text.empty()) {
    const bool am = base::EqualIgnoringAsciiCase<char16_t>(text, u"AM");
    const bool pm = base::EqualIgnoringAsciiCase<char16_t>(text, u"PM");
    if ((!am && !pm) || hour > 12 || hour == 0) return std::nullopt;
    hour = hour % 12 + (pm ? 12 : 0);
  }
  return (hour * 3600.0 + *minutes * 60.0 + seconds) / 86400.0;
}

bool ValidDate(int year, int month, int day) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  if (day > kDays[month - 1]) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month != 2 || day < 29 || leap;
}

// "yyyy-mm-dd" or "yyyy/m/d", then optionally a space and a time of day.
std::optional<double> DateAndTime(std::u16string_view text, bool date1904) {
  const std::optional<int> year = TakeNumber(text, 4);
  if (!year || *year < 1000 || text.empty()) return std::nullopt;
  // "2026-12-8", "2026/12/8", or the Chinese long date "2026年12月8日".
  const char16_t separator = text.front();
  if (separator != u'-' && separator != u'/' && separator != u'年') return std::nullopt;
  const bool chinese = separator == u'年';
  text.remove_prefix(1);
  const std::optional<int> month = TakeNumber(text, 2);
  if (!month || !TakeChar(text, chinese ? u'月' : separator)) return std::nullopt;
  const std::optional<int> day = TakeNumber(text, 2);
  if (!day || (chinese && !TakeChar(text, u'日')) || !ValidDate(*year, *month, *day)) {
    return std::nullopt;
  }
  double time = 0;
  if (!text.empty()) {
    if (!TakeChar(text, u' ')) return std::nullopt;
    const std::optional<double> of_day = TimeOfDay(Trimmed(text));
    if (!of_day) return std::nullopt;
    time = *of_day;
  }
  return number_format::SerialOfDateTime(*year, *month, *day, 0, date1904) + time;
}

bool IsCurrencySign(char16_t c) {
  return c == u'$' || c == u'¥' || c == u'￥';
}

}  // namespace

std::optional<double> NumberOfText(std::u16string_view text, bool date1904) {
  text = Trimmed(text);
  if (const std::optional<double> plain = biff::ParseNumericInput(text)) return plain;
  if (text.empty()) return std::nullopt;
  if (text.size() > 2 && text.front() == u'(' && text.back() == u')') {
    // An accountant's negative: "(1,200)" and "(¥3)".
    const std::u16string_view inner = text.substr(1, text.size() - 2);
    if (inner.front() == u'-' || inner.front() == u'+' || inner.front() == u' ')
      return std::nullopt;
    const std::optional<double> amount = NumberOfText(inner, date1904);
    if (!amount || inner.find_first_of(u":/-年") != std::u16string_view::npos) return std::nullopt;
    return -*amount;
  }
  if (text.back() == u'%') {
    const std::optional<double> number = biff::ParseNumericInput(text.substr(0, text.size() - 1));
    if (number) return *number / 100;
    return std::nullopt;
  }
  // A currency sign before the number or after its sign.
  std::u16string_view rest = text;
  bool negative = false;
  if (rest.front() == u'-' || rest.front() == u'+') {
    negative = rest.front() == u'-';
    rest.remove_prefix(1);
  }
  if (!rest.empty() && IsCurrencySign(rest.front())) {
    rest.remove_prefix(1);
    if (rest.empty() || rest.front() == u' ' || rest.front() == u'+') return std::nullopt;
    if (rest.front() == u'-') {
      if (negative) return std::nullopt;
      negative = true;
      rest.remove_prefix(1);
    }
    if (rest.empty() || (!IsDigit(rest.front()) && rest.front() != u'.')) return std::nullopt;
    const std::optional<double> amount = biff::ParseNumericInput(rest);
    if (!amount) return std::nullopt;
    return negative ? -*amount : *amount;
  }
  if (text.find(u':') != std::u16string_view::npos && IsDigit(text.front()) &&
      text.find_first_of(u"-/") == std::u16string_view::npos) {
    return TimeOfDay(text);
  }
  return DateAndTime(text, date1904);
}

}  // namespace xls::formula
