#include "tally/zero_suppression.h"

#include "tally/field_store.h"
#include "tally/numeric_text.h"

namespace tally {

std::optional<std::u16string_view> ZeroSuppressionThreshold(FieldId field) {
  if (field.IsCell()) {
    switch (field.Column()) {
      case TallyColumn::Volume:
        return u"0.00001";
      case TallyColumn::Amount:
        return u"0.001";
      default:
        return std::nullopt;  // typed columns carry no rule
    }
  }
  switch (field.Single()) {
    case SingleField::Text9:
      return u"0.01";
    case SingleField::Text10:
      return u"0.0001";
    case SingleField::Text11:
      return u"0.001";
  }
  return std::nullopt;
}

namespace {

void EmptyIfBelow(FieldStore& store, FieldId field, std::u16string_view threshold) {
  if (SortsBefore(store.Text(field), threshold)) store.SetText(field, u"");
}

}  // namespace

void ZeroSuppression(FieldStore& store, FieldId changed) {
  const std::optional<std::u16string_view> threshold = ZeroSuppressionThreshold(changed);
  if (!threshold) return;
  if (!changed.IsCell()) {
    EmptyIfBelow(store, changed, *threshold);
    return;
  }
  for (int row = 0; row < kRowCount; ++row) {
    EmptyIfBelow(store, FieldId(changed.Column(), row), *threshold);
  }
}

}  // namespace tally
