#include "tally/recalculation_pass.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "tally/numeric_text.h"
#include "tally/tally_sheet.h"

namespace tally {
namespace {

constexpr double kVolumeDivisor = 1000000.0;
constexpr double kNotComputable = std::numeric_limits<double>::infinity();

std::optional<double> ReadNumber(const TallySheet& sheet, FieldId field) {
  try {
    return ParseNumber(sheet.Text(field));
  } catch (const Overflow&) {
    return std::nullopt;
  }
}

// Multiplies in place; an overflowing product makes the value not computable.
bool MultiplyInto(double& product, double factor) {
  product *= factor;
  return std::isfinite(product);
}

std::optional<double> RowVolume(const TallySheet& sheet, int row) {
  static constexpr TallyColumn kFactors[] = {TallyColumn::Length, TallyColumn::Width,
                                             TallyColumn::Thickness, TallyColumn::Bundles,
                                             TallyColumn::PiecesPerBundle};
  double factors[5];
  for (int i = 0; i < 5; ++i) {
    const std::optional<double> value = ReadNumber(sheet, FieldId(kFactors[i], row));
    if (!value) return std::nullopt;
    factors[i] = *value;
  }
  double volume = factors[0];
  for (int i = 1; i < 5; ++i) {
    if (!MultiplyInto(volume, factors[i])) return std::nullopt;
  }
  return volume / kVolumeDivisor;
}

std::optional<double> RowAmount(const TallySheet& sheet, int row) {
  const std::optional<double> volume = ReadNumber(sheet, FieldId(TallyColumn::Volume, row));
  const std::optional<double> price = ReadNumber(sheet, FieldId(TallyColumn::UnitPrice, row));
  if (!volume || !price) return std::nullopt;
  double amount = *price;
  if (!MultiplyInto(amount, *volume)) return std::nullopt;
  return amount;
}

std::u16string Shown(std::optional<double> value, FixedPattern pattern) {
  return value ? FormatFixed(*value, pattern) : std::u16string();
}

// Adds a field's shown value to a running total; a text too large to read makes the total
// not computable (FormatFixed then gives the empty text) rather than silently short.
void AddShown(const TallySheet& sheet, FieldId field, double& sum) {
  sum += ReadNumber(sheet, field).value_or(kNotComputable);
}

}  // namespace

void RecalculationPass(TallySheet& sheet) {
  double volume_sum = 0.0;
  double amount_sum = 0.0;
  for (int row = 0; row < kRowCount; ++row) {
    const FieldId volume(TallyColumn::Volume, row);
    sheet.SetText(volume, Shown(RowVolume(sheet, row), FixedPattern::FourDecimals));
    AddShown(sheet, volume, volume_sum);
    sheet.SetText(SingleField::Text10, FormatFixed(volume_sum, FixedPattern::FourDecimals));
    // Still the amount of the previous pass: loop 2 below writes this pass's amounts.
    AddShown(sheet, FieldId(TallyColumn::Amount, row), amount_sum);
    sheet.SetText(SingleField::Text11, FormatFixed(amount_sum, FixedPattern::TwoDecimals));
  }
  for (int row = 0; row < kRowCount; ++row) {
    sheet.SetText(TallyColumn::Amount, row,
                  Shown(RowAmount(sheet, row), FixedPattern::TwoDecimals));
  }
}

}  // namespace tally
