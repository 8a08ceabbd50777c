#include "ui/book_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <utility>

#include "billbook/bill_book.h"
#include "billbook/book_failure.h"
#include "billbook/exact_amount.h"
#include "ui/bill_list_model.h"
#include "ui/bill_recording_step.h"
#include "ui/book_text.h"
#include "ui/message_box.h"
#include "ui/opened_bill_dialog.h"
#include "workbook/failure_descriptions.h"

namespace ui {

namespace {

// Keeps a filter box wide enough for `longest` (its hint, or a whole value) however little
// room the window's width leaves, as fonts and scaling differ between desktops.
void FitText(QLineEdit* edit, const QString& longest) {
  QStyleOptionFrame option;
  option.initFrom(edit);
  option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
  const QMargins margins = edit->textMargins();
  // QLineEdit keeps two pixels of its own on either side of the text.
  const QSize text(
      edit->fontMetrics().horizontalAdvance(longest) + margins.left() + margins.right() + 4,
      edit->fontMetrics().height());
  edit->setMinimumWidth(
      edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, edit).width());
}

int DayOf(const QDate& date) {
  return billbook::DayNumber(date.year(), date.month(), date.day());
}

QDate DateOf(int day) {
  return QDate(day / 10000, day / 100 % 100, day % 100);
}

billbook::LocalTime LocalTimeOf(const QDate& date) {
  billbook::LocalTime time;
  time.year = date.year();
  time.month = date.month();
  time.day = date.day();
  return time;
}

QString VolumeText(const billbook::Totals& totals) {
  return QString::fromStdString(billbook::ScaledText(totals.volume_e4, billbook::kVolumeDecimals));
}

QString AmountText(const billbook::Totals& totals) {
  return QString::fromStdString(billbook::ScaledText(totals.amount_fen, billbook::kFenDecimals));
}

// A summary's rows: what they are of, then bills, m³ and 元, right-aligned as numbers are.
void FillSummary(QTableWidget& table,
                 const std::vector<std::pair<QString, billbook::Totals>>& rows) {
  table.setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const auto& [what, totals] = rows[static_cast<std::size_t>(row)];
    const QString cells[] = {what, QString::number(totals.bills), VolumeText(totals),
                             AmountText(totals)};
    for (int column = 0; column < 4; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table.setItem(row, column, item);
    }
  }
}

QTableWidget* NewSummaryTable(const QString& first_heading, const QString& name) {
  auto* table = new QTableWidget(0, 4);
  table->setObjectName(name);
  table->setHorizontalHeaderLabels({first_heading, QStringLiteral("单数"),
                                    QStringLiteral("材积(m³)"), QStringLiteral("金额(元)")});
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table->verticalHeader()->hide();
  table->setWordWrap(false);
  const QFontMetrics metrics = table->fontMetrics();
  table->verticalHeader()->setDefaultSectionSize(metrics.height() + metrics.height() / 2);
  return table;
}

bool IsListMove(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
         key == Qt::Key_PageDown;
}

}  // namespace

BookWindow::BookWindow(std::filesystem::path book, BookActions actions, Clock clock,
                       QWidget* parent)
    : QDialog(parent),
      book_(std::move(book)),
      actions_(std::move(actions)),
      clock_(std::move(clock)) {
  setObjectName(QStringLiteral("BookWindow"));
  setWindowTitle(QStringLiteral("账本"));
  new QVBoxLayout(this);
  CreateFilters();
  CreateViews();
  Refresh();
  buyer_->setFocus(Qt::OtherFocusReason);
  // Wide enough for the list's six columns without a scroll bar, tall enough for a day.
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  resize(digit * 100, fontMetrics().height() * 36);
}

BookWindow::~BookWindow() = default;

void BookWindow::CreateFilters() {
  auto* filters = new QHBoxLayout;
  period_ = new QComboBox;
  period_->setObjectName(QStringLiteral("Period"));
  period_->addItems({QStringLiteral("今天"), QStringLiteral("本月"), QStringLiteral("上月"),
                     QStringLiteral("全部"), QStringLiteral("自选时段")});
  from_ = new QDateEdit;
  to_ = new QDateEdit;
  from_->setObjectName(QStringLiteral("From"));
  to_->setObjectName(QStringLiteral("To"));
  for (QDateEdit* edit : {from_, to_}) {
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
  }
  buyer_ = new QLineEdit;
  buyer_->setObjectName(QStringLiteral("BuyerFilter"));
  buyer_->setPlaceholderText(QStringLiteral("购货单位开头"));
  number_ = new QLineEdit;
  number_->setObjectName(QStringLiteral("NumberFilter"));
  number_->setPlaceholderText(QStringLiteral("单号开头"));
  FitText(buyer_, buyer_->placeholderText());
  FitText(number_, QStringLiteral("20261208-001"));

  auto label = [](const QString& text, QWidget* buddy) {
    auto* caption = new QLabel(text);
    caption->setBuddy(buddy);
    return caption;
  };
  filters->addWidget(label(QStringLiteral("日期(&T)"), period_));
  filters->addWidget(period_);
  filters->addWidget(from_);
  filters->addWidget(new QLabel(QStringLiteral("至")));
  filters->addWidget(to_);
  filters->addWidget(label(QStringLiteral("购货单位(&B)"), buyer_));
  filters->addWidget(buyer_, 2);
  filters->addWidget(label(QStringLiteral("单号(&N)"), number_));
  filters->addWidget(number_, 1);
  static_cast<QVBoxLayout*>(layout())->addLayout(filters);

  PeriodChosen(kToday);
  connect(period_, &QComboBox::currentIndexChanged, this, [this](int period) {
    PeriodChosen(period);
    Refresh();
  });
  for (QDateEdit* edit : {from_, to_}) {
    connect(edit, &QDateEdit::dateChanged, this, [this] {
      // A date typed or picked makes the period the clerk's own.
      if (period_->currentIndex() != kChosen) {
        const QSignalBlocker blocker(period_);
        period_->setCurrentIndex(kChosen);
        from_->setEnabled(true);
        to_->setEnabled(true);
      }
      Refresh();
    });
  }
  for (QLineEdit* edit : {buyer_, number_}) {
    connect(edit, &QLineEdit::textChanged, this, [this] { Refresh(); });
    edit->installEventFilter(this);
  }
}

void BookWindow::CreateViews() {
  views_ = new QTabWidget;
  model_ = new BillListModel(
      book_, [this](billbook::Failure failure) { ShowFailure(failure); }, this);
  list_ = new QTableView;
  list_->setObjectName(QStringLiteral("BillList"));
  list_->setModel(model_);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->setWordWrap(false);
  // Widths from the font, not from the rows: measuring rows would read what is not shown.
  const QFontMetrics metrics = list_->fontMetrics();
  const auto width_of = [&metrics](const char* widest) {
    return metrics.horizontalAdvance(QString::fromUtf8(widest)) + metrics.height();
  };
  list_->verticalHeader()->setDefaultSectionSize(metrics.height() + metrics.height() / 2);
  list_->setColumnWidth(BillListModel::kNumber, width_of("20261208-0000"));
  list_->setColumnWidth(BillListModel::kTime, width_of("2026-12-08 00:00:00"));
  list_->setColumnWidth(BillListModel::kVolume, width_of("0000.0000"));
  list_->setColumnWidth(BillListModel::kAmount, width_of("0000000.00"));
  list_->setColumnWidth(BillListModel::kState, width_of("已作废"));
  list_->horizontalHeader()->setSectionResizeMode(BillListModel::kBuyer, QHeaderView::Stretch);
  list_->installEventFilter(this);
  connect(list_, &QTableView::doubleClicked, this, [this] { OpenCurrent(); });
  by_buyer_ = NewSummaryTable(QStringLiteral("购货单位"), QStringLiteral("ByBuyer"));
  by_day_ = NewSummaryTable(QStringLiteral("日期"), QStringLiteral("ByDay"));
  views_->addTab(list_, QStringLiteral("单据"));
  views_->addTab(by_buyer_, QStringLiteral("按购货单位"));
  views_->addTab(by_day_, QStringLiteral("按日"));
  connect(views_, &QTabWidget::currentChanged, this, [this] { ShowSummary(); });

  totals_ = new QLabel;
  totals_->setObjectName(QStringLiteral("BookTotals"));
  totals_->setWordWrap(true);

  auto* buttons = new QDialogButtonBox;
  QPushButton* open = buttons->addButton(QStringLiteral("打开(&O)"), QDialogButtonBox::ActionRole);
  open->setObjectName(QStringLiteral("OpenBill"));
  connect(open, &QPushButton::clicked, this, [this] { OpenCurrent(); });
  if (actions_.export_shown) {
    QPushButton* export_shown =
        buttons->addButton(QStringLiteral("导出(&X)"), QDialogButtonBox::ActionRole);
    export_shown->setObjectName(QStringLiteral("ExportBook"));
    connect(export_shown, &QPushButton::clicked, this, [this] { actions_.export_shown(Query()); });
  }
  QPushButton* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  // Enter is the window's own (it opens the bill), never a button's.
  for (QPushButton* button : buttons->findChildren<QPushButton*>()) button->setAutoDefault(false);

  auto* box = static_cast<QVBoxLayout*>(layout());
  box->addWidget(views_, 1);
  box->addWidget(totals_);
  box->addWidget(buttons);
}

void BookWindow::PeriodChosen(int period) {
  const billbook::LocalTime now = LocalTimeOf(clock_());
  billbook::Period days;
  switch (period) {
    case kToday:
      days = billbook::Today(now);
      break;
    case kThisMonth:
      days = billbook::ThisMonth(now);
      break;
    case kLastMonth:
      days = billbook::LastMonth(now);
      break;
    default:
      // 全部 and 自选时段 keep the dates shown; 全部 does not read them.
      from_->setEnabled(period == kChosen);
      to_->setEnabled(period == kChosen);
      return;
  }
  const QSignalBlocker from_blocker(from_);
  const QSignalBlocker to_blocker(to_);
  from_->setDate(DateOf(days.first_day));
  to_->setDate(DateOf(days.last_day));
  from_->setEnabled(true);
  to_->setEnabled(true);
}

billbook::BillQuery BookWindow::Query() const {
  billbook::BillQuery query;
  query.period = period_->currentIndex() == kAll
                     ? billbook::AllDays()
                     : billbook::Between(DayOf(from_->date()), DayOf(to_->date()));
  query.buyer_prefix = buyer_->text().trimmed().toStdString();
  query.number_prefix = number_->text().trimmed().toStdString();
  return query;
}

void BookWindow::Refresh() {
  failed_ = false;
  const billbook::BillQuery query = Query();
  model_->Show(query);
  if (model_->rowCount() > 0) list_->selectRow(0);
  if (!failed_) {
    try {
      const billbook::Totals totals = billbook::BillBook(book_).Sum(query);
      totals_->setText(QStringLiteral("共 %1 张单据　材积 %2 m³　金额 %3 元（作废的单据不计）")
                           .arg(totals.bills)
                           .arg(VolumeText(totals), AmountText(totals)));
    } catch (const billbook::BookError& error) {
      ShowFailure(error.failure());
    }
  }
  ShowSummary();
}

void BookWindow::ShowSummary() {
  // Only the summary in sight is read: the list alone is what most clerks look at.
  if (failed_ || views_->currentWidget() == list_) return;
  const billbook::BillQuery query = Query();
  try {
    std::vector<std::pair<QString, billbook::Totals>> rows;
    if (views_->currentWidget() == by_buyer_) {
      for (const billbook::BuyerSummary& buyer : billbook::BillBook(book_).SummaryByBuyer(query)) {
        rows.emplace_back(BookText(buyer.buyer), buyer.totals);
      }
      FillSummary(*by_buyer_, rows);
    } else {
      for (const billbook::DaySummary& day : billbook::BillBook(book_).SummaryByDay(query)) {
        rows.emplace_back(DateOf(day.day).toString(QStringLiteral("yyyy-MM-dd")), day.totals);
      }
      FillSummary(*by_day_, rows);
    }
  } catch (const billbook::BookError& error) {
    ShowFailure(error.failure());
  }
}

void BookWindow::ShowFailure(billbook::Failure failure) {
  // Told in the window, not in a box: the clerk may be typing a filter, and a box at every
  // letter would stop the typing.
  failed_ = true;
  totals_->setText(QString::fromStdString(
      workbook::DescribeBookFailure(failure, book_, workbook::BookOperation::kReading)));
}

void BookWindow::OpenCurrent() {
  const std::string number = model_->NumberAt(list_->currentIndex().row());
  if (!number.empty()) Open(number);
}

void BookWindow::Open(const std::string& number) {
  billbook::OpenedBill bill;
  try {
    bill = billbook::BillBook(book_).Open(number);
  } catch (const billbook::BookError& error) {
    ShowMessage(this, QString::fromStdString(workbook::DescribeBookFailure(
                          error.failure(), book_, workbook::BookOperation::kReading)));
    return;
  }
  OpenedBillDialog dialog(bill, this);
  dialog.exec();
  switch (dialog.choice()) {
    case OpenedBillDialog::Choice::kNone:
      return;
    case OpenedBillDialog::Choice::kReprint:
      actions_.reprint(bill);
      break;
    case OpenedBillDialog::Choice::kCorrect:
      if (actions_.correct(bill)) accept();
      return;
    case OpenedBillDialog::Choice::kVoid:
      try {
        billbook::BillBook(book_).Void(number, dialog.void_reason().toStdString(), RecorderNow());
      } catch (const billbook::BookError& error) {
        ShowMessage(this, QString::fromStdString(workbook::DescribeBookFailure(
                              error.failure(), book_, workbook::BookOperation::kVoiding)));
      }
      break;
  }
  const int row = list_->currentIndex().row();
  Refresh();
  list_->selectRow(std::min(row, model_->rowCount() - 1));
}

bool BookWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    OpenCurrent();
    return true;
  }
  if (watched != list_ && IsListMove(key->key())) {
    // Up and Down from a filter move in the list, so typing and choosing need no Tab.
    QKeyEvent moved(QEvent::KeyPress, key->key(), key->modifiers());
    QCoreApplication::sendEvent(list_, &moved);
    return true;
  }
  if (watched == list_ && !key->text().isEmpty() && key->text().at(0).isPrint() &&
      !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    // Typing in the list goes on in the buyer filter.
    buyer_->setFocus(Qt::OtherFocusReason);
    buyer_->insert(key->text());
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace ui
