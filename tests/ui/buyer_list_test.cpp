// The buyer drop-down: whole characters in every row, and a long list that scrolls row by row.
#include <QAbstractItemView>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "ink_rows.h"
#include "window_fixture.h"

namespace ui::testing {
namespace {

using test_support::InkRows;

// The most buyers a workbook holds: rows 3 to 203 of its reference sheet.
constexpr int kMostBuyers = 201;

// How many pixel rows of ink a text has when nothing cuts it.
int UncutInkHeight(const QFont& font, const QString& text) {
  QImage image(200, 60, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRect(0, 0, 200, 60), Qt::AlignCenter, text);
  painter.end();
  const std::vector<int> rows = InkRows(image, image.rect());
  return rows.empty() ? 0 : rows.back() - rows.front() + 1;
}

class BuyerListTest : public WindowTest {
 protected:
  void BeforeShow(Form1& window) override {
    std::vector<std::u16string> buyers;
    for (int i = 0; i < kMostBuyers; ++i) {
      buyers.push_back(QStringLiteral("张三木业%1号").arg(i + 1).toStdU16String());
    }
    window.SetBuyerList(buyers);
  }

  void TearDown() override { form().Combo1()->hidePopup(); }

  QAbstractItemView* OpenList() {
    form().Combo1()->showPopup();
    Settle();
    QAbstractItemView* view = form().Combo1()->view();
    EXPECT_TRUE(view->isVisible());
    return view;
  }

  // The index of the row at the top of the open list, and whether it is cut.
  static std::pair<int, bool> TopRow(QAbstractItemView* view) {
    const QModelIndex top = view->indexAt(QPoint(2, 0));
    return {top.row(), view->visualRect(top).top() != 0};
  }
};

TEST_F(BuyerListTest, EveryRowShowsItsCharactersWhole) {
  QAbstractItemView* view = OpenList();
  const QImage image = view->viewport()->grab().toImage();
  const int uncut = UncutInkHeight(view->font(), QStringLiteral("张三木业8号"));
  ASSERT_GT(uncut, 8);
  // Row 0 is the current one and drawn highlighted; the rows below it in plain ink.
  for (int row = 1; row < 9; ++row) {
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    const std::vector<int> ink = InkRows(image, rect);
    ASSERT_FALSE(ink.empty()) << row;
    EXPECT_EQ(ink.back() - ink.front() + 1, uncut) << "row " << row << " is cut";
    // Blank above and below: the characters of neighbouring rows do not touch.
    EXPECT_GT(ink.front(), rect.top()) << row;
    EXPECT_LT(ink.back(), rect.bottom()) << row;
  }
}

TEST_F(BuyerListTest, AListOfTheMostBuyersScrollsRowByRow) {
  QAbstractItemView* view = OpenList();
  ASSERT_EQ(view->model()->rowCount(), kMostBuyers);
  EXPECT_TRUE(view->verticalScrollBar()->isVisible());

  // The open list shows whole rows only: none is cut at the bottom.
  const int row_height = view->visualRect(view->model()->index(0, 0)).height();
  const int shown = view->viewport()->height() / row_height;
  EXPECT_EQ(view->viewport()->height() % row_height, 0);
  EXPECT_EQ(shown, form().Combo1()->maxVisibleItems());
  const QRect screen = form().screen()->geometry();
  EXPECT_TRUE(screen.contains(view->window()->geometry())) << "the list leaves the screen";

  // Page, wheel and End keep a whole row at the top and reach the last buyer.
  for (int page = 0; page < 3; ++page) QTest::keyClick(view, Qt::Key_PageDown);
  Settle();
  EXPECT_EQ(TopRow(view).second, false);
  EXPECT_GT(TopRow(view).first, 0);
  for (int turn = 0; turn < 5; ++turn) {
    QWheelEvent wheel(QPointF(20, 20), view->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    Settle();
    EXPECT_EQ(TopRow(view).second, false) << "after wheel turn " << turn;
  }
  QTest::keyClick(view, Qt::Key_End);
  Settle();
  const QRect last = view->visualRect(view->model()->index(kMostBuyers - 1, 0));
  EXPECT_TRUE(view->viewport()->rect().contains(last)) << "the last buyer is cut";
  EXPECT_EQ(TopRow(view), std::make_pair(kMostBuyers - shown, false));

  // Picking the last buyer puts its whole name in the box.
  QTest::keyClick(view, Qt::Key_Return);
  Settle();
  EXPECT_EQ(form().BuyerText(), u"张三木业201号");
}

}  // namespace
}  // namespace ui::testing
