#pragma once

#include <QHash>
#include <QLineEdit>
#include <QObject>
#include <vector>

namespace ui {

// The keyboard rules of the typed item columns: Up and Down move to the box above or below in
// the same column, wrapping round at either end, and every box selects its whole text when
// the focus arrives, so the next digit typed replaces the old value.
class ColumnNavigation final : public QObject {
 public:
  explicit ColumnNavigation(QObject* parent) : QObject(parent) {}

  // Adds one column, its boxes from the top row down.
  void AddColumn(std::vector<QLineEdit*> boxes);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Place {
    std::size_t column;
    std::size_t row;
  };

  void MoveWithinColumn(Place from, bool down);

  std::vector<std::vector<QLineEdit*>> columns_;
  QHash<QObject*, Place> places_;
};

}  // namespace ui
