// A value wider than its box: while nobody edits the box it shows its first characters, so
// it cannot be taken for a small number; the text itself stays whole.
#include <QLineEdit>

#include "tally/tally_sheet.h"
#include "window_fixture.h"

namespace ui::testing {
namespace {

using tally::SingleField;
using tally::TallyColumn;

// Where the box draws its caret, in the box's own pixels, once it has been painted: the
// part of a long text a box shows is settled when it paints.
double CaretX(QLineEdit* box) {
  box->grab();
  return box->inputMethodQuery(Qt::ImCursorRectangle).toRectF().center().x();
}

class LongValueTest : public WindowTest {
 protected:
  // The box shows the start of its text: the caret at 0 and, with it, the first character
  // at the box's left edge.
  static void ExpectStartShown(QLineEdit* box) {
    EXPECT_EQ(box->cursorPosition(), 0) << box->objectName().toStdString();
    EXPECT_LE(CaretX(box), 4) << box->objectName().toStdString();
  }
  static void ExpectEndShown(QLineEdit* box) {
    EXPECT_EQ(box->cursorPosition(), box->text().size()) << box->objectName().toStdString();
    EXPECT_GE(CaretX(box), box->width() - 6) << box->objectName().toStdString();
  }
};

TEST_F(LongValueTest, ComputedAndTypedValuesShowTheirStart) {
  // In an empty row: a 20-digit length and 1 in the other columns.
  Focus(Cell("Text1", 0));
  Type("12345678901234567890");
  ExpectEndShown(Edit(Cell("Text1", 0)));  // typing goes on at the end
  Press(Qt::Key_Return);
  for (int k = 0; k < 5; ++k) {
    Type("1");
    Press(Qt::Key_Return);
  }
  form().OnTimer1Tick();
  form().OnTimer1Tick();

  // 12345678901234567890 × 1 × 1 × 1 × 1 ÷ 1000000, to 15 significant digits.
  EXPECT_EQ(Edit(Cell("Text6", 0))->text(), "12345678901234.6000");
  EXPECT_EQ(Edit(Cell("Text8", 0))->text(), "12345678901234.60");
  EXPECT_EQ(Edit("Text10")->text(), "12345678901234.6000");
  EXPECT_EQ(Edit("Text11")->text(), "12345678901234.60");
  EXPECT_EQ(Edit(Cell("Text1", 0))->text(), "12345678901234567890");
  for (const QString& name : {Cell("Text1", 0), Cell("Text6", 0), Cell("Text8", 0),
                              QStringLiteral("Text10"), QStringLiteral("Text11")}) {
    ExpectStartShown(Edit(name));
  }
}

TEST_F(LongValueTest, TheBoxBeingEditedKeepsItsCaret) {
  Focus("Text9");
  Type("12345678901234567890");
  ExpectEndShown(Edit("Text9"));
  // A recalculation while the user types elsewhere does not disturb the box.
  form().OnTimer1Tick();
  ExpectEndShown(Edit("Text9"));

  // A computed box the user has clicked into is rewritten by the pass; its caret then stays
  // where the rewrite leaves it, at the end, and the start comes back once the user moves on.
  form().sheet().SetText(TallyColumn::Length, 2, u"88888888888888888888");
  for (TallyColumn column : {TallyColumn::Width, TallyColumn::Thickness, TallyColumn::Bundles,
                             TallyColumn::PiecesPerBundle, TallyColumn::UnitPrice}) {
    form().sheet().SetText(column, 2, u"1");
  }
  Focus(Cell("Text6", 2));
  form().OnTimer1Tick();
  EXPECT_EQ(Edit(Cell("Text6", 2))->text(), "88888888888888.9000");
  ExpectEndShown(Edit(Cell("Text6", 2)));
  Press(Qt::Key_Tab);
  ExpectStartShown(Edit(Cell("Text6", 2)));
  ExpectStartShown(Edit("Text9"));
  EXPECT_EQ(Edit("Text9")->text(), "12345678901234567890");
}

}  // namespace
}  // namespace ui::testing
