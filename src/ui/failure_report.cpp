#include "ui/failure_report.h"

#include <cstdlib>
#include <new>

#include "tally/numeric_text.h"
#include "ui/message_box.h"
#include "workbook/automation_error.h"

namespace ui {
namespace {

constexpr int kOverflow = 6;
constexpr int kOutOfMemory = 7;

}  // namespace

FailureReport DescribeFailure(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const workbook::AutomationError& error) {
    return {error.Number(), QString::fromStdString(error.Description())};
  } catch (const tally::Overflow&) {
    return {kOverflow, QStringLiteral("溢出")};
  } catch (const std::bad_alloc&) {
    return {kOutOfMemory, QStringLiteral("内存不足")};
  } catch (...) {
    // What another exception says is for developers, in English or the system's code page;
    // the clerk gets the number and a plain description.
    return {workbook::error_number::kInternalError, QStringLiteral("内部错误")};
  }
}

QString FailureMessage(const FailureReport& report) {
  return QStringLiteral("运行时错误 '%1'：\n\n%2").arg(report.number).arg(report.description);
}

void FailAndExit(const FailureReport& report) {
  ShowMessage(nullptr, FailureMessage(report));
  // Nothing may run after the message: not the event loop, not a destructor of a window that
  // may be half way through an event.
  std::_Exit(EXIT_FAILURE);
}

}  // namespace ui
