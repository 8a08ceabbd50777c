#pragma once

#include <QStyledItemDelegate>

class QComboBox;

namespace ui {

// The rows of the buyer drop-down. Qt makes a row as high as the font's line height, which
// for the 12-pixel Song faces is 12 pixels: the tops and bottoms of the characters are lost
// (张三木业 reads as 张三朩业). Each row here keeps the font's whole height with a margin above
// and below, as the classic list box does.
class BuyerListRows final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // The height of a row for a font: its pixel height and a margin on each side.
  static int RowHeight(const QFont& font);

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Gives the combo box's list those rows, one row per scroll step so the top row is always
// whole, and all rows the same height so a list of some hundred buyers opens at once.
void UseBuyerListRows(QComboBox& combo);

}  // namespace ui
