#include "tally/field_id.h"

#include <gtest/gtest.h>

#include "sheet_fixture.h"

namespace tally {
namespace {

using testing::MemorySheet;

TEST(FieldId, RowsZeroToTwelveAddressTheirOwnCell) {
  for (int row : {0, 5, 12}) {
    const FieldId field(TallyColumn::UnitPrice, row);
    EXPECT_TRUE(field.IsCell());
    EXPECT_EQ(field.Row(), row);
    EXPECT_EQ(field.Column(), TallyColumn::UnitPrice);
  }
}

// Row 13 of the length column would otherwise be the scaler's box, and row -1 of the width
// column row 0's length: a wrong row must be refused, never land on another field.
TEST(FieldId, ARowOutsideTheSheetIsRefused) {
  for (int row : {-1, 13, 14, 1000, -1000}) {
    EXPECT_THROW(FieldId(TallyColumn::Length, row), NoSuchField) << row;
    EXPECT_THROW(FieldId(TallyColumn::Amount, row), NoSuchField) << row;
  }
  EXPECT_THROW(FieldId(static_cast<TallyColumn>(8), 0), NoSuchField);
  EXPECT_THROW(FieldId(static_cast<SingleField>(3)), NoSuchField);
  EXPECT_THROW(FieldId::FromIndex(-1), NoSuchField);
  EXPECT_THROW(FieldId::FromIndex(107), NoSuchField);  // 13 rows of 8, then 3 single fields
  EXPECT_EQ(FieldId::FromIndex(106), FieldId(SingleField::Text11));
}

TEST(FieldId, ASheetRefusesAWrongRowAndKeepsEveryText) {
  MemorySheet s;
  s.sheet.SetText(SingleField::Text9, u"李四");
  s.sheet.SetText(TallyColumn::Width, 0, u"200");
  EXPECT_THROW(s.sheet.SetText(TallyColumn::Length, 13, u"4"), NoSuchField);
  EXPECT_THROW(s.sheet.SetText(TallyColumn::Width, -1, u"4"), NoSuchField);
  EXPECT_THROW(static_cast<void>(s.sheet.Text(TallyColumn::Length, 13)), NoSuchField);
  EXPECT_EQ(s.sheet.Text(SingleField::Text9), u"李四");
  EXPECT_EQ(s.sheet.Text(TallyColumn::Width, 0), u"200");
  EXPECT_EQ(s.sheet.Text(TallyColumn::Thickness, 0), u"");
}

}  // namespace
}  // namespace tally
