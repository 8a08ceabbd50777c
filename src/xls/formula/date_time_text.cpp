#include "xls/formula/date_time_text.h"

#include <cmath>
#include <vector>

#include "base/ascii_case.h"

namespace xls::formula {

namespace {

// The text cut into numbers and the marks between them.
struct Piece {
  bool number = false;
  double value = 0;
  int digits = 0;
  std::u16string_view mark;
};

std::vector<Piece> Pieces(std::u16string_view text) {
  std::vector<Piece> pieces;
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      Piece p{true, 0, 0, {}};
      while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        p.value = p.value * 10 + (text[i] - u'0');
        ++p.digits;
        ++i;
      }
      pieces.push_back(p);
    } else if (c == u' ') {
      ++i;
      if (!pieces.empty() && pieces.back().mark != u" ") pieces.push_back({false, 0, 0, u" "});
    } else {
      std::size_t end = i + 1;
      const auto letter = [](char16_t l) {
        return (l >= u'A' && l <= u'Z') || (l >= u'a' && l <= u'z');
      };
      if (letter(c)) {
        while (end < text.size() && letter(text[end])) ++end;
      } else if ((c == u'上' || c == u'下') && end < text.size() && text[end] == u'午') {
        ++end;
      }
      pieces.push_back({false, 0, 0, text.substr(i, end - i)});
      i = end;
    }
  }
  while (!pieces.empty() && pieces.back().mark == u" ") pieces.pop_back();
  return pieces;
}

bool IsLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

bool RealDay(int year, int month, int day) {
  constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  // 1900-02-29 is a day in Excel's 1900 date system.
  return month != 2 || day < 29 || IsLeapYear(year) || year == 1900;
}

int FullYear(const Piece& p) {
  const int y = static_cast<int>(p.value);
  if (p.digits > 2) return y;
  return y < 30 ? 2000 + y : 1900 + y;
}

bool Mark(const std::vector<Piece>& pieces, std::size_t at, std::u16string_view mark) {
  return at < pieces.size() && !pieces[at].number && pieces[at].mark == mark;
}
bool Number(const std::vector<Piece>& pieces, std::size_t at) {
  return at < pieces.size() && pieces[at].number;
}

// The month an English name or its first three letters name (Dec, december); 0 for none.
int MonthNamed(const std::vector<Piece>& p, std::size_t at) {
  if (at >= p.size() || p[at].number || p[at].mark.size() < 3) return 0;
  constexpr std::u16string_view kMonths[] = {u"JANUARY",   u"FEBRUARY", u"MARCH",    u"APRIL",
                                             u"MAY",       u"JUNE",     u"JULY",     u"AUGUST",
                                             u"SEPTEMBER", u"OCTOBER",  u"NOVEMBER", u"DECEMBER"};
  const std::u16string_view mark = p[at].mark;
  for (int month = 0; month < 12; ++month) {
    const std::u16string_view name = kMonths[month];
    if (mark.size() != 3 && mark.size() != name.size()) continue;
    if (base::EqualIgnoringAsciiCase<char16_t>(mark, name.substr(0, mark.size()))) {
      return month + 1;
    }
  }
  return 0;
}

bool DateSeparator(const std::vector<Piece>& p, std::size_t at) {
  return Mark(p, at, u"-") || Mark(p, at, u"/") || Mark(p, at, u" ");
}

// A date that names its month (8-Dec, Dec-8, 8-Dec-2026) at `at`; moves `at` past it. The
// year is left unset where the text has none.
bool ReadNamedMonth(const std::vector<Piece>& p, std::size_t& at, DateTimeText& out) {
  if (Number(p, at) && DateSeparator(p, at + 1) && MonthNamed(p, at + 2) != 0) {
    out.day = static_cast<int>(p[at].value);
    out.month = MonthNamed(p, at + 2);
    const bool with_year = (Mark(p, at + 3, u"-") || Mark(p, at + 3, u"/")) && Number(p, at + 4);
    if (with_year) out.year = FullYear(p[at + 4]);
    at += with_year ? 5 : 3;
    return true;
  }
  if (MonthNamed(p, at) != 0 && DateSeparator(p, at + 1) && Number(p, at + 2) &&
      p[at + 2].digits <= 2) {
    out.month = MonthNamed(p, at);
    out.day = static_cast<int>(p[at + 2].value);
    at += 3;
    return true;
  }
  return false;
}

// A date without its year, month first (12-8, 12/8, 12月8日), at `at`; moves `at` past it.
bool ReadMonthAndDay(const std::vector<Piece>& p, std::size_t& at, DateTimeText& out) {
  if (!Number(p, at) || !Number(p, at + 2) || p[at].digits > 2 || p[at + 2].digits > 2) {
    return false;
  }
  const bool chinese = Mark(p, at + 1, u"月") && Mark(p, at + 3, u"日");
  const bool dashed = (Mark(p, at + 1, u"-") || Mark(p, at + 1, u"/")) && !Mark(p, at + 3, u"-") &&
                      !Mark(p, at + 3, u"/");
  if (!chinese && !dashed) return false;
  out.month = static_cast<int>(p[at].value);
  out.day = static_cast<int>(p[at + 2].value);
  at += chinese ? 4 : 3;
  return true;
}

// A date at `at`; moves `at` past it.
bool ReadDate(const std::vector<Piece>& p, std::size_t& at, DateTimeText& out) {
  if (!Number(p, at)) return false;
  if (Number(p, at + 2) && Number(p, at + 4) && Mark(p, at + 1, u"年") && Mark(p, at + 3, u"月")) {
    out.year = FullYear(p[at]);
    out.month = static_cast<int>(p[at + 2].value);
    out.day = static_cast<int>(p[at + 4].value);
    at += Mark(p, at + 5, u"日") ? 6u : 5u;
    return true;
  }
  for (const std::u16string_view separator : {u"-", u"/"}) {
    if (!(Mark(p, at + 1, separator) && Number(p, at + 2) && Mark(p, at + 3, separator) &&
          Number(p, at + 4))) {
      continue;
    }
    const bool year_last = p[at].digits <= 2 && p[at + 4].digits == 4;
    out.year = FullYear(p[year_last ? at + 4 : at]);
    out.month = static_cast<int>(p[year_last ? at : at + 2].value);
    out.day = static_cast<int>(p[year_last ? at + 2 : at + 4].value);
    at += 5;
    return true;
  }
  return false;
}

// A time at `at`; moves `at` past it.
bool ReadTime(const std::vector<Piece>& p, std::size_t& at, DateTimeText& out) {
  int half = 0;  // 1 morning, 2 afternoon
  const auto read_half = [&](std::size_t where) {
    if (where >= p.size() || p[where].number) return false;
    const std::u16string_view m = p[where].mark;
    if (m == u"上午" || base::EqualIgnoringAsciiCase<char16_t>(m, u"AM")) half = 1;
    if (m == u"下午" || base::EqualIgnoringAsciiCase<char16_t>(m, u"PM")) half = 2;
    return half != 0;
  };
  if (read_half(at)) at += Mark(p, at + 1, u" ") ? 2u : 1u;
  if (!Number(p, at)) return false;
  double hours = p[at].value;
  double minutes = 0;
  double seconds = 0;
  if (Mark(p, at + 1, u":") && Number(p, at + 2)) {
    minutes = p[at + 2].value;
    at += 3;
    if (Mark(p, at, u":") && Number(p, at + 1)) {
      seconds = p[at + 1].value;
      at += 2;
      if (Mark(p, at, u".") && Number(p, at + 1)) {
        seconds += p[at + 1].value / std::pow(10.0, p[at + 1].digits);
        at += 2;
      }
    }
  } else if (Mark(p, at + 1, u"时")) {
    at += 2;
    if (Number(p, at) && Mark(p, at + 1, u"分")) {
      minutes = p[at].value;
      at += 2;
      if (Number(p, at) && Mark(p, at + 1, u"秒")) {
        seconds = p[at].value;
        at += 2;
      }
    }
  } else {
    return false;
  }
  if (half == 0) {
    const std::size_t after = Mark(p, at, u" ") ? at + 1 : at;
    if (read_half(after)) at = after + 1;
  }
  if (half != 0) {
    if (hours > 12) return false;
    if (hours == 12) hours = 0;
    if (half == 2) hours += 12;
  }
  out.seconds = hours * 3600 + minutes * 60 + seconds;
  return true;
}

}  // namespace

std::optional<DateTimeText> ParseDateTimeText(std::u16string_view text,
                                              std::optional<int> current_year) {
  const std::vector<Piece> pieces = Pieces(text);
  DateTimeText out;
  std::size_t at = 0;
  bool date = ReadDate(pieces, at, out);
  if (!date && current_year) {
    at = 0;
    out = {};
    date = ReadNamedMonth(pieces, at, out) || ReadMonthAndDay(pieces, at, out);
    if (!date) {
      at = 0;
      out = {};
    } else if (!out.year) {
      out.year = *current_year;
    }
  }
  if (date) {
    if (!RealDay(*out.year, out.month, out.day)) return std::nullopt;
    if (Mark(pieces, at, u" ")) ++at;
  }
  if (at < pieces.size() && !ReadTime(pieces, at, out)) return std::nullopt;
  if (at != pieces.size() || (!out.year && !out.seconds)) return std::nullopt;
  return out;
}

}  // namespace xls::formula
