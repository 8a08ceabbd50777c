// Keyboard entry: the tab order, Enter as Tab, Up and Down in the typed columns, and the
// whole text selected whenever the focus arrives in one of them.
#include <QComboBox>
#include <QStringList>

#include "window_fixture.h"

namespace ui::testing {
namespace {

const char* const kTypedArrays[] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text7"};

// The tab stops in order, as the layout numbers them.
QStringList ExpectedTabOrder() {
  QStringList order;
  for (int row = 0; row < 13; ++row) {
    for (const char* array : kTypedArrays) order << WindowTest::Cell(array, row);
  }
  order << "Text6_0"
        << "Text8_0"
        << "Text6_1"
        << "Combo1"
        << "Command6"
        << "Command5"
        << "Command4"
        << "Command1"
        << "Command7"
        << "Text9"
        << "Text10"
        << "Text11"
        << "Text8_1";
  for (int row = 2; row < 13; ++row)
    order << WindowTest::Cell("Text8", row) << WindowTest::Cell("Text6", row);
  order << "Command2";
  return order;
}

class KeyboardTest : public WindowTest {};

TEST_F(KeyboardTest, TabWalksEveryStopInOrderAndComesBack) {
  const QStringList expected = ExpectedTabOrder();
  ASSERT_EQ(expected.size(), 114);
  EXPECT_EQ(FocusName(), "Text1_0");
  QStringList walked{FocusName()};
  for (qsizetype i = 1; i < expected.size(); ++i) {
    Press(Qt::Key_Tab);
    walked << FocusName();
  }
  EXPECT_EQ(walked, expected);
  Press(Qt::Key_Tab);
  EXPECT_EQ(FocusName(), "Text1_0");
}

TEST_F(KeyboardTest, EnterMovesOnLikeTabEverywhere) {
  Edit("Text1_0")->setText("4");
  Press(Qt::Key_Return);
  EXPECT_EQ(FocusName(), "Text2_0");
  EXPECT_EQ(Edit("Text1_0")->text(), "4");

  const std::pair<const char*, const char*> steps[] = {
      {"Text7_3", "Text1_4"},  {"Text7_12", "Text6_0"},  {"Text6_0", "Text8_0"},
      {"Text6_1", "Combo1"},   {"Command1", "Command7"}, {"Command7", "Text9"},
      {"Text9", "Text10"},     {"Text11", "Text8_1"},    {"Text6_12", "Command2"},
      {"Command2", "Text1_0"},
  };
  for (const auto& [from, to] : steps) {
    Focus(from);
    Press(Qt::Key_Return);
    EXPECT_EQ(FocusName(), to) << "Enter in " << from;
    Focus(from);
    Press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(FocusName(), to) << "keypad Enter in " << from;
  }
}

TEST_F(KeyboardTest, EnterInTheBuyerBoxNeitherTypesNorListsTheBuyer) {
  Focus("Combo1");
  form().Combo1()->lineEdit()->selectAll();
  Type("林业站");
  Press(Qt::Key_Return);
  EXPECT_EQ(FocusName(), "Command6");
  EXPECT_EQ(form().Combo1()->currentText(), "林业站");
  EXPECT_EQ(form().Combo1()->count(), 0);
}

TEST_F(KeyboardTest, OnlyACarriageReturnStandsForTab) {
  Focus("Text3_2");
  Press(Qt::Key_Return, Qt::ControlModifier);  // a line feed, not a carriage return
  EXPECT_EQ(FocusName(), "Text3_2");
  Press(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(FocusName(), "Text4_2");
}

TEST_F(KeyboardTest, UpAndDownStayInTheColumnAndWrap) {
  const struct {
    const char* from;
    Qt::Key key;
    const char* to;
  } moves[] = {
      {"Text5_12", Qt::Key_Down, "Text5_0"}, {"Text7_0", Qt::Key_Up, "Text7_12"},
      {"Text2_5", Qt::Key_Down, "Text2_6"},  {"Text2_5", Qt::Key_Up, "Text2_4"},
      {"Text1_0", Qt::Key_Up, "Text1_12"},   {"Text4_11", Qt::Key_Down, "Text4_12"},
  };
  for (Qt::KeyboardModifiers modifiers :
       {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
        Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
    for (const auto& move : moves) {
      Focus(move.from);
      Press(move.key, modifiers);
      EXPECT_EQ(FocusName(), move.to) << move.from << " modifiers " << modifiers.toInt();
    }
  }
  for (const char* still : {"Text6_4", "Text8_4", "Text9", "Text10", "Text11", "Combo1"}) {
    Focus(still);
    Press(Qt::Key_Down);
    Press(Qt::Key_Up);
    EXPECT_EQ(FocusName(), still);
  }
}

// Qt's line edit selects everything by itself on a Tab arrival, but only when the box holds
// no selection yet; a partial selection left in the box tells the window's own rule apart.
TEST_F(KeyboardTest, EveryArrivalSelectsTheWholeText) {
  for (int row = 0; row < 13; ++row) {
    for (const char* array : kTypedArrays) Edit(Cell(array, row))->setText("2.5");
  }
  const auto expect_all_selected = [&](const QString& name, const char* how) {
    EXPECT_EQ(FocusName(), name) << how;
    EXPECT_EQ(Edit(name)->selectedText(), "2.5") << how << " into " << name.toStdString();
  };
  const auto leave_partly_selected = [&](const QString& name) { Edit(name)->setSelection(0, 1); };

  Focus("Text5_3");
  leave_partly_selected("Text7_3");
  Press(Qt::Key_Tab);
  expect_all_selected("Text7_3", "Tab");
  leave_partly_selected("Text1_4");
  Press(Qt::Key_Return);
  expect_all_selected("Text1_4", "Enter");
  leave_partly_selected("Text7_3");
  Press(Qt::Key_Backtab);
  expect_all_selected("Text7_3", "Shift+Tab");
  Focus("Text1_4");
  Press(Qt::Key_Down);
  expect_all_selected("Text1_5", "Down");
  Press(Qt::Key_Up);
  Press(Qt::Key_Up);
  expect_all_selected("Text1_3", "Up");

  QLineEdit* clicked = Edit("Text3_9");
  QTest::mouseClick(clicked, Qt::LeftButton, Qt::NoModifier, QPoint(20, 12));
  Settle();
  expect_all_selected("Text3_9", "mouse click");

  // One typed digit replaces the whole value.
  Type("7");
  EXPECT_EQ(clicked->text(), "7");

  // The other keys keep their ordinary meaning.
  Focus("Text2_2");
  Press(Qt::Key_End);
  EXPECT_EQ(Edit("Text2_2")->cursorPosition(), 3);
  EXPECT_FALSE(Edit("Text2_2")->hasSelectedText());
  Press(Qt::Key_Left);
  EXPECT_EQ(Edit("Text2_2")->cursorPosition(), 2);
  Press(Qt::Key_Home);
  EXPECT_EQ(Edit("Text2_2")->cursorPosition(), 0);

  // An empty box shows just the caret at the start.
  Edit("Text4_6")->clear();
  Focus("Text4_5");
  Press(Qt::Key_Down);
  EXPECT_EQ(Edit("Text4_6")->cursorPosition(), 0);
}

// A clerk half way through a value who looks at another window, or opens the box's context
// menu, comes back to the value as it was: the next keystroke adds to it.
TEST_F(KeyboardTest, ComingBackToTheWindowOrFromAMenuKeepsTheEdit) {
  QLineEdit* box = Edit("Text2_4");
  QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(20, 12));
  Settle();
  Type("11");
  ASSERT_EQ(box->text(), "11");
  ASSERT_FALSE(box->hasSelectedText());

  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  Settle();
  form().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
  Settle();
  ASSERT_EQ(FocusName(), "Text2_4");
  EXPECT_FALSE(box->hasSelectedText()) << "after the window came back";
  Type("7");
  EXPECT_EQ(box->text(), "117");

  // What a closing context menu gives the box back.
  QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(box, &out);
  QFocusEvent in(QEvent::FocusIn, Qt::PopupFocusReason);
  QApplication::sendEvent(box, &in);
  Settle();
  EXPECT_FALSE(box->hasSelectedText()) << "after a context menu";
  Type("5");
  EXPECT_EQ(box->text(), "1175");
}

}  // namespace
}  // namespace ui::testing
