#pragma once

#include <QString>
#include <exception>
#include <functional>

class QWidget;

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

// How a command of the window reports what went wrong: runs `action`, and a failure it
// throws is shown to the clerk over `parent`; the program and the window go on as they were.
void ReportFailure(QWidget* parent, const std::function<void()>& action);

// The program-wide end for an unhandled failure: the message, then the program stops at once,
// without running any window's closing handling.
[[noreturn]] void FailAndExit(const FailureReport& report);

}  // namespace ui
