#include "ui/spreadsheet_hand_off_prompt.h"

#include <QMessageBox>
#include <QPushButton>

namespace ui {

bool AskToPrintFromSpreadsheet(QWidget* parent, const QString& warning) {
  QMessageBox box(parent);
  box.setWindowTitle(QStringLiteral("Verdalon"));
  box.setIcon(QMessageBox::Warning);
  box.setText(warning);
  QPushButton* spreadsheet =
      box.addButton(QStringLiteral("用电子表格程序打印"), QMessageBox::AcceptRole);
  QPushButton* preview = box.addButton(QStringLiteral("仍在本程序预览"), QMessageBox::RejectRole);
  box.setDefaultButton(spreadsheet);
  box.setEscapeButton(preview);
  box.exec();
  return box.clickedButton() == spreadsheet;
}

}  // namespace ui
