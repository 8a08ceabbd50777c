// The shown totals as exact integers, and sums over many random bills exact to the fen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>

#include "billbook/bill_book.h"
#include "billbook/bulk_recorder.h"
#include "billbook/exact_amount.h"
#include "book_fixtures.h"
#include "compound_files.h"

namespace {

using billbook::ScaledInteger;

TEST(ExactAmount, ShownTextsBecomeWholeUnits) {
  struct Case {
    const char* text;
    int decimals;
    std::optional<std::int64_t> value;
  };
  const Case cases[] = {
      {"1234.56", 2, 123456},
      {"0.4000", 4, 4000},
      {"12", 2, 1200},
      {"12.", 2, 1200},
      {".5", 2, 50},
      {"1,234.5", 2, 123450},
      {"-3.1", 2, -310},
      {" 7.07 ", 2, 707},
      {"", 2, 0},
      {"92233720368547758.07", 2, 9223372036854775807},
      {"92233720368547758.08", 2, std::nullopt},  // past the largest integer
      {"1.234", 2, std::nullopt},                 // more places than the unit has
      {"1e3", 2, std::nullopt},
      {"1..2", 2, std::nullopt},
      {"1.2.3", 2, std::nullopt},
      {",12", 2, std::nullopt},
      {"1,,2", 2, std::nullopt},
      {"12,", 2, std::nullopt},
      {"1,2.5,0", 2, std::nullopt},
      {"-", 2, std::nullopt},
      {".", 2, std::nullopt},
      {"¥12.00", 2, std::nullopt},
      {"1 2", 2, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaledInteger(c.text, c.decimals), c.value) << '"' << c.text << '"';
  }
  EXPECT_EQ(billbook::ScaledText(123456, 2), "1234.56");
  EXPECT_EQ(billbook::ScaledText(4000, 4), "0.4000");
  EXPECT_EQ(billbook::ScaledText(-5, 2), "-0.05");
  EXPECT_EQ(billbook::ScaledText(0, 2), "0.00");
  EXPECT_EQ(billbook::ScaledText(INT64_MIN, 2), "-92233720368547758.08");
}

// Adds decimal texts digit by digit, as on paper: a sum that shares nothing with the book's.
std::string DecimalSum(const std::vector<std::string>& texts, int decimals) {
  std::vector<int> digits(40, 0);  // least significant first, `decimals` of them after the point
  for (const std::string& text : texts) {
    const auto point = text.find('.');
    const std::string whole = text.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    fraction.resize(static_cast<std::size_t>(decimals), '0');
    const std::string all = whole + fraction;
    int carry = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
      const int digit = i < all.size() ? all[all.size() - 1 - i] - '0' : 0;
      const int sum = digits[i] + digit + carry;
      digits[i] = sum % 10;
      carry = sum / 10;
    }
  }
  std::string text;
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (static_cast<int>(i) == decimals - 1) text += '.';
    text += static_cast<char>('0' + digits[i]);
  }
  const auto first = std::min(text.find_first_not_of('0'), text.find('.') - 1);
  return text.substr(first);
}

TEST(ExactAmount, BookSumsAreExactToTheFenOverManyRandomBills) {
  test_support::TempDir temp;
  billbook::BillBook book(temp.Path() / billbook::kBookFileName);
  std::optional<billbook::BulkRecorder> bulk(std::in_place, book.file());
  std::mt19937_64 random(20261208);
  // Amounts in the millions with odd fen: a sum of doubles would be off in the last digit.
  std::uniform_int_distribution<std::int64_t> fen(0, 999'999'999);
  std::uniform_int_distribution<std::int64_t> volume(0, 99'999);
  const char* buyers[] = {"张记木业", "李家建材", "王五"};
  std::vector<std::string> amounts, volumes, zhang_amounts;
  // Years of a busy yard's bills, in one transaction: the sums the book's window shows.
  constexpr int kBills = 100'000;
  for (int i = 0; i < kBills; ++i) {
    const std::string amount = billbook::ScaledText(fen(random), 2);
    const std::string cubic = billbook::ScaledText(volume(random), 4);
    const char* buyer = buyers[i % 3];
    bulk->Add(book_fixtures::Bill(buyer, cubic, amount, 0, 1),
              book_fixtures::RecorderAt(2026, 1 + i % 12, 1 + i % 28));
    amounts.push_back(amount);
    volumes.push_back(cubic);
    if (i % 3 == 0) zhang_amounts.push_back(amount);
  }
  bulk->Commit();
  bulk.reset();
  const billbook::Totals totals = book.Sum({});
  EXPECT_EQ(totals.bills, kBills);
  EXPECT_EQ(billbook::ScaledText(totals.amount_fen, 2), DecimalSum(amounts, 2));
  EXPECT_EQ(billbook::ScaledText(totals.volume_e4, 4), DecimalSum(volumes, 4));
  const auto per_buyer = book.SummaryByBuyer({});
  const auto zhang = std::find_if(per_buyer.begin(), per_buyer.end(),
                                  [](const auto& s) { return s.buyer == "张记木业"; });
  ASSERT_NE(zhang, per_buyer.end());
  EXPECT_EQ(billbook::ScaledText(zhang->totals.amount_fen, 2), DecimalSum(zhang_amounts, 2));
  std::int64_t by_days = 0;
  for (const auto& day : book.SummaryByDay({})) by_days += day.totals.amount_fen;
  EXPECT_EQ(by_days, totals.amount_fen);
}

}  // namespace
