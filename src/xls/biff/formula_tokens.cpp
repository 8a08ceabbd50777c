#include "xls/biff/formula_tokens.h"

#include <algorithm>

#include "base/text_encoding.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {

namespace {

constexpr std::size_t kMaxPtgStrCharacters = 255;
constexpr std::uint8_t kRefNToRef = ptg::kRefN - ptg::kRef;  // and PtgAreaN - PtgArea

// Bytes after the id of a token of fixed size; nothing for those that vary or are unknown.
std::optional<std::size_t> FixedSize(std::uint8_t base) {
  if (base >= ptg::kAdd && base <= ptg::kMissArg) return 0;  // operators, parentheses
  switch (base) {
    case ptg::kExp:
    case ptg::kTbl:
      return 4;
    case ptg::kErr:
    case ptg::kBool:
      return 1;
    case ptg::kInt:
      return 2;
    case ptg::kNum:
      return 8;
    case ptg::kArray:  // its values lie in rgcb
      return 7;
    case ptg::kFunc:
    case ptg::kMemFunc:
      return 2;
    case ptg::kFuncVar:
      return 3;
    case ptg::kName:
    case ptg::kRef:
    case ptg::kRefErr:
    case ptg::kRefN:
      return 4;
    case ptg::kArea:
    case ptg::kAreaErr:
    case ptg::kAreaN:
      return 8;
    case ptg::kMemArea:
    case ptg::kMemErr:
    case ptg::kMemNoMem:
    case ptg::kNameX:
    case ptg::kRef3d:
    case ptg::kRefErr3d:
      return 6;
    case ptg::kArea3d:
    case ptg::kAreaErr3d:
      return 10;
    default:
      return std::nullopt;
  }
}

std::uint16_t Get16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Turns the row at `row_at` and the column field at `column_at` (its flags in the top bits)
// from offsets, where flagged relative, into the cell's own row and column. Rows wrap at
// 65536 and columns at 256, as a shared formula's offsets do.
void Resolve(std::vector<std::uint8_t>& out, std::size_t row_at, std::size_t column_at,
             std::uint16_t row, std::uint16_t column) {
  const std::uint16_t column_field = Get16(out, column_at);
  if ((column_field & ptg::kRowRelative) != 0) {
    Put16(out, row_at, static_cast<std::uint16_t>(row + Get16(out, row_at)));
  }
  if ((column_field & ptg::kColumnRelative) != 0) {
    const auto offset = static_cast<std::uint8_t>(column_field & 0xFF);
    const auto resolved = static_cast<std::uint8_t>((column + offset) & 0xFF);
    Put16(out, column_at, static_cast<std::uint16_t>((column_field & 0xFF00) | resolved));
  }
}

}  // namespace

std::optional<std::size_t> TokenSize(std::span<const std::uint8_t> rgce, std::size_t at) {
  const std::uint8_t base = ptg::BaseId(rgce[at]);
  std::optional<std::size_t> size;
  if (base == ptg::kStr) {
    if (rgce.size() - at < 3) return std::nullopt;
    const std::size_t characters = rgce[at + 1];
    size = 2 + characters * ((rgce[at + 2] & string_flags::kHighByte) != 0 ? 2 : 1);
  } else if (base == ptg::kAttr) {
    if (rgce.size() - at < 4) return std::nullopt;
    size = 3;
    if ((rgce[at + 1] & ptg::kAttrChoose) != 0) {
      const auto cases = static_cast<std::size_t>(rgce[at + 2] | (rgce[at + 3] << 8));
      *size += 2 * (cases + 1);
    }
  } else {
    size = FixedSize(base);
  }
  if (!size || rgce.size() - at - 1 < *size) return std::nullopt;
  return *size + 1;
}

std::optional<ReferenceOperand> ReadReferenceOperand(std::span<const std::uint8_t> rgce,
                                                     std::size_t at) {
  if (at >= rgce.size() || rgce[at] >= 0x80) return std::nullopt;  // no token's id
  const std::uint8_t id = ptg::BaseId(rgce[at]);
  const bool area = id == ptg::kArea || id == ptg::kArea3d;
  const bool three_d = id == ptg::kRef3d || id == ptg::kArea3d;
  if (!area && !three_d && id != ptg::kRef) return std::nullopt;
  if (!TokenSize(rgce, at)) return std::nullopt;  // cut short
  ReferenceOperand reference;
  reference.three_d = three_d;
  std::size_t p = at + 1;
  if (three_d) {
    reference.ixti = Get16(rgce, p);
    p += 2;
  }
  const auto column = [&](std::size_t from) {
    return static_cast<std::uint16_t>(Get16(rgce, from) & ptg::kColumnMask);
  };
  if (area) {
    reference.first_row = Get16(rgce, p);
    reference.last_row = Get16(rgce, p + 2);
    reference.first_column = column(p + 4);
    reference.last_column = column(p + 6);
  } else {
    reference.first_row = reference.last_row = Get16(rgce, p);
    reference.first_column = reference.last_column = column(p + 2);
  }
  return reference;
}

std::optional<CellAddress> ExpAnchor(std::span<const std::uint8_t> rgce) {
  if (rgce.size() != 5 || rgce[0] != ptg::kExp) return std::nullopt;
  return CellAddress{Get16(rgce, 1), Get16(rgce, 3)};
}

std::optional<CellAddress> TblAnchor(std::span<const std::uint8_t> rgce) {
  if (rgce.size() != 5 || rgce[0] != ptg::kTbl) return std::nullopt;
  return CellAddress{Get16(rgce, 1), Get16(rgce, 3)};
}

std::vector<std::uint8_t> TextConstant(std::u16string_view text) {
  std::vector<std::uint8_t> out;
  std::size_t at = 0;
  do {
    const std::u16string_view part = text.substr(at, kMaxPtgStrCharacters);
    // A part is not cut between the halves of a surrogate pair, which are one character.
    const std::size_t size =
        part.size() == kMaxPtgStrCharacters && base::IsHighSurrogate(part.back()) ? part.size() - 1
                                                                                  : part.size();
    const bool wide = std::any_of(part.begin(), part.begin() + static_cast<std::ptrdiff_t>(size),
                                  [](char16_t c) { return c > 0xFF; });
    out.push_back(ptg::kStr);
    out.push_back(static_cast<std::uint8_t>(size));
    out.push_back(wide ? 0x01 : 0x00);
    for (std::size_t i = 0; i < size; ++i) {
      out.push_back(static_cast<std::uint8_t>(part[i] & 0xFF));
      if (wide) out.push_back(static_cast<std::uint8_t>(part[i] >> 8));
    }
    if (at != 0) out.push_back(ptg::kConcat);
    at += size;
  } while (at < text.size());
  return out;
}

std::optional<std::vector<std::uint8_t>> SharedFormulaForCell(std::span<const std::uint8_t> rgce,
                                                              std::uint16_t row,
                                                              std::uint16_t column) {
  std::vector<std::uint8_t> out(rgce.begin(), rgce.end());
  std::size_t at = 0;
  while (at < rgce.size()) {
    const std::optional<std::size_t> size = TokenSize(rgce, at);
    if (!size) return std::nullopt;
    const std::uint8_t base = ptg::BaseId(rgce[at]);
    if (base == ptg::kRefN || base == ptg::kAreaN) {
      out[at] = static_cast<std::uint8_t>(rgce[at] - kRefNToRef);
    }
    if (base == ptg::kRefN) {
      Resolve(out, at + 1, at + 3, row, column);
    } else if (base == ptg::kAreaN) {
      Resolve(out, at + 1, at + 5, row, column);
      Resolve(out, at + 3, at + 7, row, column);
    } else if (base == ptg::kRef3d) {
      Resolve(out, at + 3, at + 5, row, column);
    } else if (base == ptg::kArea3d) {
      Resolve(out, at + 3, at + 7, row, column);
      Resolve(out, at + 5, at + 9, row, column);
    }
    at += *size;
  }
  return out;
}

}  // namespace xls::biff
