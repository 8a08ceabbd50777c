#include "xls/formula/workbook_calculation.h"

#include <ctime>

#include "xls/biff/byte_io.h"
#include "xls/biff/record.h"
#include "xls/biff/record_fields.h"
#include "xls/formula/write_impact.h"
#include "xls/number_format/serial_date.h"

namespace xls::formula {

WorkbookCalculation::WorkbookCalculation(const biff::BiffWorkbook& book, double now) {
  model_.links = WorkbookLinks::Parse(book.GlobalsRecords());
  model_.date1904 = book.Globals().Date1904();
  model_.sheet_of_entry = book.WorksheetOfEntries();
  model_.sheets.resize(book.SheetCount());
  std::vector<std::vector<biff::CellAddress>> unreadable(book.SheetCount());
  for (std::size_t s = 0; s < book.SheetCount(); ++s) {
    const biff::SheetSubstream& sheet = book.Sheet(s);
    model_.sheets[s].cells = &sheet.Cells();
    for (const biff::Record& record : sheet.OriginalRecords()) {
      if (record.type != biff::record_type::kRow ||
          record.body.size() < biff::row_record::kBodySize) {
        continue;
      }
      if ((biff::GetU16(record.body, biff::row_record::kFlags) & biff::row_record::kHidden) != 0) {
        model_.sheets[s].hidden_rows.insert(biff::GetU16(record.body, biff::row_record::kRow));
      }
    }
    model_.sheet_names.push_back(book.SheetName(s));
    for (biff::CellFormula& formula : sheet.Formulas()) {
      FormulaCell cell;
      if (formula.readable) {
        cell.expression = DecodeExpression(formula.rgce, formula.rgcb);
      } else {
        cell.expression.unsupported_token = 0;
      }
      cell.array = formula.array;
      cell.array_first = formula.array_first;
      model_.sheets[s].formulas.emplace(formula.cell, std::move(cell));
    }
  }
  Evaluator evaluator(model_, now);
  outcomes_.resize(model_.sheets.size());
  for (std::size_t s = 0; s < model_.sheets.size(); ++s) {
    for (const auto& [cell, formula] : model_.sheets[s].formulas) {
      outcomes_[s][cell] = evaluator.Result(s, cell);
    }
  }
}

void WorkbookCalculation::Store(biff::BiffWorkbook& book) const {
  WriteImpact impact(model_, book.WrittenCells());
  for (std::size_t s = 0; s < outcomes_.size(); ++s) {
    biff::SheetSubstream& sheet = book.Sheet(s);
    for (const auto& [cell, outcome] : outcomes_[s]) {
      if (outcome.value) {
        sheet.StoreFormulaResult(cell, StoredForm(*outcome.value), false);
      } else if (impact.ReadsWrittenCells(s, cell)) {
        sheet.StoreFormulaResult(cell, biff::CellValue::Error(ErrorCode::kNotAvailable), true);
      } else if (const biff::CellData* stored = sheet.Find(cell)) {
        // Nothing it reads has changed: the result the file holds still stands.
        sheet.StoreFormulaResult(cell, stored->value, true);
      }
    }
  }
}

std::vector<UncomputedCells> WorkbookCalculation::Uncomputed() const {
  std::vector<UncomputedCells> uncomputed(outcomes_.size());
  for (std::size_t s = 0; s < outcomes_.size(); ++s) {
    for (const auto& [cell, outcome] : outcomes_[s]) {
      if (!outcome.value) uncomputed[s].emplace(cell, outcome.why);
    }
  }
  return uncomputed;
}

double CurrentSerialTime(bool date1904) {
  const std::time_t now = std::time(nullptr);
  const std::tm local = *std::localtime(&now);
  return number_format::SerialOfDateTime(
      local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
      local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec, date1904);
}

bool UsesDate1904(const biff::BiffWorkbook& book) {
  return book.Globals().Date1904();
}

}  // namespace xls::formula
