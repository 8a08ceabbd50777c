#pragma once

#include <QAbstractTableModel>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "billbook/bill.h"
#include "billbook/bill_query.h"
#include "billbook/book_failure.h"

namespace ui {

// The bills a query finds, newest first, as the book's window lists them. Only the rows the
// view has come to are read, a page at a time, so a book of ten years costs no more memory
// than the screen it fills.
class BillListModel final : public QAbstractTableModel {
 public:
  enum Column { kNumber, kTime, kBuyer, kVolume, kAmount, kState, kColumns };
  static constexpr int kPageRows = 100;

  // `failed` hears of a book that could not be read; the list then stays empty.
  BillListModel(std::filesystem::path book, std::function<void(billbook::Failure)> failed,
                QObject* parent = nullptr);

  // Reads the first page of what `query` finds.
  void Show(const billbook::BillQuery& query);

  // The bill of `row`, or empty for a row outside the list.
  std::string NumberAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  std::vector<billbook::BillRow> ReadPage(int offset);

  std::filesystem::path book_;
  std::function<void(billbook::Failure)> failed_;
  billbook::BillQuery query_;
  std::vector<billbook::BillRow> rows_;
  bool more_ = false;  // the last page read was full: there may be more
};

}  // namespace ui
