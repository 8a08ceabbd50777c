#pragma once

#include <string_view>
#include <vector>

#include "xls/biff/cell_value.h"
#include "xls/biff/record.h"

namespace xls::biff {

// A FORMULA record's cached result, as spreadsheets store it: a number in the result
// field; otherwise the marker 0xFFFF with the kind (text, boolean, error, empty text) and,
// for a text, a STRING record after the cell's records. `records` are the cell's: FORMULA
// first, then those that belong to it; its STRING (and that string's CONTINUEs) are
// replaced. True if anything changed.
bool StoreFormulaResult(std::vector<Record>& records, const CellValue& result);

// Asks a spreadsheet program to compute the formula whenever it loads the file.
bool MarkAlwaysCalculate(Record& formula);

// A STRING record holding `text`, with CONTINUE records where it does not fit in one.
std::vector<Record> StringRecords(std::u16string_view text);

}  // namespace xls::biff
