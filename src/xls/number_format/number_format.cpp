#include "xls/number_format/number_format.h"

#include <cmath>
#include <vector>

#include "xls/number_format/date_format.h"
#include "xls/number_format/digit_format.h"
#include "xls/number_format/format_code_parser.h"
#include "xls/number_format/fraction_format.h"
#include "xls/number_format/text_section.h"

namespace xls::number_format {

namespace {

using number_format::Condition;
using number_format::Section;
using number_format::ShownNumber;
using number_format::Token;

struct ChosenSection {
  const Section* section;
  bool show_minus;  // the section shows the magnitude, and a minus goes in front
};

// Sections are for positive;negative;zero values unless the first carries a condition: then
// the first section whose condition holds, the next one, or the third.
ChosenSection ChooseSection(double v, const std::vector<Section>& sections) {
  const bool conditional = sections[0].condition.op != Condition::Op::kNone;
  if (conditional) {
    const Section* chosen = &sections[0];
    if (sections[0].condition.Holds(v)) {
      chosen = &sections[0];
    } else if (sections.size() > 1 && sections[1].condition.op != Condition::Op::kNone) {
      chosen = sections[1].condition.Holds(v) ? &sections[1]
               : sections.size() > 2          ? &sections[2]
                                              : &sections[1];
    } else if (sections.size() > 1) {
      chosen = &sections[1];
    }
    return {chosen, v < 0 && chosen == &sections[0]};
  }
  if (v < 0 && sections.size() >= 2 && !sections[1].has_text) return {&sections[1], false};
  if (v == 0 && sections.size() >= 3 && !sections[2].has_text) return {&sections[2], false};
  return {&sections[0], v < 0};
}

ShownNumber FormatMagnitude(double magnitude, const Section& s) {
  if (s.has_general) return number_format::FormatGeneralSection(magnitude, s);
  for (const Token& t : s.tokens) {
    if (t.kind == Token::Kind::kPercent) magnitude *= 100;
  }
  magnitude /= std::pow(1000.0, s.trailing_commas);
  if (s.has_digits) {
    if (std::optional<ShownNumber> fraction = number_format::FormatFraction(magnitude, s)) {
      return std::move(*fraction);
    }
  }
  if (s.has_digits) return number_format::FormatDigits(magnitude, s);
  ShownNumber literal;
  for (const Token& t : s.tokens) {
    if (t.kind == Token::Kind::kLiteral || t.kind == Token::Kind::kPercent) literal.text += t.text;
  }
  return literal;
}

FormattedValue FormatNumber(double v, const std::vector<Section>& sections, bool date1904) {
  FormattedValue out;
  out.is_number = true;
  if (!std::isfinite(v)) {
    out.text = u"#NUM!";  // no cell holds one; a damaged file might
    return out;
  }
  const auto [chosen, show_minus] = ChooseSection(v, sections);
  if (chosen->has_text && !chosen->has_digits && !chosen->has_date && !chosen->has_general) {
    // "@" alone: numbers keep their General form.
    out.text = number_format::GeneralText(v, *chosen);
    return out;
  }
  if (chosen->has_date) {
    out.text = number_format::FormatDate(v, *chosen, date1904);
  } else {
    ShownNumber shown = FormatMagnitude(std::fabs(v), *chosen);
    // A value that rounds to nothing but zeros shows no minus: "-0.00" reads as a mistake.
    out.text = show_minus && !shown.zero ? u"-" + shown.text : std::move(shown.text);
  }
  out.colour = chosen->colour;
  return out;
}

}  // namespace

FormattedValue FormatValue(const biff::CellValue& value, std::u16string_view code, bool date1904) {
  using Kind = biff::CellValue::Kind;
  FormattedValue out;
  if (value.kind == Kind::kEmpty) return out;
  if (value.kind == Kind::kBoolean || value.kind == Kind::kError) {
    out.text = biff::DisplayText(value);
    out.is_number = value.kind == Kind::kBoolean;
    out.is_logical_or_error = true;
    return out;
  }
  const std::vector<Section> sections = number_format::ParseFormatCode(code);
  if (value.kind == Kind::kNumber) return FormatNumber(value.number, sections, date1904);
  const Section* text_section = number_format::TextSectionOf(sections);
  out.text =
      text_section == nullptr ? value.text : number_format::FormatText(value.text, *text_section);
  if (text_section != nullptr) out.colour = text_section->colour;
  return out;
}

}  // namespace xls::number_format
