#include "xls/number_format/numeral_systems.h"

#include <array>

namespace xls::number_format {

namespace {

struct NumeralSet {
  std::array<char16_t, 10> digits;
  std::array<char16_t, 4> places;  // within a group of four: -, 十, 百, 千
  std::array<char16_t, 4> groups;  // each four places: -, 万, 亿, 兆
};

constexpr NumeralSet kLower = {
    {u'〇', u'一', u'二', u'三', u'四', u'五', u'六', u'七', u'八', u'九'},
    {0, u'十', u'百', u'千'},
    {0, u'万', u'亿', u'兆'}};
constexpr NumeralSet kCapital = {
    {u'零', u'壹', u'贰', u'叁', u'肆', u'伍', u'陆', u'柒', u'捌', u'玖'},
    {0, u'拾', u'佰', u'仟'},
    {0, u'万', u'亿', u'兆'}};
constexpr NumeralSet kFullWidth = {
    {u'０', u'１', u'２', u'３', u'４', u'５', u'６', u'７', u'８', u'９'},
    {0, u'十', u'百', u'千'},
    {0, u'万', u'亿', u'兆'}};

const NumeralSet* SetFor(Numerals numerals) {
  switch (numerals) {
    case Numerals::kLower:
      return &kLower;
    case Numerals::kCapital:
      return &kCapital;
    case Numerals::kFullWidth:
      return &kFullWidth;
    case Numerals::kArabic:
      break;
  }
  return nullptr;
}

// Reads digits out from the highest place down. A zero is written only before the next digit
// that is written, so a run of zeros gives one, and zeros closing a group give none.
class Reading {
 public:
  Reading(const NumeralSet& set, Tens tens) : set_(set), tens_(tens) {}

  void Number(std::string_view digits) {
    constexpr std::size_t kBelowZhao = 12;  // 兆 is the highest unit: 10^16 is 一万兆
    if (digits.size() > kBelowZhao) {
      Number(digits.substr(0, digits.size() - kBelowZhao));
      text_ += set_.groups[3];
      zero_pending_ = false;
      digits.remove_prefix(digits.size() - kBelowZhao);
    }
    std::size_t length = digits.size() % 4 == 0 ? 4 : digits.size() % 4;
    while (!digits.empty()) {
      Group(digits.substr(0, length), (digits.size() - 1) / 4);
      digits.remove_prefix(length);
      length = 4;
    }
  }

  std::u16string Take() { return std::move(text_); }

 private:
  void Group(std::string_view group, std::size_t index) {
    if (group.find_first_not_of('0') == std::string_view::npos) {
      zero_pending_ = zero_pending_ || !text_.empty();
      return;
    }
    for (std::size_t k = 0; k < group.size(); ++k) {
      const int digit = group[k] - '0';
      const std::size_t place = group.size() - 1 - k;
      if (digit == 0) {
        zero_pending_ = zero_pending_ || !text_.empty();
        continue;
      }
      if (zero_pending_) text_ += set_.digits[0];
      zero_pending_ = false;
      const bool bare_ten = tens_ == Tens::kBare && digit == 1 && place == 1 && text_.empty();
      if (!bare_ten) text_ += set_.digits[static_cast<std::size_t>(digit)];
      if (place > 0) text_ += set_.places[place];
    }
    if (index > 0) text_ += set_.groups[index];
    zero_pending_ = false;
  }

  const NumeralSet& set_;
  const Tens tens_;
  std::u16string text_;
  bool zero_pending_ = false;
};

}  // namespace

std::u16string Digits(std::string_view ascii, Numerals numerals) {
  const NumeralSet* set = SetFor(numerals);
  std::u16string out;
  out.reserve(ascii.size());
  for (const char c : ascii) {
    const bool digit = c >= '0' && c <= '9';
    out += set != nullptr && digit ? set->digits[static_cast<std::size_t>(c - '0')]
                                   : static_cast<char16_t>(static_cast<unsigned char>(c));
  }
  return out;
}

std::u16string Counted(std::string_view digits, Numerals numerals, Tens tens) {
  const std::size_t first = digits.find_first_not_of('0');
  digits = first == std::string_view::npos ? std::string_view("0") : digits.substr(first);
  const NumeralSet* set = SetFor(numerals);
  if (set == nullptr || digits == "0") return Digits(digits, numerals);
  Reading reading(*set, tens);
  reading.Number(digits);
  return reading.Take();
}

std::u16string CountedWithDecimals(std::string_view integer, std::string_view decimals, bool point,
                                   Numerals numerals) {
  std::u16string out = integer.empty() ? std::u16string() : Counted(integer, numerals);
  if (point) {
    out += u'.';
    out += Digits(decimals, numerals);
  }
  return out;
}

}  // namespace xls::number_format
