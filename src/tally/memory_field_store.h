#pragma once

#include <array>
#include <string>
#include <string_view>

#include "tally/field_store.h"

namespace tally {

// A store that keeps the texts in memory; used where there is no window.
class MemoryFieldStore final : public FieldStore {
 public:
  std::u16string Text(FieldId field) const override { return texts_[Slot(field)]; }

  void SetText(FieldId field, std::u16string_view text) override {
    std::u16string& current = texts_[Slot(field)];
    if (current == text) return;
    current.assign(text);
    NotifyChanged(field);
  }

 private:
  static std::size_t Slot(FieldId field) { return static_cast<std::size_t>(field.Index()); }

  std::array<std::u16string, FieldId::kCount> texts_;
};

}  // namespace tally
