#pragma once

#include <QLineEdit>
#include <array>
#include <string>
#include <string_view>

#include "tally/field_store.h"

namespace ui {

// The tally's texts live in the window's boxes and nowhere else. Writing a text a box already
// holds never touches the box: setText would reset the caret and selection of the box being
// typed into, and the recalculation rewrites every computed field three times a second.
class QtFieldStore final : public tally::FieldStore {
 public:
  // Every field must be bound to its box before the store is used.
  void Bind(tally::FieldId field, QLineEdit* box);

  std::u16string Text(tally::FieldId field) const override;
  void SetText(tally::FieldId field, std::u16string_view text) override;

  QLineEdit* Box(tally::FieldId field) const { return boxes_[Slot(field)]; }

 private:
  static std::size_t Slot(tally::FieldId field) { return static_cast<std::size_t>(field.Index()); }

  std::array<QLineEdit*, tally::FieldId::kCount> boxes_{};
};

}  // namespace ui
