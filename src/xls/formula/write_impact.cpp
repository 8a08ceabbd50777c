#include "xls/formula/write_impact.h"

#include <algorithm>
#include <iterator>

#include "xls/formula/function_table.h"

namespace xls::formula {

namespace {

// Functions whose result does not follow from their arguments' cells alone: INDIRECT,
// OFFSET, RAND (and the volatile ones the engine computes, TODAY and NOW).
constexpr std::uint16_t kUnfollowable[] = {148, 78, 63};

}  // namespace

WriteImpact::WriteImpact(const WorkbookModel& model, const std::set<CellKey>& written)
    : model_(model), written_(written) {
  for (const CellKey& key : written_) written_sheets_.insert(key.first);
}

bool WriteImpact::ReadsWrittenCells(std::size_t sheet, biff::CellAddress cell) {
  const CellKey key{sheet, cell};
  if (const auto found = known_.find(key); found != known_.end()) return found->second;
  known_[key] = false;  // a cycle adds nothing new
  const FormulaCell& formula = model_.sheets[sheet].formulas.at(cell);
  const bool reads = ExpressionReads(formula.expression, sheet);
  known_[key] = reads;
  return reads;
}

bool WriteImpact::AreaReads(std::size_t sheet, const biff::CellAddress& first,
                            const biff::CellAddress& last) {
  const auto from = written_.lower_bound({sheet, first});
  for (auto it = from; it != written_.end() && it->first == sheet && it->second.row <= last.row;
       ++it) {
    if (it->second.column >= first.column && it->second.column <= last.column) return true;
  }
  const auto& formulas = model_.sheets[sheet].formulas;
  for (auto it = formulas.lower_bound(first); it != formulas.end() && it->first.row <= last.row;
       ++it) {
    if (it->first.column < first.column || it->first.column > last.column) continue;
    if (ReadsWrittenCells(sheet, it->first)) return true;
  }
  return false;
}

bool WriteImpact::ExpressionReads(const Expression& expression, std::size_t sheet) {
  // A data table, or anything else the engine cannot read: any write on its sheet counts.
  if (expression.unsupported_token) return written_sheets_.count(sheet) != 0;
  if (expression.is_volatile) return true;
  for (const Token& token : expression.tokens) {
    switch (token.kind) {
      case Token::Kind::kReference: {
        std::vector<std::size_t> sheets;
        if (!token.three_d) {
          sheets.push_back(sheet);
        } else if (const auto span = model_.links.Sheets(token.ixti);
                   span && span->kind == WorkbookLinks::SheetSpan::Kind::kThisWorkbook) {
          for (std::size_t e = span->first; e <= span->last && e < model_.sheet_of_entry.size();
               ++e) {
            if (model_.sheet_of_entry[e]) sheets.push_back(*model_.sheet_of_entry[e]);
          }
        }
        const biff::CellAddress first{std::min(token.first_row, token.last_row),
                                      std::min(token.first_column, token.last_column)};
        const biff::CellAddress last{std::max(token.first_row, token.last_row),
                                     std::max(token.first_column, token.last_column)};
        for (const std::size_t s : sheets) {
          if (AreaReads(s, first, last)) return true;
        }
        break;
      }
      case Token::Kind::kName:
      case Token::Kind::kExternName: {
        if (token.kind == Token::Kind::kExternName) {
          const auto span = model_.links.Sheets(token.ixti);
          if (!span || span->kind != WorkbookLinks::SheetSpan::Kind::kThisWorkbook) break;
        }
        const WorkbookLinks::DefinedName* name = model_.links.Name(token.index);
        if (name == nullptr || name->function || !names_seen_.insert(token.index).second) break;
        const bool reads = ExpressionReads(DecodeExpression(name->rgce, name->rgcb), sheet);
        names_seen_.erase(token.index);
        if (reads) return true;
        break;
      }
      case Token::Kind::kFunction: {
        if (std::find(std::begin(kUnfollowable), std::end(kUnfollowable), token.function) !=
            std::end(kUnfollowable)) {
          return true;
        }
        const FunctionInfo* info = FunctionById(token.function);
        if (info != nullptr && info->is_volatile) return true;
        break;
      }
      default:
        break;
    }
  }
  return false;
}

}  // namespace xls::formula
