#pragma once

#include <QString>
#include <exception>

namespace ui {

// What the clerk is told about a failure nobody handled: a number and a description.
// Workbook failures carry their own; the rest get the classic runtime error numbers.
struct FailureReport {
  int number;
  QString description;
};

FailureReport DescribeFailure(std::exception_ptr failure);

// The message box text for a report.
QString FailureMessage(const FailureReport& report);

// The program-wide end for an unhandled failure: the message, then the program stops at once,
// without running any window's closing handling.
[[noreturn]] void FailAndExit(const FailureReport& report);

}  // namespace ui
