#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "xls/biff/cell_address.h"
#include "xls/formula/value.h"

namespace xls::formula {

class LookupLines;

// What a function or operator may ask of the workbook while a formula is evaluated.
class Context {
 public:
  virtual ~Context() = default;

  // A cell's value: a constant as stored, a formula's result as computed now (which may
  // throw Uncomputable); kEmpty for a cell that holds nothing.
  virtual Value CellValue(std::size_t sheet, biff::CellAddress cell) = 0;
  // Calls visit for every cell of the area that is not empty, row by row.
  virtual void ForEachCell(const Area& area,
                           const std::function<void(biff::CellAddress, const Value&)>& visit) = 0;

  // The cell whose formula is evaluated: a range where one value belongs is read in its row
  // or column (implicit intersection).
  virtual std::size_t OriginSheet() const = 0;
  virtual biff::CellAddress Origin() const = 0;
  // An array formula takes every cell of a range its operators meet.
  virtual bool ArrayFormula() const = 0;

  // Rows hidden by the sheet, and cells whose formula calls SUBTOTAL: SUBTOTAL leaves out
  // both (the first for its functions 101 to 111).
  virtual bool RowHidden(std::size_t /*sheet*/, std::uint16_t /*row*/) const { return false; }
  virtual bool SubtotalCell(std::size_t /*sheet*/, biff::CellAddress /*cell*/) const {
    return false;
  }
  // The lines lookups have searched in this calculation, kept for the next lookup into
  // them; nothing where each lookup must read its cells afresh.
  virtual LookupLines* Lines() { return nullptr; }
  // The worksheet of that name (INDIRECT), letters A-Z without regard to case.
  virtual std::optional<std::size_t> SheetNamed(std::u16string_view) const { return std::nullopt; }
  // What the defined name of that text gives (INDIRECT("价格表")), letters A-Z without regard
  // to case: with a sheet, only that sheet's own name; without, the name of the formula's
  // sheet, else the workbook's. Nothing where no name is so called.
  virtual std::optional<Value> NamedValue(std::u16string_view /*name*/,
                                          std::optional<std::size_t> /*sheet*/) {
    return std::nullopt;
  }

  virtual bool Date1904() const = 0;
  // The moment of the calculation as a serial date and time of the workbook's date system.
  virtual double Now() const = 0;
};

// An error value met while a function reads its arguments; the function's result is that
// error. Thrown by the argument readers of coercion.h.
struct ErrorResult {
  ErrorCode code = ErrorCode::kValue;
};

}  // namespace xls::formula
