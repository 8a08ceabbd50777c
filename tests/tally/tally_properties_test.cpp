// Randomised checks of what must hold for any input, not just the listed examples.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "sheet_fixture.h"
#include "tally/numeric_text.h"

namespace tally {
namespace {

using testing::MemorySheet;

std::string Narrow(const std::u16string& text) {
  return std::string(text.begin(), text.end());
}

TEST(NumericTextProperties, AFormattedValueReadsBackAsTheValueShown) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-8, 15);
  for (int i = 0; i < 20000; ++i) {
    const double x = mantissa(random) * std::pow(10.0, exponent(random));
    for (FixedPattern pattern : {FixedPattern::FourDecimals, FixedPattern::TwoDecimals}) {
      const double step = pattern == FixedPattern::FourDecimals ? 1e-4 : 1e-2;
      const std::u16string shown = FormatFixed(x, pattern);
      const double back = ParseNumber(shown);
      // Within half a step, give or take the 15-digit rounding of large values.
      EXPECT_LE(std::fabs(back - x), step / 2 + std::fabs(x) * 1e-14) << Narrow(shown) << " " << x;
      // Formatting what was read gives the same text again (a negative value that rounds
      // to zero keeps its sign in the text but reads back as zero).
      if (back != 0.0) {
        EXPECT_EQ(FormatFixed(back, pattern), shown) << x;
      }
      // Exactly the pattern's number of decimals after one point.
      const std::size_t point = shown.find(u'.');
      ASSERT_NE(point, std::u16string::npos);
      EXPECT_EQ(shown.size() - point - 1, pattern == FixedPattern::FourDecimals ? 4u : 2u);
    }
  }
}

TEST(NumericTextProperties, PlainDecimalsReadTheSameAsAnyOtherSpelling) {
  // Plain texts take a short cut; spelled with a trailing letter they take the general
  // reader. Both must give the same, correctly rounded double.
  std::mt19937_64 random(42);
  std::uniform_int_distribution<int> length(1, 16);
  std::uniform_int_distribution<int> digit(0, 9);
  for (int i = 0; i < 50000; ++i) {
    std::u16string text;
    const int digits = length(random);
    const int point = std::uniform_int_distribution<int>(-1, digits)(random);
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += u'.';
      text += static_cast<char16_t>(u'0' + digit(random));
    }
    EXPECT_EQ(ParseNumber(text), ParseNumber(text + u"x")) << Narrow(text);
  }
}

// Texts a clerk might type: numbers, junk, signs, radix forms, huge values, blanks.
std::u16string RandomTyping(std::mt19937_64& random) {
  static const char16_t* const kSamples[] = {
      u"",   u"4",      u"200",   u"50",    u"1",    u"10",   u"800",   u"117.25", u"0",
      u"-1", u"4m",     u"1e200", u"1e400", u"&HFF", u".5",   u"abc",   u" 12 ",   u"0.0001",
      u"6",  u"3.3333", u"99999", u"1,5",   u"2d2",  u"张三", u"0.000", u"7e-3",   u"1e-400"};
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kSamples) - 1);
  return kSamples[pick(random)];
}

void ExpectInvariants(const MemorySheet& s, const std::u16string& previous_amounts_total) {
  double volume_sum = 0;
  for (int row = 0; row < kRowCount; ++row) {
    const std::u16string volume = s.Volume(row);
    if (!volume.empty()) {
      EXPECT_EQ(FormatFixed(ParseNumber(volume), FixedPattern::FourDecimals), volume);
      EXPECT_GE(ParseNumber(volume), 0.0001);
    }
    const std::u16string amount = s.Amount(row);
    if (!amount.empty()) {
      EXPECT_EQ(FormatFixed(ParseNumber(amount), FixedPattern::TwoDecimals), amount);
      EXPECT_GE(ParseNumber(amount), 0.01);
    }
    volume_sum += volume.empty() ? 0 : ParseNumber(volume);
  }
  const std::u16string text10 = s.Text(SingleField::Text10);
  if (!text10.empty()) {
    EXPECT_EQ(text10, FormatFixed(volume_sum, FixedPattern::FourDecimals));
  }
  EXPECT_EQ(s.Text(SingleField::Text11), previous_amounts_total);
}

std::u16string ShownTotal(const MemorySheet& s) {
  double sum = 0;
  for (int row = 0; row < kRowCount; ++row) sum += ParseNumber(s.Amount(row));
  const std::u16string text = FormatFixed(sum, FixedPattern::TwoDecimals);
  return SortsBefore(text, u"0.001") ? u"" : text;
}

TEST(TallyProperties, AfterAnyTypingTwoPassesLeaveTheSheetConsistent) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int> row_of(0, kRowCount - 1);
  std::uniform_int_distribution<int> column_of(0, kColumnCount - 1);
  for (int round = 0; round < 300; ++round) {
    MemorySheet s;
    for (int typing = 0; typing < 40; ++typing) {
      s.sheet.SetText(static_cast<TallyColumn>(column_of(random)), row_of(random),
                      RandomTyping(random));
    }
    s.Pass();
    const std::u16string amounts_after_first = ShownTotal(s);
    s.Pass();
    ExpectInvariants(s, amounts_after_first);
    // Once settled, a further pass changes nothing.
    std::u16string before;
    for (int i = 0; i < FieldId::kCount; ++i) before += s.sheet.Text(FieldId::FromIndex(i)) + u'|';
    s.Pass();
    std::u16string after;
    for (int i = 0; i < FieldId::kCount; ++i) after += s.sheet.Text(FieldId::FromIndex(i)) + u'|';
    EXPECT_EQ(after, before);
  }
}

}  // namespace
}  // namespace tally
