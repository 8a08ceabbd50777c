#pragma once

#include <QLineEdit>
#include <array>
#include <optional>
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

  // Between these two calls writes are collected (reads see them, change rules run at once as
  // always) and the boxes only receive each field's final text at the end. On an empty sheet
  // every pass writes "0.0000" into each volume box and the rule empties it again: shown box
  // by box, that would repaint 26 boxes three times a second for nothing.
  void BeginBatch() { batching_ = true; }
  void EndBatch();

  QLineEdit* Box(tally::FieldId field) const { return boxes_[Slot(field)]; }

 private:
  static std::size_t Slot(tally::FieldId field) { return static_cast<std::size_t>(field.Index()); }

  std::array<QLineEdit*, tally::FieldId::kCount> boxes_{};
  std::array<std::optional<std::u16string>, tally::FieldId::kCount> pending_{};
  bool batching_ = false;
};

// Batches the store's writes for as long as it lives.
class StoreBatch {
 public:
  explicit StoreBatch(QtFieldStore& store) : store_(store) { store_.BeginBatch(); }
  ~StoreBatch() { store_.EndBatch(); }
  StoreBatch(const StoreBatch&) = delete;
  StoreBatch& operator=(const StoreBatch&) = delete;

 private:
  QtFieldStore& store_;
};

}  // namespace ui
