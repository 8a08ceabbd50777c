#include "ui/failure_report.h"

#include <cstdlib>
#include <new>

#include "tally/numeric_text.h"
#include "ui/message_box.h"
#include "workbook/automation_error.h"

namespace ui {

FailureReport DescribeFailure(std::exception_ptr failure) {
  namespace error_number = workbook::error_number;
  try {
    std::rethrow_exception(failure);
  } catch (const workbook::AutomationError& error) {
    return {error.Number(), QString::fromStdString(error.Description())};
  } catch (const tally::Overflow&) {
    return {error_number::kOverflow, QStringLiteral("溢出")};
  } catch (const std::bad_alloc&) {
    return {error_number::kOutOfMemory, QStringLiteral("内存不足")};
  } catch (...) {
    // What another exception says is for developers, in English or the system's code page;
    // the clerk gets the number and a plain description.
    return {error_number::kInternalError, QStringLiteral("内部错误")};
  }
}

QString FailureMessage(const FailureReport& report) {
  return QStringLiteral("运行时错误 '%1'：\n\n%2").arg(report.number).arg(report.description);
}

void ReportFailure(QWidget* parent, const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception&) {
    ShowMessage(parent, FailureMessage(DescribeFailure(std::current_exception())));
  }
}

void FailAndExit(const FailureReport& report) {
  ShowMessage(nullptr, FailureMessage(report));
  // Nothing may run after the message: not the event loop, not a destructor of a window that
  // may be half way through an event.
  std::_Exit(EXIT_FAILURE);
}

}  // namespace ui
