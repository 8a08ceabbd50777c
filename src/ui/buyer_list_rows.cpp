#include "ui/buyer_list_rows.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QListView>
#include <algorithm>

namespace ui {
namespace {

constexpr int kRowMargin = 2;

}  // namespace

int BuyerListRows::RowHeight(const QFont& font) {
  const QFontMetrics metrics(font);
  // Song faces report a line height no taller than the characters themselves.
  return std::max(metrics.height(), font.pixelSize()) + 2 * kRowMargin;
}

QSize BuyerListRows::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  size.setHeight(RowHeight(option.font));
  return size;
}

void UseBuyerListRows(QComboBox& combo) {
  combo.setItemDelegate(new BuyerListRows(&combo));
  QAbstractItemView* view = combo.view();
  view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  if (auto* list = qobject_cast<QListView*>(view)) list->setUniformItemSizes(true);
}

}  // namespace ui
