#include "ui/bill_list_model.h"

#include <QFont>
#include <utility>

#include "billbook/bill_book.h"
#include "billbook/book_failure.h"
#include "ui/book_text.h"

namespace ui {

namespace {

QString StateText(const billbook::BillRow& row) {
  if (row.voided) return QStringLiteral("已作废");
  if (row.revision_count > 1) return QStringLiteral("已更正");
  return {};
}

}  // namespace

BillListModel::BillListModel(std::filesystem::path book,
                             std::function<void(billbook::Failure)> failed, QObject* parent)
    : QAbstractTableModel(parent), book_(std::move(book)), failed_(std::move(failed)) {}

void BillListModel::Show(const billbook::BillQuery& query) {
  beginResetModel();
  query_ = query;
  rows_.clear();
  rows_ = ReadPage(0);
  endResetModel();
}

std::vector<billbook::BillRow> BillListModel::ReadPage(int offset) {
  std::vector<billbook::BillRow> page;
  try {
    page = billbook::BillBook(book_).List(query_, offset, kPageRows);
  } catch (const billbook::BookError& error) {
    failed_(error.failure());
  }
  more_ = static_cast<int>(page.size()) == kPageRows;
  return page;
}

std::string BillListModel::NumberAt(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return {};
  return rows_[static_cast<std::size_t>(row)].number;
}

int BillListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int BillListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant BillListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const billbook::BillRow& row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      switch (index.column()) {
        case kNumber:
          return BookText(row.number);
        case kTime:
          return BookText(row.time);
        case kBuyer:
          return BookText(row.buyer);
        case kVolume:
          return BookText(row.total_volume);
        case kAmount:
          return BookText(row.total_amount);
        case kState:
          return StateText(row);
      }
      return {};
    case Qt::FontRole:
      // A voided bill stays in the list, struck out, so that its number is never missed.
      if (row.voided) {
        QFont font;
        font.setStrikeOut(true);
        return font;
      }
      return {};
    case Qt::TextAlignmentRole:
      if (index.column() == kVolume || index.column() == kAmount) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      }
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  }
  return {};
}

QVariant BillListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kNumber:
      return QStringLiteral("单号");
    case kTime:
      return QStringLiteral("时间");
    case kBuyer:
      return QStringLiteral("购货单位");
    case kVolume:
      return QStringLiteral("材积(m³)");
    case kAmount:
      return QStringLiteral("金额(元)");
    case kState:
      return QStringLiteral("状态");
  }
  return {};
}

bool BillListModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && more_;
}

void BillListModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid() || !more_) return;
  std::vector<billbook::BillRow> page = ReadPage(static_cast<int>(rows_.size()));
  if (page.empty()) return;
  const int first = static_cast<int>(rows_.size());
  beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
  rows_.insert(rows_.end(), std::make_move_iterator(page.begin()),
               std::make_move_iterator(page.end()));
  endInsertRows();
}

}  // namespace ui
