#pragma once

#include <optional>
#include <string_view>

namespace xls::formula {

// A text read as a number where arithmetic or a criterion needs one, as spreadsheets read
// what is typed into a cell: plain numbers ("1,200", "-3.5e2"), percentages ("12%"),
// amounts with a currency sign ("¥3", "$-2", "-￥1,000"), negatives in parentheses
// ("(1,200)"), dates ("2026-12-08", "2026/12/8", "2026年12月8日"), times ("12:30", "8:05:30", "3:15
// PM") and a date followed by a time. Dates give serial numbers of the workbook's date system.
// Nothing for any other text.
std::optional<double> NumberOfText(std::u16string_view text, bool date1904);

}  // namespace xls::formula
