#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "billbook/book_failure.h"
#include "workbook/automation_error.h"
#include "xls/failure.h"

namespace workbook {

// The one place where a workbook failure becomes what the clerk reads: its classic error
// number and a Chinese description that names the file, and the sheet where there is one.
// No system or engine text is passed through, so the message reads the same whatever the
// system's language or code page.

AutomationError DescribeEngineFailure(const xls::Failure& failure);

// Failures of the automation conversation itself rather than of a workbook file.
AutomationError UnknownProgIdError(std::string_view prog_id);
AutomationError InstanceEndedError();
AutomationError WorkbookClosedError(const std::filesystem::path& path);
AutomationError NothingToShowWorkbookError(const std::filesystem::path& path);
// Something nobody foresaw went wrong while exporting; the tally on screen is untouched.
AutomationError UnexpectedExportError();

// What the clerk asked of the bill book when it failed.
enum class BookOperation {
  kRecording,  // after an export: the export and printing went on all the same
  kReading,    // the book's window listing, summing or opening bills
  kVoiding,    // 作废 of a bill
};

// A failure of the bill book: what went wrong, naming the book, and what became of what the
// clerk asked (this bill not recorded, or not voided).
std::string DescribeBookFailure(billbook::Failure failure, const std::filesystem::path& book,
                                BookOperation operation = BookOperation::kRecording);

// Failures of exporting the bill book into a workbook of its own; no workbook was left.
AutomationError NoBillsToExportError();
AutomationError TooManyRowsToExportError(std::u16string_view sheet, std::size_t rows);
AutomationError NoFreeExportNameError(const std::filesystem::path& first_name);
AutomationError ExportTemplateMissingError(const std::filesystem::path& template_file);
AutomationError BookExportReadError(billbook::Failure failure, const std::filesystem::path& book);

}  // namespace workbook
