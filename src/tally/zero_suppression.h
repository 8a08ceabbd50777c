#pragma once

#include <optional>
#include <string_view>

#include "tally/field_id.h"

namespace tally {

class FieldStore;

// Zero suppression keeps zero and negative results blank: a computed field whose text
// sorts before its threshold is emptied. The thresholds are texts, compared as texts.
std::optional<std::u16string_view> ZeroSuppressionThreshold(FieldId field);

// The change rule of a field, run whenever its text has changed. For Volume and Amount it
// rescans the whole column, row 0 to 12; every emptying is itself a change and runs the
// rule again, nested, so the rule keeps no state outside its own stack frame.
void ZeroSuppression(FieldStore& store, FieldId changed);

}  // namespace tally
