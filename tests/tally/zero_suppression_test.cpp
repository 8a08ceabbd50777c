#include "tally/zero_suppression.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sheet_fixture.h"

namespace tally {
namespace {

using testing::MemorySheet;

TEST(ZeroSuppression, ColumnRuleEmptiesEveryRowBelowTheThreshold) {
  MemorySheet s;
  s.sheet.SetText(TallyColumn::Volume, 2, u"0.0001");
  s.sheet.SetText(TallyColumn::Volume, 7, u"12.5000");
  s.sheet.SetText(TallyColumn::Volume, 5, u"0.0000");
  EXPECT_EQ(s.Volume(5), u"");
  EXPECT_EQ(s.Volume(2), u"0.0001");
  EXPECT_EQ(s.Volume(7), u"12.5000");

  s.sheet.SetText(TallyColumn::Amount, 0, u"0.00");
  EXPECT_EQ(s.Amount(0), u"");
  s.sheet.SetText(TallyColumn::Amount, 0, u"0.01");
  EXPECT_EQ(s.Amount(0), u"0.01");
  s.sheet.SetText(TallyColumn::Volume, 3, u"-0.5000");
  EXPECT_EQ(s.Volume(3), u"");
}

TEST(ZeroSuppression, ColumnRuleRescansRowsThatHeldLowTextsBeforeAnyChange) {
  // Texts below the threshold can sit in a column only if they got there without a rule
  // running; a change anywhere in the column then clears all of them, and only them.
  MemoryFieldStore store;
  store.SetText(FieldId(TallyColumn::Volume, 1), u"0.0000");
  store.SetText(FieldId(TallyColumn::Volume, 11), u"-3.0000");
  store.SetText(FieldId(TallyColumn::Amount, 4), u"0.00");
  TallySheet sheet(store);
  sheet.SetText(TallyColumn::Volume, 12, u"0.0000");
  for (int row = 0; row < kRowCount; ++row) EXPECT_EQ(sheet.Text(TallyColumn::Volume, row), u"");
  EXPECT_EQ(sheet.Text(TallyColumn::Amount, 4), u"0.00");
}

TEST(ZeroSuppression, SingleFieldsUseTheirOwnThresholds) {
  struct Case {
    SingleField field;
    std::u16string text;
    std::u16string expected;
  };
  const std::vector<Case> cases = {
      {SingleField::Text10, u"0.0000", u""},     {SingleField::Text10, u"0.0001", u"0.0001"},
      {SingleField::Text11, u"0.00", u""},       {SingleField::Text11, u"0.01", u"0.01"},
      {SingleField::Text9, u"0.01", u"0.01"},    {SingleField::Text9, u"0.009", u""},
      {SingleField::Text10, u"0.009", u"0.009"}, {SingleField::Text9, u" 5", u""},
      {SingleField::Text9, u"A", u"A"},          {SingleField::Text9, u"王五", u"王五"},
      {SingleField::Text9, u"007", u"007"},      {SingleField::Text9, u"0.", u""},
      {SingleField::Text11, u"-12.00", u""},     {SingleField::Text9, u"+1", u""},
  };
  for (const Case& c : cases) {
    MemorySheet s;
    s.sheet.SetText(c.field, c.text);
    EXPECT_EQ(s.Text(c.field), c.expected) << static_cast<int>(c.field);
  }
}

// Each threshold exactly: the smallest value with its number of decimals stays, a value one
// decimal place further down goes. The texts end in 9 so that a threshold with one decimal
// more or one fewer would decide the other way.
TEST(ZeroSuppression, EachFieldsThresholdHasItsOwnNumberOfDecimals) {
  struct Case {
    FieldId field;
    std::u16string stays;
    std::u16string goes;
  };
  const Case cases[] = {
      {FieldId(TallyColumn::Volume, 4), u"0.00009", u"0.000009"},
      {FieldId(TallyColumn::Amount, 4), u"0.009", u"0.0009"},
      {SingleField::Text9, u"0.09", u"0.009"},
      {SingleField::Text10, u"0.0009", u"0.00009"},
      {SingleField::Text11, u"0.009", u"0.0009"},
  };
  for (const Case& c : cases) {
    MemorySheet s;
    s.sheet.SetText(c.field, c.stays);
    EXPECT_EQ(s.sheet.Text(c.field), c.stays) << c.field.Index();
    s.sheet.SetText(c.field, c.goes);
    EXPECT_EQ(s.sheet.Text(c.field), u"") << c.field.Index();
  }
}

TEST(ZeroSuppression, TypingZeroFirstIntoText9EmptiesItAtOnce) {
  MemorySheet s;
  s.sheet.SetText(SingleField::Text9, u"0");
  EXPECT_EQ(s.Text(SingleField::Text9), u"");
  s.sheet.SetText(SingleField::Text9, u"5");
  s.sheet.SetText(SingleField::Text9, u"5.");
  EXPECT_EQ(s.Text(SingleField::Text9), u"5.");
}

TEST(ZeroSuppression, TypedColumnsCarryNoRule) {
  MemorySheet s;
  s.TypeRow(0, {u"0", u"-1", u" ", u"0.0", u"", u"0.00"});
  EXPECT_EQ(s.sheet.Text(TallyColumn::Length, 0), u"0");
  EXPECT_EQ(s.sheet.Text(TallyColumn::Width, 0), u"-1");
  EXPECT_EQ(s.sheet.Text(TallyColumn::UnitPrice, 0), u"0.00");
}

TEST(ZeroSuppression, NestedColumnRunsEndWithEveryLowRowEmpty) {
  // Every row holds a zero text written behind the rule's back; one change then nests a
  // run per emptied row and must still leave the column clean and the stack bounded.
  MemoryFieldStore store;
  for (int row = 0; row < kRowCount; ++row) {
    store.SetText(FieldId(TallyColumn::Amount, row), row % 2 ? u"0.00" : u"-1.00");
  }
  TallySheet sheet(store);
  sheet.SetText(TallyColumn::Amount, 6, u"0.000");
  for (int row = 0; row < kRowCount; ++row) EXPECT_EQ(sheet.Text(TallyColumn::Amount, row), u"");
}

}  // namespace
}  // namespace tally
