// The window's current bill as the book records it: each export of the real window into the
// real workbook, and what the book then holds.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>

#include "base/text_encoding.h"
#include "billbook/bill_book.h"
#include "bound_window_fixture.h"
#include "ui/workbook_binding.h"
#include "workbook/bill_recording.h"
#include "workbook/embedded_application.h"
#include "workbook/workbook_path.h"

namespace ui {
namespace {

namespace fs = std::filesystem;
using tally::SingleField;
using tally::TallyColumn;

class BillRecordingTest : public testing::BoundWindowTest {
 protected:
  QString ShownNumber() { return qobject_cast<QLabel*>(Control("LabelBill"))->text(); }
};

// Each step runs on the window, is followed by an export, and leaves the book so.
struct Step {
  const char* what;
  std::function<void(Form1&)> before_export;
  bool clear_first;  // 清除数据 clicked before the step
  int bills;         // in the book
  int revisions;     // of the window's bill
  int print_count;   // of its latest revision
  bool same_number;  // as after the step before
};

TEST_F(BillRecordingTest, EachExportRecordsNewBillReprintOrRevision) {
  testing::MessageAnswerer answerer;
  const auto type_line = [](Form1& form) {
    form.sheet().SetText(TallyColumn::Length, 0, u"4");
    form.sheet().SetText(TallyColumn::Width, 0, u"200");
    form.sheet().SetText(SingleField::Text9, u"王师傅");
  };
  const Step steps[] = {
      {"the first export numbers a new bill", type_line, false, 1, 1, 1, false},
      {"unchanged: a reprint", [](Form1&) {}, false, 1, 1, 2, true},
      {"unchanged again", [](Form1&) {}, false, 1, 1, 3, true},
      {"changed: a revision of the same number",
       [](Form1& form) { form.sheet().SetText(SingleField::Text9, u"李师傅"); }, false, 1, 2, 1,
       true},
      {"the revision reprinted", [](Form1&) {}, false, 1, 2, 2, true},
      {"清除数据 and a new tally: a new number", type_line, true, 2, 1, 1, false},
      {"清除数据 with the same texts is still a new bill", type_line, true, 3, 1, 1, false},
  };
  std::string previous;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.clear_first) {
      QTest::mouseClick(Control("Command1"), Qt::LeftButton);
      Settle();
      EXPECT_EQ(ShownNumber(), QString()) << "a cleared tally has no number yet";
    }
    step.before_export(form());
    Export();
    const std::string number = form().current_bill().number();
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(ShownNumber(), QStringLiteral("单号 %1").arg(QString::fromStdString(number)));
    EXPECT_EQ(number == previous, step.same_number) << number << " after " << previous;

    const billbook::BillBook book(Book());
    EXPECT_EQ(book.List({billbook::AllDays(), "", ""}, 0, 100).size(),
              static_cast<std::size_t>(step.bills));
    const billbook::OpenedBill opened = book.Open(number);
    ASSERT_EQ(opened.revisions.size(), static_cast<std::size_t>(step.revisions));
    EXPECT_EQ(opened.revisions.front().print_count, step.print_count);
    EXPECT_EQ(opened.revisions.front().content.scaler,
              base::ToUtf8(form().sheet().Text(SingleField::Text9)));
    previous = number;
  }
  EXPECT_EQ(opened_, static_cast<int>(std::size(steps)));
  EXPECT_EQ(answerer.texts.size(), 1) << "only the reminder: every bill was recorded";
}

TEST_F(BillRecordingTest, ABadBookIsToldAndTheWorkbookIsExportedAllTheSame) {
  testing::MessageAnswerer answerer;
  fs::create_directory(Book());  // a folder where the book belongs
  form().sheet().SetText(TallyColumn::Length, 0, u"4");
  form().sheet().SetText(SingleField::Text9, u"李四");
  Export();

  EXPECT_EQ(opened_, 1) << "the workbook is handed on for printing";
  ASSERT_EQ(answerer.texts.size(), 2);  // the reminder, then the book
  const QString told = answerer.texts[1];
  EXPECT_TRUE(told.contains(QString::fromUtf16(billbook::kBookFileName))) << told.toStdString();
  EXPECT_TRUE(told.contains(QStringLiteral("没有记入账本"))) << told.toStdString();
  EXPECT_EQ(ShownNumber(), QString());
  EXPECT_EQ(form().sheet().Text(SingleField::Text9), u"李四");
  EXPECT_TRUE(fs::is_directory(Book())) << "the obstacle is left as it was";

  // Once the folder is gone, the same tally is recorded as a bill of its own.
  fs::remove(Book());
  Export();
  EXPECT_EQ(answerer.texts.size(), 2);
  EXPECT_FALSE(form().current_bill().number().empty());
}

}  // namespace
}  // namespace ui
