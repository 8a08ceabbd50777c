#include "ui/book_command.h"

#include <QDate>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

#include "ui/book_window.h"
#include "ui/desktop_opener.h"
#include "ui/failure_report.h"
#include "ui/form1.h"
#include "ui/form_export_source.h"
#include "ui/message_box.h"
#include "ui/workbook_binding.h"
#include "workbook/automation_error.h"
#include "workbook/bill_recording.h"
#include "workbook/book_export.h"

namespace ui {

BookCommand::BookCommand(Form1& form, WorkbookBinding& binding,
                         std::filesystem::path program_directory)
    : form_(form),
      binding_(binding),
      program_directory_(std::move(program_directory)),
      shortcut_(QKeySequence(QString::fromLatin1(kBookShortcut)), &form) {
  QObject::connect(&shortcut_, &QShortcut::activated, &form, [this] { Run(); });
  form_.SetBookHandler([this] { Run(); });
}

void BookCommand::Run() {
  BookActions actions;
  actions.reprint = [this](const billbook::OpenedBill& bill) {
    binding_.Reprint(bill.number, bill.revisions.front().content);
  };
  actions.correct = [this](const billbook::OpenedBill& bill) { return Correct(bill); };
  const std::filesystem::path book = workbook::BookPath(program_directory_);
  QWidget* shown = &form_;
  actions.export_shown = [this, &book, &shown](const billbook::BillQuery& query) {
    ReportFailure(shown, [&] {
      const std::filesystem::path written =
          workbook::ExportBook(billbook::BillBook(book), query, book.parent_path(),
                               workbook::BookExportTemplatePath(program_directory_));
      try {
        OpenWithDesktop(written);
      } catch (const workbook::AutomationError&) {
        // The workbook is written all the same: say where, so the owner can open it later.
        ShowMessage(shown, QStringLiteral("账本已导出到“%1”。这台电脑上没有能打开 .xls 文件的程序，"
                                          "请用 Excel 或 WPS 打开它。")
                               .arg(QString::fromStdU16String(written.u16string())));
      }
    });
  };
  BookWindow window(
      book, std::move(actions), [] { return QDate::currentDate(); }, &form_);
  shown = &window;
  window.exec();
}

bool BookCommand::Correct(const billbook::OpenedBill& bill) {
  const FormExportSource shown(form_);
  if (form_.current_bill().HoldsUnrecorded(workbook::BillContentOf(shown))) {
    QMessageBox ask(QMessageBox::NoIcon, QStringLiteral("Verdalon"),
                    QStringLiteral("窗口中的码单还有没导出的内容，打开单据 %1 后这些内容会被替换。"
                                   "仍要打开吗？")
                        .arg(QString::fromStdString(bill.number)),
                    QMessageBox::NoButton, &form_);
    ask.setObjectName(QStringLiteral("ReplaceTallyQuestion"));
    QPushButton* replace = ask.addButton(QStringLiteral("替换"), QMessageBox::AcceptRole);
    QPushButton* keep = ask.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    ask.setDefaultButton(keep);
    ask.exec();
    if (ask.clickedButton() != replace) return false;
  }
  form_.LoadBill(bill.number, bill.revisions.front().content);
  return true;
}

}  // namespace ui
