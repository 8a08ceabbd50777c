#pragma once

#include <QDate>
#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>

#include "billbook/bill.h"
#include "billbook/bill_query.h"
#include "billbook/book_failure.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableView;
class QTableWidget;
class QTabWidget;

namespace ui {

class BillListModel;

// What the book's window hands back to the program: a bill to reprint as an export does, or
// to load into the main window for 更正 (false when the clerk thought better of it there).
struct BookActions {
  std::function<void(const billbook::OpenedBill&)> reprint;
  std::function<bool(const billbook::OpenedBill&)> correct;
  // 导出 of what the window shows; empty when the program has no book export.
  std::function<void(const billbook::BillQuery&)> export_shown;
};

// The bill book (账本): the bills of a period, newest first, found by the beginning of a
// buyer's name or of a number, their totals, and the same per buyer and per day. Made for
// the keyboard: the focus starts in the buyer filter, typing filters, Up and Down move in
// the list, Enter opens the bill, Esc closes the window.
class BookWindow final : public QDialog {
 public:
  using Clock = std::function<QDate()>;

  BookWindow(std::filesystem::path book, BookActions actions, Clock clock,
             QWidget* parent = nullptr);
  ~BookWindow() override;

  // What the filters ask for now.
  billbook::BillQuery Query() const;
  // Reads the list, its totals and the summary shown from the book again.
  void Refresh();
  // Opens the bill at the list's current row.
  void OpenCurrent();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum Period { kToday, kThisMonth, kLastMonth, kAll, kChosen };

  void CreateFilters();
  void CreateViews();
  void PeriodChosen(int period);
  void ShowSummary();
  void ShowFailure(billbook::Failure failure);
  void Open(const std::string& number);

  std::filesystem::path book_;
  BookActions actions_;
  Clock clock_;
  QComboBox* period_ = nullptr;
  QDateEdit* from_ = nullptr;
  QDateEdit* to_ = nullptr;
  QLineEdit* buyer_ = nullptr;
  QLineEdit* number_ = nullptr;
  QTabWidget* views_ = nullptr;
  QTableView* list_ = nullptr;
  BillListModel* model_ = nullptr;
  QTableWidget* by_buyer_ = nullptr;
  QTableWidget* by_day_ = nullptr;
  QLabel* totals_ = nullptr;
  bool failed_ = false;  // in this refresh: told once, in the totals line
};

}  // namespace ui
