#include "printing/print_preview.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QToolBar>
#include <memory>

#include "printing/sheet_printer.h"

namespace printing {

namespace {

// Adds "另存为 PDF" to the preview's tool bar: a PDF drawn by the same renderer, for
// desktops without a printer or for sending the tally on.
void AddSaveAsPdf(QPrintPreviewDialog* dialog,
                  std::shared_ptr<const xls::layout::SheetLayout> layout) {
  auto* toolbar = dialog->findChild<QToolBar*>();
  if (toolbar == nullptr) return;
  toolbar->addSeparator();
  QAction* save = toolbar->addAction(QStringLiteral("另存为 PDF"));
  save->setObjectName(QStringLiteral("saveAsPdf"));
  QObject::connect(save, &QAction::triggered, dialog, [dialog, layout] {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = folder + QStringLiteral("/") +
                              QString::fromStdU16String(layout->sheet_name) +
                              QStringLiteral(".pdf");
    const QString path = QFileDialog::getSaveFileName(
        dialog, QStringLiteral("另存为 PDF"), suggested, QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty()) return;
    if (WriteSheetPdf(*layout, path)) return;
    // Told as the program's other messages are: no icon, its caption, one button.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Verdalon"), PdfSaveFailureText(path),
                    QMessageBox::Ok, dialog);
    box.exec();
  });
}

}  // namespace

QString PdfSaveFailureText(const QString& path) {
  const QString file = QStringLiteral("“") + QDir::toNativeSeparators(path) + QStringLiteral("”");
  const QFileInfo info(path);
  if (!info.absoluteDir().exists()) {
    return QStringLiteral("无法保存文件") + file +
           QStringLiteral("：它所在的文件夹不存在。请另选保存位置后再试。");
  }
  if (info.isDir()) {
    return QStringLiteral("无法保存文件") + file +
           QStringLiteral("：这是一个文件夹。请另选文件名后再试。");
  }
  return QStringLiteral("无法保存文件") + file +
         QStringLiteral(
             "：没有写入权限（文件或所在文件夹是只读的），或文件正被其他程序使用。"
             "请关闭打开它的程序或另选保存位置后再试。");
}

QPrintPreviewDialog* CreatePrintPreview(QWidget* parent, const xls::layout::SheetLayout& layout) {
  // The dialog may outlive the caller's layout (it is deleted on close): it keeps a copy.
  auto kept = std::make_shared<const xls::layout::SheetLayout>(layout);
  auto* printer = new QPrinter(QPrinter::HighResolution);
  auto* dialog = new QPrintPreviewDialog(printer, parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(dialog, &QObject::destroyed, [printer] { delete printer; });
  dialog->setWindowTitle(QStringLiteral("打印预览 - ") +
                         QString::fromStdU16String(kept->sheet_name));
  printer->setDocName(QString::fromStdU16String(kept->sheet_name));
  printer->setPageLayout(PaperLayout(*kept, PlanFor(*kept)));
  QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                   [kept](QPrinter* target) { PrintSheet(*kept, *target); });
  AddSaveAsPdf(dialog, kept);
  dialog->resize(900, 700);
  return dialog;
}

void ShowPrintPreview(QWidget* parent, const xls::layout::SheetLayout& layout) {
  CreatePrintPreview(parent, layout)->exec();
}

}  // namespace printing
