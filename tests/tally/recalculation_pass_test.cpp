#include "tally/recalculation_pass.h"

#include <gtest/gtest.h>

#include "sheet_fixture.h"

namespace tally {
namespace {

using testing::MemorySheet;

TEST(RecalculationPass, ComputesALineAndTheTotalAmountOnePassLater) {
  MemorySheet s;
  s.TypeRow(0, {u"4", u"200", u"50", u"1", u"10", u"800"});
  s.Pass();
  EXPECT_EQ(s.Volume(0), u"0.4000");
  EXPECT_EQ(s.Amount(0), u"320.00");
  EXPECT_EQ(s.Text(SingleField::Text10), u"0.4000");
  EXPECT_EQ(s.Text(SingleField::Text11), u"");
  s.Pass();
  EXPECT_EQ(s.Text(SingleField::Text11), u"320.00");
  for (int row = 1; row < kRowCount; ++row) {
    EXPECT_EQ(s.Volume(row), u"");
    EXPECT_EQ(s.Amount(row), u"");
  }
}

TEST(RecalculationPass, AmountsAndTotalsUseTheValuesAsShown) {
  MemorySheet s;
  s.TypeRow(0, {u"4", u"117.25", u"50", u"1", u"10", u"10"});
  s.Pass();
  EXPECT_EQ(s.Volume(0), u"0.2345");
  EXPECT_EQ(s.Amount(0), u"2.35");

  // The volume is 0.23452; the amount is that of 0.2345, 234.50, not 234.52.
  MemorySheet shown;
  shown.TypeRow(0, {u"4", u"117.26", u"50", u"1", u"10", u"1000"});
  shown.Pass();
  EXPECT_EQ(shown.Volume(0), u"0.2345");
  EXPECT_EQ(shown.Amount(0), u"234.50");

  MemorySheet two;  // two rows of 0.00006 each show 0.0001 and sum to 0.0002
  two.TypeRow(3, {u"6", u"10", u"1", u"1", u"1"});
  two.TypeRow(9, {u"6", u"10", u"1", u"1", u"1"});
  two.Pass();
  EXPECT_EQ(two.Volume(3), u"0.0001");
  EXPECT_EQ(two.Text(SingleField::Text10), u"0.0002");
}

TEST(RecalculationPass, ZeroNegativeAndIncompleteLinesStayBlank) {
  MemorySheet s;
  s.TypeRow(0, {u"1", u"1", u"1", u"1", u"1", u"999999"});  // 0.000001 m³
  s.TypeRow(1, {u"4", u"200", u"50", u"-1", u"10", u"800"});
  s.TypeRow(2, {u"4", u"200", u"", u"1", u"10", u"800"});
  s.TypeRow(3, {u"4", u"200", u"50", u"1", u"10", u""});  // volume but no price
  s.TypeRow(4, {u"4m", u"200", u"50", u"1", u"10", u"-800"});
  s.Pass();
  s.Pass();
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(s.Volume(row), u"") << row;
    EXPECT_EQ(s.Amount(row), u"") << row;
  }
  EXPECT_EQ(s.Volume(3), u"0.4000");
  EXPECT_EQ(s.Amount(3), u"");
  EXPECT_EQ(s.Volume(4), u"0.4000");
  EXPECT_EQ(s.Amount(4), u"");
  EXPECT_EQ(s.Text(SingleField::Text10), u"0.8000");
  EXPECT_EQ(s.Text(SingleField::Text11), u"");
}

TEST(RecalculationPass, TypedComputedTextsAreReplacedButCountOnceForTheTotalAmount) {
  MemorySheet s;
  s.TypeRow(0, {u"4", u"200", u"50", u"1", u"10", u"800"});
  s.Pass();
  s.Pass();
  s.sheet.SetText(TallyColumn::Amount, 3, u"100");
  s.sheet.SetText(TallyColumn::Volume, 5, u"7.7");
  s.Pass();
  EXPECT_EQ(s.Amount(3), u"");
  EXPECT_EQ(s.Volume(5), u"");
  EXPECT_EQ(s.Text(SingleField::Text11), u"420.00");  // read before loop 2 recomputed it
  s.Pass();
  EXPECT_EQ(s.Text(SingleField::Text11), u"320.00");
}

TEST(RecalculationPass, ClearEntriesEmptiesTypedColumnsAndResultsFollow) {
  MemorySheet s;
  for (int row = 0; row < kRowCount; ++row)
    s.TypeRow(row, {u"4", u"200", u"50", u"1", u"10", u"800"});
  s.sheet.SetText(SingleField::Text9, u"李四");
  s.Pass();
  s.Pass();
  EXPECT_EQ(s.Text(SingleField::Text10), u"5.2000");
  EXPECT_EQ(s.Text(SingleField::Text11), u"4160.00");

  s.sheet.ClearEntries();
  for (int row = 0; row < kRowCount; ++row) {
    for (TallyColumn c :
         {TallyColumn::Length, TallyColumn::Width, TallyColumn::Thickness, TallyColumn::Bundles,
          TallyColumn::PiecesPerBundle, TallyColumn::UnitPrice}) {
      EXPECT_EQ(s.sheet.Text(c, row), u"");
    }
    EXPECT_EQ(s.Volume(row), u"0.4000");  // untouched until the next pass
  }
  s.Pass();
  EXPECT_EQ(s.Volume(12), u"");
  EXPECT_EQ(s.Amount(12), u"");
  EXPECT_EQ(s.Text(SingleField::Text10), u"");
  EXPECT_EQ(s.Text(SingleField::Text11), u"4160.00");
  s.Pass();
  EXPECT_EQ(s.Text(SingleField::Text11), u"");
  EXPECT_EQ(s.Text(SingleField::Text9), u"李四");
}

TEST(RecalculationPass, AnOverflowingLineIsBlankAndTheOthersGoOn) {
  MemorySheet s;
  s.TypeRow(0, {u"4", u"200", u"50", u"1", u"10", u"800"});
  s.TypeRow(1, {u"1e200", u"1e200", u"1", u"1", u"1", u"5"});      // product overflows
  s.TypeRow(2, {u"1e400", u"1", u"1", u"1", u"1", u"5"});          // the text itself overflows
  s.TypeRow(3, {u"4", u"200", u"50", u"1", u"10", u"1e400"});      // so does the price
  s.TypeRow(4, {u"1e150", u"1e150", u"1", u"1", u"1", u"1e300"});  // amount overflows
  s.TypeRow(5, {u"4", u"200", u"50", u"1", u"10", u"100"});
  s.Pass();
  s.Pass();
  EXPECT_EQ(s.Volume(1), u"");
  EXPECT_EQ(s.Volume(2), u"");
  EXPECT_EQ(s.Volume(3), u"0.4000");
  EXPECT_EQ(s.Amount(3), u"");
  EXPECT_EQ(s.Volume(4).substr(0, 3), u"100");
  EXPECT_EQ(s.Amount(4), u"");
  EXPECT_EQ(s.Amount(5), u"40.00");
  // The huge row 4 swamps the volume total but still shows a number; nothing crashed.
  EXPECT_FALSE(s.Text(SingleField::Text10).empty());
  EXPECT_EQ(s.Text(SingleField::Text11), u"360.00");
}

TEST(RecalculationPass, ATotalBeyondTheDoubleRangeIsBlankRatherThanWrong) {
  MemorySheet s;
  s.TypeRow(0, {u"1e300", u"1", u"1", u"1", u"1", u"1.7e14"});  // amount 1.7e308
  s.TypeRow(1, {u"1e300", u"1", u"1", u"1", u"1", u"1.7e14"});
  s.Pass();
  s.Pass();
  EXPECT_EQ(s.Amount(0).substr(0, 3), u"170");
  EXPECT_EQ(s.Text(SingleField::Text11), u"");
}

}  // namespace
}  // namespace tally
