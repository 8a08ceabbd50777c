#include "ui/opened_bill_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/book_text.h"
#include "ui/message_box.h"

namespace ui {

namespace {

QString StateText(const billbook::OpenedBill& bill) {
  if (bill.voided) {
    return QStringLiteral("已作废（%1，%2）")
        .arg(BookText(bill.voiding.reason), BookText(bill.voiding.time));
  }
  if (bill.revisions.size() > 1) {
    return QStringLiteral("已更正，共 %1 次修订").arg(bill.revisions.size());
  }
  return QStringLiteral("正常");
}

QString RevisionText(const billbook::Revision& revision, bool latest) {
  return QStringLiteral("第 %1 次%2　%3　%4 %5　打印 %6 次")
      .arg(revision.number)
      .arg(latest ? QStringLiteral("（最新）") : QString())
      .arg(BookText(revision.time), BookText(revision.pc_name), BookText(revision.user))
      .arg(revision.print_count);
}

}  // namespace

OpenedBillDialog::OpenedBillDialog(const billbook::OpenedBill& bill, QWidget* parent)
    : QDialog(parent), bill_(bill) {
  setObjectName(QStringLiteral("OpenedBill"));
  setWindowTitle(QStringLiteral("单据 %1").arg(BookText(bill.number)));
  auto* layout = new QVBoxLayout(this);

  state_ = new QLabel(QStringLiteral("单号 %1　　%2").arg(BookText(bill.number), StateText(bill)));
  state_->setObjectName(QStringLiteral("BillState"));
  layout->addWidget(state_);

  revisions_ = new QComboBox;
  revisions_->setObjectName(QStringLiteral("Revisions"));
  for (std::size_t i = 0; i < bill.revisions.size(); ++i) {
    revisions_->addItem(RevisionText(bill.revisions[i], i == 0));
  }
  layout->addWidget(revisions_);

  parties_ = new QLabel;
  parties_->setObjectName(QStringLiteral("BillParties"));
  layout->addWidget(parties_);

  lines_ = new QTableWidget(billbook::kLineCount, billbook::kLineFields);
  lines_->setObjectName(QStringLiteral("BillLines"));
  lines_->setHorizontalHeaderLabels({QStringLiteral("长"), QStringLiteral("宽"),
                                     QStringLiteral("厚"), QStringLiteral("捆"),
                                     QStringLiteral("件/捆"), QStringLiteral("材积"),
                                     QStringLiteral("单价"), QStringLiteral("金额")});
  lines_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lines_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  lines_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  lines_->setMinimumWidth(lines_->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 80);
  layout->addWidget(lines_);

  totals_ = new QLabel;
  totals_->setObjectName(QStringLiteral("BillTotals"));
  layout->addWidget(totals_);

  auto* buttons = new QDialogButtonBox;
  QPushButton* reprint =
      buttons->addButton(QStringLiteral("重印(&R)"), QDialogButtonBox::ActionRole);
  QPushButton* correct =
      buttons->addButton(QStringLiteral("更正(&E)"), QDialogButtonBox::ActionRole);
  QPushButton* voiding =
      buttons->addButton(QStringLiteral("作废(&D)"), QDialogButtonBox::ActionRole);
  QPushButton* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
  reprint->setObjectName(QStringLiteral("Reprint"));
  correct->setObjectName(QStringLiteral("Correct"));
  voiding->setObjectName(QStringLiteral("Void"));
  // A voided bill is kept to be seen, not printed or changed any more.
  for (QPushButton* button : {reprint, correct, voiding}) button->setEnabled(!bill.voided);
  reprint->setDefault(!bill.voided);
  close->setDefault(bill.voided);
  layout->addWidget(buttons);

  connect(reprint, &QPushButton::clicked, this, [this] { Choose(Choice::kReprint); });
  connect(correct, &QPushButton::clicked, this, [this] { Choose(Choice::kCorrect); });
  connect(voiding, &QPushButton::clicked, this, [this] { AskVoidReason(); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(revisions_, &QComboBox::currentIndexChanged, this,
          [this](int index) { ShowRevision(index); });
  ShowRevision(0);
}

void OpenedBillDialog::ShowRevision(int index) {
  if (index < 0 || index >= static_cast<int>(bill_.revisions.size())) return;
  const billbook::BillContent& content = bill_.revisions[static_cast<std::size_t>(index)].content;
  parties_->setText(
      QStringLiteral("购货单位：%1　　售货单位：%2　　检尺员：%3")
          .arg(BookText(content.buyer), BookText(content.seller), BookText(content.scaler)));
  for (int row = 0; row < billbook::kLineCount; ++row) {
    for (int column = 0; column < billbook::kLineFields; ++column) {
      const std::string& text =
          content.lines[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
      auto* item = new QTableWidgetItem(BookText(text));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      lines_->setItem(row, column, item);
    }
  }
  totals_->setText(QStringLiteral("合计：材积 %1 m³　金额 %2 元")
                       .arg(BookText(content.total_volume), BookText(content.total_amount)));
}

void OpenedBillDialog::Choose(Choice choice) {
  choice_ = choice;
  accept();
}

void OpenedBillDialog::AskVoidReason() {
  QInputDialog ask(this);
  ask.setWindowTitle(QStringLiteral("作废单据 %1").arg(BookText(bill_.number)));
  ask.setLabelText(QStringLiteral("作废原因（单据留在账本中，不再计入合计）："));
  ask.setOkButtonText(QStringLiteral("作废"));
  ask.setCancelButtonText(QStringLiteral("取消"));
  ask.setObjectName(QStringLiteral("VoidReason"));
  // A voiding without a reason would tell nobody later why the bill left the totals.
  for (;;) {
    if (ask.exec() != QDialog::Accepted) return;
    const QString reason = ask.textValue().trimmed();
    if (!reason.isEmpty()) {
      void_reason_ = reason;
      Choose(Choice::kVoid);
      return;
    }
    ShowMessage(this, QStringLiteral("请写明作废原因。"));
  }
}

}  // namespace ui
