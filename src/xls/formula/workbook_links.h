#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "xls/biff/name_record.h"
#include "xls/biff/record.h"

namespace xls::formula {

// How a workbook's formulas reach other sheets and names: SUPBOOK (this workbook, add-ins,
// other workbooks), EXTERNSHEET (the sheet ranges 3-D references point at), EXTERNNAME (the
// names of add-in and newer functions) and NAME (defined names and function names).
class WorkbookLinks {
 public:
  static WorkbookLinks Parse(const std::vector<biff::Record>& globals);

  // The sheets, by their place among the workbook's sheet entries, an EXTERNSHEET entry
  // spans in this workbook.
  struct SheetSpan {
    enum class Kind { kThisWorkbook, kDeletedSheet, kOtherWorkbook, kAddIn };
    Kind kind = Kind::kOtherWorkbook;
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t supporting_book = 0;
  };
  std::optional<SheetSpan> Sheets(std::uint16_t ixti) const;

  using DefinedName = biff::DefinedName;
  // NAME records count from 1 in formulas.
  const DefinedName* Name(std::uint16_t index) const;
  // The name of an EXTERNNAME of a supporting book (from 1, as PtgNameX counts them).
  const std::u16string* ExternalName(std::size_t supporting_book, std::uint16_t index) const;

 private:
  struct SupportingBook {
    enum class Kind { kThisWorkbook, kAddIn, kOther };
    Kind kind = Kind::kOther;
    std::vector<std::u16string> names;
  };
  struct ExternSheet {
    std::uint16_t book = 0;
    std::uint16_t first = 0;
    std::uint16_t last = 0;
  };
  std::vector<SupportingBook> books_;
  std::vector<ExternSheet> extern_sheets_;
  std::vector<DefinedName> names_;
};

}  // namespace xls::formula
