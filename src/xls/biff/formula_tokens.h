#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace xls::biff {

// Parsed expressions (rgce) of BIFF8 formulas, as far as the engine must look into them:
// which anchor a cell of a shared or array formula refers to, and how a shared formula
// reads when written out for one cell.

struct CellAnchor {
  std::uint16_t row = 0;
  std::uint16_t column = 0;
  friend bool operator==(const CellAnchor&, const CellAnchor&) = default;
};

// The anchor of an expression that is only a PtgExp: the cell whose SHRFMLA or ARRAY
// record holds the formula this cell uses. Nothing for any other expression.
std::optional<CellAnchor> ExpAnchor(std::span<const std::uint8_t> rgce);

// The first result cell of the data table an expression belongs to, when it is only a
// PtgTbl (the cell then computes the TABLE record after that cell). Nothing otherwise.
std::optional<CellAnchor> TblAnchor(std::span<const std::uint8_t> rgce);

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

// Whether an expression may read cells of another sheet: it holds a 3-D reference or a
// name, or a token the engine does not know (which is taken to, to be safe).
bool MayReadOtherSheets(std::span<const std::uint8_t> rgce);

}  // namespace xls::biff
