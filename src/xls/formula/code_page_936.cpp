#include "xls/formula/code_page_936.h"

#include <unordered_map>

#include "xls/formula/gbk_table.h"

namespace xls::formula {

namespace {

constexpr char16_t kEuroSign = 0x20AC;  // the one character above ASCII written in one byte
constexpr int kEuroCode = 0x80;

const std::unordered_map<char16_t, int>& CodesOfCharacters() {
  static const auto codes = [] {
    std::unordered_map<char16_t, int> map;
    for (int lead = kGbkFirstLead; lead <= kGbkLastLead; ++lead) {
      for (int trail = kGbkFirstTrail; trail <= kGbkLastTrail; ++trail) {
        const char16_t c =
            kGbkCharacters[(lead - kGbkFirstLead) * kGbkTrails + trail - kGbkFirstTrail];
        if (c != 0) map.emplace(c, lead * 256 + trail);
      }
    }
    return map;
  }();
  return codes;
}

}  // namespace

int CodeOfCharacter(char16_t c) {
  if (c < 0x80) return c;
  if (c == kEuroSign) return kEuroCode;
  const auto& codes = CodesOfCharacters();
  const auto found = codes.find(c);
  return found == codes.end() ? '?' : found->second;
}

std::u16string CharacterOfCode(int code) {
  if (code >= 1 && code < 0x80) return std::u16string(1, static_cast<char16_t>(code));
  if (code == kEuroCode) return std::u16string(1, kEuroSign);
  const int lead = code / 256;
  const int trail = code % 256;
  if (lead < kGbkFirstLead || lead > kGbkLastLead || trail < kGbkFirstTrail ||
      trail > kGbkLastTrail) {
    return {};
  }
  const char16_t c = kGbkCharacters[(lead - kGbkFirstLead) * kGbkTrails + trail - kGbkFirstTrail];
  return c == 0 ? std::u16string() : std::u16string(1, c);
}

}  // namespace xls::formula
