#pragma once

// 导出: what the bill book's window shows, written into a new workbook beside the book for
// the owner to sort, filter and sum in the spreadsheet program.

#include <filesystem>

#include "billbook/bill_book.h"
#include "billbook/bill_query.h"

namespace workbook {

// The template the export fills, shipped beside the program (templates/ in the sources).
inline constexpr char16_t kBookExportTemplateFileName[] = u"账本导出样板.xls";
std::filesystem::path BookExportTemplatePath(const std::filesystem::path& program_directory);

// The sheets of the template, in order: one row per bill, one per line of a bill, one per
// buyer with the 合计 below. Row 1 of each holds the headings.
inline constexpr char16_t kBillsSheet[] = u"单据";
inline constexpr char16_t kLinesSheet[] = u"明细";
inline constexpr char16_t kBuyersSheet[] = u"汇总";

// The name of the export of the days `first_day` to `last_day` (YYYYMMDD), the `copy`-th
// of that name: 账本-20261201-20261231.xls, then 账本-20261201-20261231-2.xls and so on.
std::filesystem::path BookExportFileName(int first_day, int last_day, int copy = 1);

// Writes every bill `query` finds in `book`, oldest first, into a new workbook in `folder`
// made from `template_file`, and returns its path. The workbook is named after the query's
// period; where the period is open at an end (全部), after the first or last day that has a
// bill. An existing file is never written over: the next free copy number is taken.
// Voided bills are listed, marked 已作废, and left out of the per-buyer sums and 合计.
// Figures are stored as numbers, so that the spreadsheet sums them.
//
// Throws AutomationError: no bill found, more rows than a sheet holds, no free name, the
// template missing or unreadable, the book unreadable, the workbook not written. After a
// failure no workbook of the export is left in `folder`.
std::filesystem::path ExportBook(const billbook::BillBook& book, const billbook::BillQuery& query,
                                 const std::filesystem::path& folder,
                                 const std::filesystem::path& template_file);

}  // namespace workbook
