#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "xls/biff/cell_address.h"
#include "xls/formula/lookup_line.h"
#include "xls/formula/uncomputable.h"
#include "xls/formula/value.h"
#include "xls/formula/workbook_model.h"

namespace xls::formula {

// A formula cell's result: a plain value (number, text, boolean or error), or why it
// cannot be computed here.
struct Outcome {
  std::optional<Value> value;
  Uncomputable why;
};

// Computes the formulas of a workbook from its stored cells, each once: results are kept
// for the formulas that read them.
class Evaluator {
 public:
  // now: the moment TODAY and NOW give, as a serial number of the workbook's date system.
  Evaluator(const WorkbookModel& model, double now);

  // The result of the formula in that cell (which must be a formula cell of the model).
  Outcome Result(std::size_t sheet, biff::CellAddress cell);

 private:
  class FormulaContext;
  friend class FormulaContext;
  using Key = std::pair<std::size_t, biff::CellAddress>;
  struct Entry {
    bool busy = false;
    Outcome outcome;
  };

  // Throws Uncomputable where the result cannot be had.
  Value ResultOrThrow(std::size_t sheet, biff::CellAddress cell);
  // The formula's result, to be kept by ResultOrThrow.
  Value Compute(std::size_t sheet, biff::CellAddress cell, const FormulaCell& formula);
  Value CellValue(std::size_t sheet, biff::CellAddress cell);
  Value ArrayResult(std::size_t sheet, biff::CellAddress first, const Expression& expression);
  // cell_formula: the whole formula of a cell, whose last + or - takes Excel's zero.
  Value Evaluate(const Expression& expression, FormulaContext& context, bool cell_formula = false);
  Value NameValue(std::uint16_t index, FormulaContext& context);
  // A name of another book: this workbook's own, or an add-in's function.
  Value ExternNameValue(const Token& token, FormulaContext& context);
  std::vector<Area> Areas(const Token& token, FormulaContext& context) const;
  Value Call(const Token& token, std::vector<Value> arguments, FormulaContext& context);

  const WorkbookModel& model_;
  double now_;
  std::map<Key, Entry> results_;
  std::map<Key, Value> arrays_;
  std::map<std::uint16_t, Expression> names_;
  std::set<std::uint16_t> names_busy_;
  // Searched lines last as long as this calculation.
  LookupLines lookup_lines_;
  int depth_ = 0;
};

}  // namespace xls::formula
