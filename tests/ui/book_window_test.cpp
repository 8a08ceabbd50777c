// The book's window over a real book: what its filters find and sum, and the clerk's whole
// round with the real window and workbook: export, find the bill again, reprint, correct.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDialog>
#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <deque>
#include <filesystem>
#include <functional>

#include "base/text_encoding.h"
#include "billbook/bill_book.h"
#include "billbook/daily_backup.h"
#include "bound_window_fixture.h"
#include "ui/book_command.h"
#include "ui/book_window.h"
#include "ui/workbook_binding.h"
#include "workbook/bill_recording.h"
#include "workbook/book_export.h"
#include "workbook/embedded_application.h"
#include "workbook/workbook_path.h"
#include "xls/xls_document.h"

namespace ui {
namespace {

namespace fs = std::filesystem;
using tally::SingleField;
using tally::TallyColumn;

// Runs each step on the modal window named for it, in turn, as a clerk would answer them.
class ModalScript {
 public:
  using Step = std::function<void(QWidget&)>;
  void Then(const char* window, Step step) { steps_.push_back({window, std::move(step)}); }
  bool Done() const { return steps_.empty(); }

  ModalScript() {
    clock_.start();
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      // A step that never comes fails the test instead of leaving its window open for ever.
      if (clock_.elapsed() > 20000 && modal != nullptr) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        return;
      }
      if (steps_.empty() || modal == nullptr ||
          modal->objectName() != QLatin1String(steps_.front().window)) {
        return;
      }
      Step step = std::move(steps_.front().step);
      steps_.pop_front();
      // Run after this tick: a step may start a modal loop of its own, and Qt holds back a
      // timer's next ticks while its handler is still running.
      QTimer::singleShot(0, modal, [modal, step = std::move(step)] { step(*modal); });
    });
    timer_.start(5);
  }

 private:
  struct Pending {
    const char* window;
    Step step;
  };
  std::deque<Pending> steps_;
  QTimer timer_;
  QElapsedTimer clock_;
};

template <typename T>
T* Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

billbook::BillContent Bill(const char* buyer, const char* volume, const char* amount) {
  billbook::BillContent content;
  content.buyer = buyer;
  content.seller = "林场";
  content.lines[0] = {"4", "200", "50", "1", "10", volume, "1000", amount};
  content.total_volume = volume;
  content.total_amount = amount;
  return content;
}

billbook::Recorder At(int year, int month, int day, int hour) {
  billbook::Recorder recorder;
  recorder.time = {year, month, day, hour, 0, 0};
  recorder.pc_name = "PC1";
  recorder.user = "clerk";
  return recorder;
}

class BookWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    billbook::BillBook book(book_);
    book.Record("", Bill("张记木业", "1.0000", "1000.00"), At(2026, 12, 8, 10));
    book.Record("", Bill("张三", "0.5000", "500.50"), At(2026, 12, 8, 11));
    voided_ = book.Record("", Bill("李氏", "0.2500", "250.25"), At(2026, 12, 8, 12)).number;
    book.Void(voided_, "写错了", At(2026, 12, 8, 13));
    book.Record("", Bill("张记木业", "2.0000", "2000.00"), At(2026, 12, 1, 9));
    book.Record("", Bill("王五", "3.0000", "3000.00"), At(2026, 11, 15, 9));
    book.Record("", Bill("张记木业", "4.0000", "4000.00"), At(2025, 6, 1, 9));
  }

  QTemporaryDir folder_;
  fs::path book_ = fs::path(folder_.path().toStdU16String()) / billbook::kBookFileName;
  std::string voided_;
};

TEST_F(BookWindowTest, FiltersListAndSumWhatTheyFind) {
  BookWindow window(book_, {}, [] { return QDate(2026, 12, 8); });
  auto* period = Child<QComboBox>(window, "Period");
  auto* list = Child<QTableView>(window, "BillList");
  const struct {
    int period;  // 今天, 本月, 上月, 全部, 自选时段
    QDate from, to;
    const char* buyer;
    const char* number;
    int rows;
    const char* totals;
  } cases[] = {
      {0, {}, {}, "", "", 3, "共 2 张单据　材积 1.5000 m³　金额 1500.50 元"},
      {0, {}, {}, "张", "", 2, "共 2 张单据　材积 1.5000 m³　金额 1500.50 元"},
      {1, {}, {}, "张记", "", 2, "共 2 张单据　材积 3.0000 m³　金额 3000.00 元"},
      {2, {}, {}, "", "", 1, "共 1 张单据　材积 3.0000 m³　金额 3000.00 元"},
      {3, {}, {}, "张记", "", 3, "共 3 张单据　材积 7.0000 m³　金额 7000.00 元"},
      {3, {}, {}, "", "20261201", 1, "共 1 张单据　材积 2.0000 m³　金额 2000.00 元"},
      {3, {}, {}, "无此人", "", 0, "共 0 张单据　材积 0.0000 m³　金额 0.00 元"},
      {4, {2025, 1, 1}, {2025, 12, 31}, "", "", 1, "共 1 张单据　材积 4.0000 m³　金额 4000.00 元"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "period " << c.period << " buyer " << c.buyer);
    period->setCurrentIndex(c.period);
    if (c.from.isValid()) {
      Child<QDateEdit>(window, "From")->setDate(c.from);
      Child<QDateEdit>(window, "To")->setDate(c.to);
      EXPECT_EQ(period->currentIndex(), 4) << "typed dates are a period of the clerk's own";
    }
    Child<QLineEdit>(window, "BuyerFilter")->setText(QString::fromUtf8(c.buyer));
    Child<QLineEdit>(window, "NumberFilter")->setText(QString::fromUtf8(c.number));
    EXPECT_EQ(list->model()->rowCount(), c.rows);
    EXPECT_TRUE(Child<QLabel>(window, "BookTotals")->text().startsWith(QString::fromUtf8(c.totals)))
        << Child<QLabel>(window, "BookTotals")->text().toStdString();
  }

  // Today's list, newest first: the voided bill stays in it, struck out and marked.
  period->setCurrentIndex(0);
  Child<QLineEdit>(window, "BuyerFilter")->clear();
  Child<QLineEdit>(window, "NumberFilter")->clear();
  const QAbstractItemModel& model = *list->model();
  EXPECT_EQ(model.index(0, 0).data().toString().toStdString(), voided_);
  EXPECT_EQ(model.index(0, 5).data().toString(), QStringLiteral("已作废"));
  EXPECT_TRUE(model.index(0, 0).data(Qt::FontRole).value<QFont>().strikeOut());
  EXPECT_FALSE(model.index(1, 0).data(Qt::FontRole).value<QFont>().strikeOut());

  // Every bill per buyer, by name, the voided one left out.
  period->setCurrentIndex(3);
  auto* by_buyer = Child<QTableWidget>(window, "ByBuyer");
  window.findChild<QTabWidget*>()->setCurrentWidget(by_buyer);
  QStringList rows;
  for (int row = 0; row < by_buyer->rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < 4; ++column) cells << by_buyer->item(row, column)->text();
    rows << cells.join(' ');
  }
  EXPECT_EQ(rows, QStringList({"张三 1 0.5000 500.50", "张记木业 3 7.0000 7000.00",
                               "王五 1 3.0000 3000.00"}));
}

// Run at 100, 125 and 150 %: the window's layout gives every caption and heading its room.
TEST_F(BookWindowTest, EveryCaptionAndHeadingShowsWhole) {
  BookWindow window(book_, {}, [] { return QDate(2026, 12, 8); });
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (!control->isVisible()) continue;
    if (qobject_cast<QPushButton*>(control) || qobject_cast<QComboBox*>(control) ||
        (qobject_cast<QLabel*>(control) && !qobject_cast<QLabel*>(control)->wordWrap())) {
      EXPECT_GE(control->width(), control->minimumSizeHint().width())
          << control->objectName().toStdString() << " "
          << control->property("text").toString().toStdString();
    }
  }
  // The filters' hints, and a whole bill number, show unclipped.
  for (auto* filter :
       {Child<QLineEdit>(window, "BuyerFilter"), Child<QLineEdit>(window, "NumberFilter")}) {
    const int frame = filter->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) * 2 + 4;
    for (const QString& text : {filter->placeholderText(), QStringLiteral("20261208-001")}) {
      EXPECT_GE(filter->width() - frame, filter->fontMetrics().horizontalAdvance(text))
          << filter->objectName().toStdString() << " " << text.toStdString();
    }
  }
  auto* list = Child<QTableView>(window, "BillList");
  for (int column = 0; column < list->model()->columnCount(); ++column) {
    const QString heading = list->model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_GE(list->columnWidth(column), list->fontMetrics().horizontalAdvance(heading))
        << heading.toStdString();
  }
}

// The clerk's round: two bills exported, the second found by its buyer from the keyboard,
// reprinted, then corrected in the window and exported as its second revision.
class BookRoundTest : public testing::BoundWindowTest {
 protected:
  void BeforeShow(Form1& window) override {
    BoundWindowTest::BeforeShow(window);
    book_command_ = std::make_unique<BookCommand>(window, *binding_, program_dir_);
  }
  void TypeBill(const char16_t* buyer, const char16_t* scaler) {
    form().sheet().SetText(TallyColumn::Length, 0, u"4");
    form().sheet().SetText(TallyColumn::Width, 0, u"200");
    form().Combo1()->setEditText(QString::fromUtf16(buyer));
    form().sheet().SetText(SingleField::Text9, scaler);
    form().OnTimer1Tick();
    form().OnTimer1Tick();
  }
  // A modal window comes up active on a desktop; on the offscreen platform it is made so.
  static void Activate(QWidget& window) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  std::unique_ptr<BookCommand> book_command_;
};

TEST_F(BookRoundTest, FindReprintAndCorrectABillFromTheKeyboard) {
  testing::MessageAnswerer answerer;
  TypeBill(u"李氏", u"王师傅");
  Export();
  const std::string first = form().current_bill().number();
  QTest::mouseClick(Control("Command1"), Qt::LeftButton);
  TypeBill(u"张记木业", u"李师傅");
  Export();
  const std::string second = form().current_bill().number();
  ASSERT_NE(first, second);
  QTest::mouseClick(Control("Command1"), Qt::LeftButton);
  form().OnTimer1Tick();  // the computed boxes empty at the passes after 清除数据
  form().OnTimer1Tick();
  Settle();
  ASSERT_EQ(opened_, 2);

  ModalScript script;
  int listed = -1;
  QString focus_at_start;
  const auto find_and_open = [this, &listed, &focus_at_start](QWidget& window) {
    Activate(window);
    focus_at_start = FocusName();
    Type(QStringLiteral("张"));
    listed = Child<QTableView>(window, "BillList")->model()->rowCount();
    Press(Qt::Key_Return);
  };
  const auto click = [](const char* button) {
    return [button](QWidget& dialog) {
      QTest::mouseClick(Child<QPushButton>(dialog, button), Qt::LeftButton);
    };
  };
  script.Then("BookWindow", find_and_open);
  script.Then("OpenedBill", click("Reprint"));
  script.Then("BookWindow", [this](QWidget& window) {
    Activate(window);
    Press(Qt::Key_Return);
  });
  script.Then("OpenedBill", click("Correct"));
  Activate(form());
  Focus(Cell("Text1", 0));
  Press(Qt::Key_B, Qt::ControlModifier);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(focus_at_start, QStringLiteral("BuyerFilter"));
  EXPECT_EQ(listed, 1) << "张 finds 张记木业 alone";

  const billbook::BillBook book(workbook::BookPath(program_dir_));
  EXPECT_EQ(opened_, 3) << "the reprint is handed on as an export is";
  EXPECT_EQ(book.Open(second).revisions.front().print_count, 2);
  EXPECT_EQ(form().current_bill().number(), second) << "更正 loads the bill into the window";
  EXPECT_EQ(form().sheet().Text(SingleField::Text9), u"李师傅");
  EXPECT_EQ(form().BuyerText(), u"张记木业");
  EXPECT_EQ(qobject_cast<QLabel*>(Control("LabelBill"))->text(),
            QStringLiteral("单号 %1").arg(QString::fromStdString(second)));

  form().sheet().SetText(SingleField::Text9, u"赵师傅");
  Export();
  const billbook::OpenedBill corrected = book.Open(second);
  ASSERT_EQ(corrected.revisions.size(), 2u) << "a changed export is a revision of the bill";
  EXPECT_EQ(corrected.revisions.front().content.scaler, "赵师傅");
  EXPECT_EQ(book.List({billbook::AllDays(), "", ""}, 0, 10).size(), 2u);
  // The first recording of the day started the book's copy of today, made between events.
  const QDate today = QDate::currentDate();
  const fs::path copy =
      billbook::BackupCopyPath(workbook::BookPath(program_dir_),
                               billbook::DayNumber(today.year(), today.month(), today.day()));
  EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(copy); }, 5000)) << copy;
  EXPECT_EQ(answerer.texts.size(), 1)
      << "only the reminder: " << answerer.texts.join('|').toStdString();
}

// Stands in for the desktop's spreadsheet program: keeps the files it is asked to open.
class FileOpenings : public QObject {
  Q_OBJECT

 public:
  FileOpenings() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
  ~FileOpenings() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
  Q_INVOKABLE void Open(const QUrl& url) { files.push_back(url.toLocalFile()); }

  QStringList files;
};

// 导出 (Alt+X) writes the bills the window lists beside the book and opens that workbook.
TEST_F(BookRoundTest, ExportWritesWhatTheWindowListsAndOpensIt) {
  testing::MessageAnswerer answerer;
  fs::copy_file(fs::path(VERDALON_TEMPLATE).parent_path() / workbook::kBookExportTemplateFileName,
                workbook::BookExportTemplatePath(program_dir_));
  TypeBill(u"李氏", u"王师傅");
  Export();
  QTest::mouseClick(Control("Command1"), Qt::LeftButton);
  TypeBill(u"张记木业", u"李师傅");
  Export();

  FileOpenings desktop;
  ModalScript script;
  script.Then("BookWindow", [this, &desktop](QWidget& window) {
    Activate(window);
    Type(QStringLiteral("张"));
    // A mnemonic clicks its button as the mouse does, a moment later.
    Press(Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&desktop] { return !desktop.files.empty(); }, 5000));
    Press(Qt::Key_Escape);
  });
  Activate(form());
  Press(Qt::Key_B, Qt::ControlModifier);
  EXPECT_TRUE(script.Done());

  const QDate today = QDate::currentDate();
  const int day = billbook::DayNumber(today.year(), today.month(), today.day());
  const fs::path written = program_dir_ / workbook::BookExportFileName(day, day);
  ASSERT_EQ(desktop.files.size(), 1);
  EXPECT_TRUE(fs::equivalent(fs::path(desktop.files.front().toStdU16String()), written))
      << desktop.files.front().toStdString();
  const auto exported = xls::XlsDocument::Open(written);
  const std::size_t bills = exported->WorksheetIndex(workbook::kBillsSheet);
  const auto column_of_buyer = [&] {
    for (int column = 1; column <= 12; ++column) {
      if (exported->Cell(bills, 1, column) == u"购货单位") return column;
    }
    return 0;
  }();
  ASSERT_NE(column_of_buyer, 0);
  EXPECT_EQ(exported->Cell(bills, 2, column_of_buyer), u"张记木业");
  EXPECT_EQ(exported->Cell(bills, 3, column_of_buyer), u"") << "only what the filter shows";
  EXPECT_EQ(answerer.texts.size(), 1) << answerer.texts.join('|').toStdString();
}

}  // namespace
}  // namespace ui

#include "book_window_test.moc"
