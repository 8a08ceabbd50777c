#include "qt_field_store.h"

#include <QStringView>

namespace ui {

void QtFieldStore::Bind(tally::FieldId field, QLineEdit* box) {
  boxes_[Slot(field)] = box;
  // textChanged fires for typing and for setText alike, synchronously, which is exactly when
  // the field's change rule must run.
  QObject::connect(box, &QLineEdit::textChanged, box, [this, field] { NotifyChanged(field); });
}

std::u16string QtFieldStore::Text(tally::FieldId field) const {
  return Box(field)->text().toStdU16String();
}

void QtFieldStore::SetText(tally::FieldId field, std::u16string_view text) {
  QLineEdit* box = Box(field);
  const QStringView wanted(text.data(), static_cast<qsizetype>(text.size()));
  if (box->text() == wanted) return;
  box->setText(wanted.toString());
}

}  // namespace ui
