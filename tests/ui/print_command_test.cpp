// Ctrl+P in the window: the tally is written and saved as the export writes it, and
// Verdalon's own print preview of sheet 码单 comes up, with no reminder and no other program.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>

#include "billbook/bill_book.h"
#include "ui/print_command.h"
#include "window_fixture.h"
#include "workbook/bill_recording.h"
#include "workbook/workbook_path.h"
#include "xls/xls_document.h"

namespace ui {
namespace {

namespace fs = std::filesystem;
using tally::TallyColumn;

// Closes print previews and message boxes as they come up, noting what they said.
class ModalCloser {
 public:
  ModalCloser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
        previews.push_back(preview->windowTitle());
        preview->reject();
      } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages.push_back(testing::MessageText(*box));
        box->accept();
      }
    });
    timer_.start(5);
  }
  QStringList previews;
  QStringList messages;

 private:
  QTimer timer_;
};

class PrintCommandTest : public testing::WindowTest {
 protected:
  void BeforeShow(Form1& window) override {
    ASSERT_TRUE(folder_.isValid());
    program_dir_ = fs::path(folder_.path().toStdU16String());
    fs::copy_file(VERDALON_TEMPLATE, workbook::WorkbookPath(program_dir_));
    print_ = std::make_unique<PrintCommand>(window, program_dir_);
  }

  QTemporaryDir folder_;
  fs::path program_dir_;
  std::unique_ptr<PrintCommand> print_;
};

TEST_F(PrintCommandTest, CtrlPSavesTheTallyAndShowsThePreview) {
  ModalCloser closer;
  Focus(Cell("Text1", 0));
  for (const char* value : {"4", "200", "50", "1", "10", "1850"}) {
    Type(QString::fromLatin1(value));
    Press(Qt::Key_Return);
  }
  form().OnTimer1Tick();
  form().OnTimer1Tick();
  ASSERT_EQ(form().sheet().Text(TallyColumn::Amount, 0), u"740.00");

  Press(Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(closer.previews, QStringList{QStringLiteral("打印预览 - 码单")});
  EXPECT_TRUE(closer.messages.isEmpty()) << "no reminder: no spreadsheet program holds the file";

  const auto saved = xls::XlsDocument::Open(workbook::WorkbookPath(program_dir_));
  const std::size_t sheet = saved->WorksheetIndex(u"码单");
  EXPECT_EQ(saved->Cell(sheet, 5, 1), u"4");
  EXPECT_EQ(saved->Cell(sheet, 5, 8), u"740");                        // stored as a number
  EXPECT_EQ(form().sheet().Text(TallyColumn::Amount, 0), u"740.00");  // the window unchanged

  // Printed is recorded: the bill is in the book beside the workbook, its amount as shown.
  const std::string number = form().current_bill().number();
  ASSERT_FALSE(number.empty());
  const billbook::OpenedBill bill =
      billbook::BillBook(workbook::BookPath(program_dir_)).Open(number);
  ASSERT_EQ(bill.revisions.size(), 1u);
  EXPECT_EQ(bill.revisions.front().content.lines[0][7], "740.00");
}

TEST_F(PrintCommandTest, AWorkbookThatCannotBeReadIsToldAndTheTallyStays) {
  ModalCloser closer;
  fs::remove(workbook::WorkbookPath(program_dir_));
  form().sheet().SetText(TallyColumn::Length, 0, u"4");
  Press(Qt::Key_P, Qt::ControlModifier);
  EXPECT_TRUE(closer.previews.isEmpty());
  ASSERT_EQ(closer.messages.size(), 1);
  EXPECT_TRUE(closer.messages[0].contains(QStringLiteral("锯材账单.xls")));
  EXPECT_EQ(form().sheet().Text(TallyColumn::Length, 0), u"4");
}

}  // namespace
}  // namespace ui
