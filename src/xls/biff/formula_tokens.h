#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "xls/biff/cell_address.h"

namespace xls::biff {

// Parsed expressions (rgce) of BIFF8 formulas: the token ids, which anchor a cell of a
// shared or array formula refers to, and how a shared formula reads when written out for
// one cell.

// Token ids. Operands carry a value class in bits 5-6 (0x20 reference, 0x40 value, 0x60
// array); the ids below are those of the reference class, BaseId() folds the others onto them.
namespace ptg {
inline constexpr std::uint8_t kExp = 0x01;
inline constexpr std::uint8_t kTbl = 0x02;
inline constexpr std::uint8_t kAdd = 0x03;
inline constexpr std::uint8_t kSub = 0x04;
inline constexpr std::uint8_t kMul = 0x05;
inline constexpr std::uint8_t kDiv = 0x06;
inline constexpr std::uint8_t kPower = 0x07;
inline constexpr std::uint8_t kConcat = 0x08;
inline constexpr std::uint8_t kLt = 0x09;
inline constexpr std::uint8_t kLe = 0x0A;
inline constexpr std::uint8_t kEq = 0x0B;
inline constexpr std::uint8_t kGe = 0x0C;
inline constexpr std::uint8_t kGt = 0x0D;
inline constexpr std::uint8_t kNe = 0x0E;
inline constexpr std::uint8_t kIntersect = 0x0F;
inline constexpr std::uint8_t kUnion = 0x10;
inline constexpr std::uint8_t kRange = 0x11;
inline constexpr std::uint8_t kUplus = 0x12;
inline constexpr std::uint8_t kUminus = 0x13;
inline constexpr std::uint8_t kPercent = 0x14;
inline constexpr std::uint8_t kParen = 0x15;
inline constexpr std::uint8_t kMissArg = 0x16;
inline constexpr std::uint8_t kStr = 0x17;
inline constexpr std::uint8_t kExtended = 0x18;
inline constexpr std::uint8_t kAttr = 0x19;
inline constexpr std::uint8_t kErr = 0x1C;
inline constexpr std::uint8_t kBool = 0x1D;
inline constexpr std::uint8_t kInt = 0x1E;
inline constexpr std::uint8_t kNum = 0x1F;
inline constexpr std::uint8_t kArray = 0x20;
inline constexpr std::uint8_t kFunc = 0x21;
inline constexpr std::uint8_t kFuncVar = 0x22;
inline constexpr std::uint8_t kName = 0x23;
inline constexpr std::uint8_t kRef = 0x24;
inline constexpr std::uint8_t kArea = 0x25;
inline constexpr std::uint8_t kMemArea = 0x26;
inline constexpr std::uint8_t kMemErr = 0x27;
inline constexpr std::uint8_t kMemNoMem = 0x28;
inline constexpr std::uint8_t kMemFunc = 0x29;
inline constexpr std::uint8_t kRefErr = 0x2A;
inline constexpr std::uint8_t kAreaErr = 0x2B;
inline constexpr std::uint8_t kRefN = 0x2C;
inline constexpr std::uint8_t kAreaN = 0x2D;
inline constexpr std::uint8_t kNameX = 0x39;
inline constexpr std::uint8_t kRef3d = 0x3A;
inline constexpr std::uint8_t kArea3d = 0x3B;
inline constexpr std::uint8_t kRefErr3d = 0x3C;
inline constexpr std::uint8_t kAreaErr3d = 0x3D;

inline constexpr std::uint8_t kClassMask = 0x60;
inline constexpr std::uint8_t kReferenceClass = 0x20;
inline constexpr std::uint8_t kValueClass = 0x40;
inline constexpr std::uint8_t kArrayClass = 0x60;

// PtgAttr's kinds (its first byte).
inline constexpr std::uint8_t kAttrVolatile = 0x01;
inline constexpr std::uint8_t kAttrIf = 0x02;
inline constexpr std::uint8_t kAttrChoose = 0x04;
inline constexpr std::uint8_t kAttrSkip = 0x08;
inline constexpr std::uint8_t kAttrSum = 0x10;
inline constexpr std::uint8_t kAttrSpace = 0x40;

// Reference fields: the column word's top bits say which parts are relative.
inline constexpr std::uint16_t kRowRelative = 0x8000;
inline constexpr std::uint16_t kColumnRelative = 0x4000;
inline constexpr std::uint16_t kColumnMask = 0x00FF;

// PtgFuncVar's function number for a function the workbook names (add-ins, and functions
// newer than the format such as IFERROR, stored as "_xlfn.IFERROR"): the name is its
// first argument.
inline constexpr std::uint16_t kUserDefinedFunction = 255;
inline constexpr std::uint16_t kFuncVarPrompt = 0x8000;
inline constexpr std::uint8_t kFuncVarArgumentMask = 0x7F;

// A token's id without its value class: 0x20-0x3F for operands, as is below 0x20.
inline constexpr std::uint8_t BaseId(std::uint8_t id) {
  return id < 0x20 ? id : static_cast<std::uint8_t>((id & 0x1F) | 0x20);
}
}  // namespace ptg

// The size of the token at `at`, id included; nothing if unknown or cut short.
std::optional<std::size_t> TokenSize(std::span<const std::uint8_t> rgce, std::size_t at);

// What a cell or area reference token (PtgRef, PtgArea, PtgRef3d or PtgArea3d, of any value
// class) points at: rows and columns as stored, the columns without their relative bits,
// and for a 3-D one its EXTERNSHEET entry.
struct ReferenceOperand {
  bool three_d = false;
  std::uint16_t ixti = 0;
  std::uint16_t first_row = 0;
  std::uint16_t last_row = 0;
  std::uint16_t first_column = 0;
  std::uint16_t last_column = 0;
};

// The reference of the token at `at`; nothing for any other token or one cut short.
std::optional<ReferenceOperand> ReadReferenceOperand(std::span<const std::uint8_t> rgce,
                                                     std::size_t at);

// The anchor of an expression that is only a PtgExp: the cell whose SHRFMLA or ARRAY
// record holds the formula this cell uses. Nothing for any other expression.
std::optional<CellAddress> ExpAnchor(std::span<const std::uint8_t> rgce);

// The first result cell of the data table an expression belongs to, when it is only a
// PtgTbl (the cell then computes the TABLE record after that cell). Nothing otherwise.
std::optional<CellAddress> TblAnchor(std::span<const std::uint8_t> rgce);

// An expression whose value is `text`: PtgStr constants of at most 255 characters each,
// joined with the concatenation operator, as one token cannot hold more.
std::vector<std::uint8_t> TextConstant(std::u16string_view text);

// A shared formula's expression as an ordinary formula of the cell at (row, column):
// references kept relative to the cell (PtgRefN, PtgAreaN, and the 3-D references that
// carry offsets in a shared formula) become the cells they point at from there. Nothing if
// the expression holds a token the engine does not know the size of.
std::optional<std::vector<std::uint8_t>> SharedFormulaForCell(std::span<const std::uint8_t> rgce,
                                                              std::uint16_t row,
                                                              std::uint16_t column);

}  // namespace xls::biff
