#pragma once

#include <optional>
#include <vector>

#include "xls/biff/cell_table_partition.h"

namespace xls::biff {

// The records that show a formula cell's cached result without computing it: a value of
// its own (numbers, booleans and errors as such), or for a text a formula of constant
// tokens, as a text cell would need the workbook's string table, which lies out of reach
// here. Nothing when the result cannot be read (a text spread over CONTINUE records).
std::optional<std::vector<Record>> CachedResultAsValue(const CellItem& item);

}  // namespace xls::biff
