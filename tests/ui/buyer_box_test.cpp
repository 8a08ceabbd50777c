// The buyer box takes whatever the clerk types, exactly: a list of buyers must never complete,
// replace or re-case it, however the clerk leaves the box.
#include <QAbstractItemView>
#include <QComboBox>
#include <QWheelEvent>

#include "window_fixture.h"

namespace ui::testing {
namespace {

class BuyerBoxTest : public WindowTest {
 protected:
  void BeforeShow(Form1& window) override {
    window.SetBuyerList({u"王五家具厂", u"abc Timber", u"Lin", u"福建永安林海木业有限公司"});
  }

  // Arrives in the buyer box by Tab from the box before it and replaces its text by typing.
  void TypeBuyer(const QString& text) {
    Focus("Text6_1");
    Press(Qt::Key_Tab);
    ASSERT_EQ(FocusName(), "Combo1");
    form().Combo1()->lineEdit()->selectAll();
    Type(text);
  }
};

TEST_F(BuyerBoxTest, TypedTextStaysExactlyAsTypedWhateverTheClerkPressesNext) {
  const struct {
    const char16_t* typed;
    Qt::Key leave_with;
  } cases[] = {
      {u"王五", Qt::Key_Return},       // the start of a listed name
      {u"王五", Qt::Key_Tab},          //
      {u"ABC", Qt::Key_Tab},           // the start of a listed name in other case
      {u"ab", Qt::Key_Return},         //
      {u"LIN", Qt::Key_Tab},           // a listed name in other case
      {u"lin", Qt::Key_Return},        //
      {u"福建永安", Qt::Key_Enter},    // keypad Enter
      {u"王五家具", Qt::Key_Backtab},  // leaving backwards
  };
  for (const auto& c : cases) {
    const QString typed = QString::fromUtf16(c.typed);
    TypeBuyer(typed);
    EXPECT_EQ(form().Combo1()->lineEdit()->text(), typed) << "while typing";
    EXPECT_FALSE(form().Combo1()->lineEdit()->hasSelectedText()) << typed.toStdString();
    Press(c.leave_with, c.leave_with == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    EXPECT_NE(FocusName(), "Combo1");
    EXPECT_EQ(form().BuyerText(), c.typed) << typed.toStdString();
  }
}

TEST_F(BuyerBoxTest, LeavingByMouseOrWindowChangeKeepsTheTypedText) {
  TypeBuyer("LIN");
  QTest::mouseClick(Edit("Text9"), Qt::LeftButton);
  Settle();
  EXPECT_EQ(FocusName(), "Text9");
  EXPECT_EQ(form().BuyerText(), u"LIN");

  TypeBuyer("王五");
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  Settle();
  EXPECT_EQ(form().BuyerText(), u"王五");
}

TEST_F(BuyerBoxTest, PickingFromTheListStillWorksAndTypingNeverAddsToIt) {
  TypeBuyer("x");
  Press(Qt::Key_Tab);
  form().Combo1()->setCurrentIndex(1);
  EXPECT_EQ(form().BuyerText(), u"abc Timber");
  EXPECT_EQ(form().Combo1()->count(), 4);
}

// One notch of the wheel, down or up, over the middle of a widget, as a mouse sends it.
void TurnWheel(QWidget& widget, int notches) {
  const QPointF middle = QRectF(widget.rect()).center();
  QWheelEvent wheel(middle, widget.mapToGlobal(middle), QPoint(), QPoint(0, -120 * notches),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&widget, &wheel);
}

TEST_F(BuyerBoxTest, TheWheelOverTheClosedBoxLeavesTheTypedBuyerWhileTheOpenListScrolls) {
  TypeBuyer("XinKeHu");
  Press(Qt::Key_Tab);
  QComboBox& box = *form().Combo1();
  for (QWidget* under_pointer :
       {static_cast<QWidget*>(&box), static_cast<QWidget*>(box.lineEdit())}) {
    for (int notches : {1, -1, 3}) {
      TurnWheel(*under_pointer, notches);
      Settle();
      EXPECT_EQ(form().BuyerText(), u"XinKeHu") << notches << " notches";
      EXPECT_EQ(box.currentIndex(), -1);
    }
  }

  // Opened, the list is as long as the window allows; a short list here, so scroll its view.
  form().SetBuyerList(std::vector<std::u16string>(60, u"买方"));
  box.showPopup();
  Settle();
  QWidget& rows = *box.view()->viewport();
  const int top_before = box.view()->indexAt(QPoint(1, 1)).row();
  TurnWheel(rows, 2);
  Settle();
  EXPECT_GT(box.view()->indexAt(QPoint(1, 1)).row(), top_before) << "the open list scrolls";
  box.hidePopup();
}

}  // namespace
}  // namespace ui::testing
