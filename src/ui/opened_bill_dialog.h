#pragma once

#include <QDialog>
#include <functional>

#include "billbook/bill.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace ui {

// One bill opened from the book: its latest revision, and every earlier one to look at.
// 重印 and 更正 act on the latest revision; 作废 asks for a reason. What they do is the
// caller's: the dialog only shows the bill and says which was chosen.
class OpenedBillDialog final : public QDialog {
 public:
  enum class Choice { kNone, kReprint, kCorrect, kVoid };

  OpenedBillDialog(const billbook::OpenedBill& bill, QWidget* parent = nullptr);

  Choice choice() const { return choice_; }
  // The reason typed for 作废.
  const QString& void_reason() const { return void_reason_; }

 private:
  void ShowRevision(int index);
  void Choose(Choice choice);
  void AskVoidReason();

  const billbook::OpenedBill& bill_;
  QLabel* state_ = nullptr;
  QComboBox* revisions_ = nullptr;
  QLabel* parties_ = nullptr;
  QTableWidget* lines_ = nullptr;
  QLabel* totals_ = nullptr;
  Choice choice_ = Choice::kNone;
  QString void_reason_;
};

}  // namespace ui
