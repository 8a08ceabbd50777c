#pragma once

#include <string>
#include <string_view>

#include "tally/field_id.h"

namespace tally {

// Told whenever a field's text has changed, by typing or by assignment.
class FieldChangeListener {
 public:
  virtual void OnFieldChanged(FieldId field) = 0;

 protected:
  ~FieldChangeListener() = default;
};

// Where the texts of a tally live. The window keeps them in its text boxes, tests and
// tools in memory; the tally rules only ever go through this interface.
//
// The contract every store keeps:
// - SetText with the text the field already holds changes nothing and tells nobody;
// - any real change (SetText, or the user typing into a box) calls the listener
//   synchronously, before the call that made the change returns. Listeners may set
//   texts again from inside that call.
class FieldStore {
 public:
  virtual ~FieldStore() = default;

  virtual std::u16string Text(FieldId field) const = 0;
  virtual void SetText(FieldId field, std::u16string_view text) = 0;

  void SetChangeListener(FieldChangeListener* listener) { listener_ = listener; }

 protected:
  // Stores call this after a text has really changed.
  void NotifyChanged(FieldId field) {
    if (listener_ != nullptr) listener_->OnFieldChanged(field);
  }

 private:
  FieldChangeListener* listener_ = nullptr;
};

}  // namespace tally
