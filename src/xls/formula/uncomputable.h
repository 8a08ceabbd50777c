#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "xls/biff/cell_address.h"

namespace xls::formula {

// Why a formula's result cannot be computed here, so that a spreadsheet program must do it.
enum class UncomputableReason {
  kUnknownFunction,        // a function this engine does not compute; `detail` names it
  kAddInFunction,          // a function of an add-in or macro; `detail` names it
  kCircularReference,      // the formula reads its own result, directly or through others
  kExternalReference,      // it reads another workbook
  kUnsupportedExpression,  // a token or construct this engine does not compute
  kTooDeep,                // a chain of formulas longer than the engine follows
  kDependsOnUncomputable,  // it reads a formula that cannot be computed: `sheet`, `cell`
};

// Thrown while a formula is evaluated and caught where its cell's result is wanted.
struct Uncomputable {
  UncomputableReason reason = UncomputableReason::kUnsupportedExpression;
  std::u16string detail;
  std::size_t sheet = 0;
  biff::CellAddress cell;
};

// The formulas of one worksheet that could not be computed, by cell.
using UncomputedCells = std::map<biff::CellAddress, Uncomputable>;

}  // namespace xls::formula
