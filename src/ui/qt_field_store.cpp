#include "ui/qt_field_store.h"

#include <QSignalBlocker>
#include <QStringView>

#include "ui/start_in_view.h"

namespace ui {
namespace {

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void QtFieldStore::Bind(tally::FieldId field, QLineEdit* box) {
  boxes_[Slot(field)] = box;
  // textChanged fires for typing and for setText alike, synchronously, which is exactly when
  // the field's change rule must run.
  QObject::connect(box, &QLineEdit::textChanged, box, [this, field] { NotifyChanged(field); });
}

std::u16string QtFieldStore::Text(tally::FieldId field) const {
  const std::optional<std::u16string>& pending = pending_[Slot(field)];
  if (pending) return *pending;
  return Box(field)->text().toStdU16String();
}

void QtFieldStore::SetText(tally::FieldId field, std::u16string_view text) {
  if (batching_) {
    if (Text(field) == text) return;
    pending_[Slot(field)] = std::u16string(text);
    NotifyChanged(field);
    return;
  }
  QLineEdit* box = Box(field);
  const QStringView wanted(text.data(), static_cast<qsizetype>(text.size()));
  if (box->text() == wanted) return;
  box->setText(wanted.toString());
  StartInView::ShowStartUnlessEdited(*box);
}

void QtFieldStore::EndBatch() {
  batching_ = false;
  for (std::size_t slot = 0; slot < pending_.size(); ++slot) {
    std::optional<std::u16string>& pending = pending_[slot];
    if (!pending) continue;
    QLineEdit* box = boxes_[slot];
    const QString text = ToQString(*pending);
    pending.reset();
    if (box->text() == text) continue;
    // The change rules already ran when the text was written.
    const QSignalBlocker quiet(box);
    box->setText(text);
    StartInView::ShowStartUnlessEdited(*box);
  }
}

}  // namespace ui
