#include "xls/number_format/text_section.h"

namespace xls::number_format {

const Section* TextSectionOf(const std::vector<Section>& sections) {
  if (sections.size() >= 4) return &sections[3];
  if (sections[0].has_text) return &sections[0];
  return nullptr;
}

std::u16string FormatText(std::u16string_view text, const Section& section) {
  std::u16string out;
  for (const Token& t : section.tokens) {
    if (t.kind == Token::Kind::kText) out += text;
    if (t.kind == Token::Kind::kLiteral) out += t.text;
  }
  return out;
}

}  // namespace xls::number_format
