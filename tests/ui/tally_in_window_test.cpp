// The boxes are the tally: typing, the timer's passes, the change rules and clearing, all on
// the real widgets.
#include <QSignalSpy>

#include "tally/tally_sheet.h"
#include "window_fixture.h"

namespace ui::testing {
namespace {

using tally::FieldId;
using tally::SingleField;
using tally::TallyColumn;

class TallyInWindowTest : public WindowTest {
 protected:
  // Types one line from the keyboard, Enter after each value, as a clerk would.
  void TypeLine(int row, const QStringList& values) {
    Focus(Cell("Text1", row));
    for (const QString& value : values) {
      Type(value);
      Press(Qt::Key_Return);
    }
  }
};

TEST_F(TallyInWindowTest, TypedLineIsComputedOnTheNextTicks) {
  TypeLine(0, {"4", "200", "50", "1", "10", "1850"});
  EXPECT_EQ(FocusName(), "Text1_1");
  EXPECT_TRUE(Edit("Text6_0")->text().isEmpty());

  form().OnTimer1Tick();
  EXPECT_EQ(Edit("Text6_0")->text(), "0.4000");
  EXPECT_EQ(Edit("Text8_0")->text(), "740.00");
  EXPECT_EQ(Edit("Text10")->text(), "0.4000");
  EXPECT_EQ(Edit("Text11")->text(), "");  // the total amount follows one pass later

  form().OnTimer1Tick();
  EXPECT_EQ(Edit("Text11")->text(), "740.00");
  for (int row = 1; row < 13; ++row) {
    EXPECT_TRUE(Edit(Cell("Text6", row))->text().isEmpty()) << row;
    EXPECT_TRUE(Edit(Cell("Text8", row))->text().isEmpty()) << row;
  }
}

TEST_F(TallyInWindowTest, RunningTimerRecalculates) {
  form().Timer1().start();
  EXPECT_EQ(form().Timer1().interval(), 300);
  TypeLine(2, {"4", "117.25", "50", "3", "12"});
  EXPECT_TRUE(QTest::qWaitFor([&] { return Edit("Text6_2")->text() == "0.8442"; }, 2000));
}

TEST_F(TallyInWindowTest, ZeroTypedIntoScalerBoxEmptiesItAtOnce) {
  Focus("Text9");
  Type("0");
  EXPECT_EQ(Edit("Text9")->text(), "");
  Type("王五");
  EXPECT_EQ(Edit("Text9")->text(), "王五");
  EXPECT_EQ(form().sheet().Text(SingleField::Text9), u"王五");
}

TEST_F(TallyInWindowTest, TextTypedIntoComputedBoxIsReplacedByThePass) {
  TypeLine(4, {"2", "100", "100", "1", "1", "0"});
  Focus("Text6_4");
  Type("9");
  EXPECT_EQ(Edit("Text6_4")->text(), "9");
  form().OnTimer1Tick();
  EXPECT_EQ(Edit("Text6_4")->text(), "0.0200");
  EXPECT_EQ(Edit("Text8_4")->text(), "");  // a zero price gives no amount
}

TEST_F(TallyInWindowTest, ClearButtonEmptiesTypedColumnsOnly) {
  TypeLine(0, {"4", "200", "50", "1", "10", "1850"});
  TypeLine(12, {"3", "100", "40", "2", "5", "900"});
  form().sheet().SetText(SingleField::Text9, u"李四");
  form().Combo1()->setEditText("木材公司");
  form().OnTimer1Tick();
  form().OnTimer1Tick();
  const QString total_amount = Edit("Text11")->text();
  ASSERT_FALSE(total_amount.isEmpty());

  QTest::mouseClick(Control("Command1"), Qt::LeftButton);
  Settle();
  for (int row = 0; row < 13; ++row) {
    for (const char* array : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text7"}) {
      EXPECT_TRUE(Edit(Cell(array, row))->text().isEmpty()) << array << row;
    }
  }
  EXPECT_EQ(Edit("Text6_0")->text(), "0.4000");  // computed fields wait for the pass
  EXPECT_EQ(Edit("Text9")->text(), "李四");
  EXPECT_EQ(form().BuyerText(), u"木材公司");

  form().OnTimer1Tick();
  EXPECT_EQ(Edit("Text6_0")->text(), "");
  EXPECT_EQ(Edit("Text8_12")->text(), "");
  EXPECT_EQ(Edit("Text10")->text(), "");
  EXPECT_EQ(Edit("Text11")->text(), total_amount);
  form().OnTimer1Tick();
  EXPECT_EQ(Edit("Text11")->text(), "");
}

// A pass that leaves a text as it is must not touch the box: the clerk may be typing in it.
TEST_F(TallyInWindowTest, UnchangedWritesLeaveTheBoxAlone) {
  TypeLine(1, {"4", "200", "50", "1", "10", "1850"});
  form().OnTimer1Tick();
  form().OnTimer1Tick();

  QLineEdit* volume = Edit("Text6_1");
  Focus("Text6_1");
  volume->setSelection(2, 3);
  QSignalSpy changes(volume, &QLineEdit::textChanged);
  form().OnTimer1Tick();
  form().sheet().SetText(TallyColumn::Volume, 1, u"0.4000");
  EXPECT_EQ(changes.count(), 0);
  EXPECT_EQ(volume->selectionStart(), 2);
  EXPECT_EQ(volume->selectedText(), "400");

  // Rows that stay empty write a zero volume that the rule empties again: the box must not
  // even see it.
  QSignalSpy empty_row(Edit("Text6_7"), &QLineEdit::textChanged);
  form().OnTimer1Tick();
  EXPECT_EQ(empty_row.count(), 0);

  form().sheet().SetText(TallyColumn::Volume, 1, u"0.5");
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(form().sheet().Text(FieldId(TallyColumn::Volume, 1)), u"0.5");
}

}  // namespace
}  // namespace ui::testing
