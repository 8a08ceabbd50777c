#include "xls/biff/formula_tokens.h"

#include <algorithm>

namespace xls::biff {

namespace {

constexpr std::uint8_t kPtgExp = 0x01;
constexpr std::uint8_t kPtgTbl = 0x02;
constexpr std::uint8_t kPtgConcat = 0x08;
constexpr std::uint8_t kPtgStr = 0x17;
constexpr std::size_t kMaxPtgStrCharacters = 255;
constexpr std::uint8_t kPtgAttr = 0x19;
constexpr std::uint8_t kAttrChoose = 0x04;
constexpr std::uint8_t kPtgRefN = 0x2C;
constexpr std::uint8_t kPtgAreaN = 0x2D;
constexpr std::uint8_t kPtgRef3d = 0x3A;
constexpr std::uint8_t kPtgArea3d = 0x3B;
constexpr std::uint8_t kRefNToRef = 0x08;  // PtgRefN - PtgRef, PtgAreaN - PtgArea
constexpr std::uint16_t kRowRelative = 0x8000;
constexpr std::uint16_t kColumnRelative = 0x4000;

// A token's id without its value class: 0x20-0x3F for operands, as is below 0x20.
std::uint8_t BaseId(std::uint8_t ptg) {
  return ptg < 0x20 ? ptg : static_cast<std::uint8_t>((ptg & 0x1F) | 0x20);
}

// Bytes after the id of a token of fixed size; nothing for those that vary or are unknown.
std::optional<std::size_t> FixedSize(std::uint8_t base) {
  if (base >= 0x03 && base <= 0x16) return 0;  // operators, parentheses, missing argument
  switch (base) {
    case 0x01:  // PtgExp
    case 0x02:  // PtgTbl
      return 4;
    case 0x1C:  // PtgErr
    case 0x1D:  // PtgBool
      return 1;
    case 0x1E:  // PtgInt
      return 2;
    case 0x1F:  // PtgNum
      return 8;
    case 0x20:  // PtgArray (its values lie in rgcb)
      return 7;
    case 0x21:  // PtgFunc
    case 0x29:  // PtgMemFunc
      return 2;
    case 0x22:  // PtgFuncVar
      return 3;
    case 0x23:  // PtgName
    case 0x24:  // PtgRef
    case 0x2A:  // PtgRefErr
    case 0x2C:  // PtgRefN
      return 4;
    case 0x25:  // PtgArea
    case 0x2B:  // PtgAreaErr
    case 0x2D:  // PtgAreaN
      return 8;
    case 0x26:  // PtgMemArea
    case 0x27:  // PtgMemErr
    case 0x28:  // PtgMemNoMem
    case 0x39:  // PtgNameX
    case 0x3A:  // PtgRef3d
    case 0x3C:  // PtgRefErr3d
      return 6;
    case 0x3B:  // PtgArea3d
    case 0x3D:  // PtgAreaErr3d
      return 10;
    default:
      return std::nullopt;
  }
}

// The size of the token at `at`, id included; nothing if unknown or cut short.
std::optional<std::size_t> TokenSize(std::span<const std::uint8_t> rgce, std::size_t at) {
  const std::uint8_t base = BaseId(rgce[at]);
  std::optional<std::size_t> size;
  if (base == kPtgStr) {
    if (rgce.size() - at < 3) return std::nullopt;
    const std::size_t characters = rgce[at + 1];
    size = 2 + characters * ((rgce[at + 2] & 0x01) != 0 ? 2 : 1);
  } else if (base == kPtgAttr) {
    if (rgce.size() - at < 4) return std::nullopt;
    size = 3;
    if ((rgce[at + 1] & kAttrChoose) != 0) {
      const auto cases = static_cast<std::size_t>(rgce[at + 2] | (rgce[at + 3] << 8));
      *size += 2 * (cases + 1);
    }
  } else {
    size = FixedSize(base);
  }
  if (!size || rgce.size() - at - 1 < *size) return std::nullopt;
  return *size + 1;
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
  if ((column_field & kRowRelative) != 0) {
    Put16(out, row_at, static_cast<std::uint16_t>(row + Get16(out, row_at)));
  }
  if ((column_field & kColumnRelative) != 0) {
    const auto offset = static_cast<std::uint8_t>(column_field & 0xFF);
    const auto resolved = static_cast<std::uint8_t>((column + offset) & 0xFF);
    Put16(out, column_at, static_cast<std::uint16_t>((column_field & 0xFF00) | resolved));
  }
}

}  // namespace

std::optional<CellAnchor> ExpAnchor(std::span<const std::uint8_t> rgce) {
  if (rgce.size() != 5 || rgce[0] != kPtgExp) return std::nullopt;
  return CellAnchor{Get16(rgce, 1), Get16(rgce, 3)};
}

std::optional<CellAnchor> TblAnchor(std::span<const std::uint8_t> rgce) {
  if (rgce.size() != 5 || rgce[0] != kPtgTbl) return std::nullopt;
  return CellAnchor{Get16(rgce, 1), Get16(rgce, 3)};
}

std::vector<std::uint8_t> TextConstant(std::u16string_view text) {
  std::vector<std::uint8_t> out;
  std::size_t at = 0;
  do {
    const std::u16string_view part = text.substr(at, kMaxPtgStrCharacters);
    // A part is not cut between the halves of a surrogate pair, which are one character.
    const std::size_t size =
        part.size() == kMaxPtgStrCharacters && part.back() >= 0xD800 && part.back() <= 0xDBFF
            ? part.size() - 1
            : part.size();
    const bool wide = std::any_of(part.begin(), part.begin() + static_cast<std::ptrdiff_t>(size),
                                  [](char16_t c) { return c > 0xFF; });
    out.push_back(kPtgStr);
    out.push_back(static_cast<std::uint8_t>(size));
    out.push_back(wide ? 0x01 : 0x00);
    for (std::size_t i = 0; i < size; ++i) {
      out.push_back(static_cast<std::uint8_t>(part[i] & 0xFF));
      if (wide) out.push_back(static_cast<std::uint8_t>(part[i] >> 8));
    }
    if (at != 0) out.push_back(kPtgConcat);
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
    const std::uint8_t base = BaseId(rgce[at]);
    if (base == kPtgRefN || base == kPtgAreaN) {
      out[at] = static_cast<std::uint8_t>(rgce[at] - kRefNToRef);
    }
    if (base == kPtgRefN) {
      Resolve(out, at + 1, at + 3, row, column);
    } else if (base == kPtgAreaN) {
      Resolve(out, at + 1, at + 5, row, column);
      Resolve(out, at + 3, at + 7, row, column);
    } else if (base == kPtgRef3d) {
      Resolve(out, at + 3, at + 5, row, column);
    } else if (base == kPtgArea3d) {
      Resolve(out, at + 3, at + 7, row, column);
      Resolve(out, at + 5, at + 9, row, column);
    }
    at += *size;
  }
  return out;
}

bool MayReadOtherSheets(std::span<const std::uint8_t> rgce) {
  std::size_t at = 0;
  while (at < rgce.size()) {
    const std::optional<std::size_t> size = TokenSize(rgce, at);
    if (!size) return true;
    const std::uint8_t base = BaseId(rgce[at]);
    if (base == 0x23 || (base >= 0x39 && base <= 0x3D)) return true;  // names, 3-D references
    at += *size;
  }
  return false;
}

}  // namespace xls::biff
