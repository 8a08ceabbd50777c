// The program-wide path for a failure nobody handled.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <new>
#include <stdexcept>

#include "message_answering.h"
#include "tally/numeric_text.h"
#include "ui/failure_report.h"
#include "ui/form1.h"
#include "workbook/automation_error.h"

namespace ui {
namespace {

FailureReport Describe(auto failure) {
  return DescribeFailure(std::make_exception_ptr(failure));
}

TEST(FailureReportTest, NumbersAndDescriptions) {
  const FailureReport workbook = Describe(workbook::AutomationError(53, "找不到文件 锯材账单.xls"));
  EXPECT_EQ(workbook.number, 53);
  EXPECT_EQ(workbook.description, "找不到文件 锯材账单.xls");

  EXPECT_EQ(Describe(tally::Overflow("1e999")).number, 6);
  EXPECT_EQ(Describe(std::bad_alloc()).number, 7);
  const FailureReport other = Describe(std::runtime_error("boom"));
  EXPECT_EQ(other.number, 51);
  // A developer's English text never reaches the clerk.
  EXPECT_FALSE(other.description.contains("boom"));
  EXPECT_EQ(other.description, QStringLiteral("内部错误"));
  EXPECT_EQ(DescribeFailure(std::make_exception_ptr(42)).number, 51);

  const QString message = FailureMessage(workbook);
  EXPECT_TRUE(message.contains("53"));
  EXPECT_TRUE(message.contains("找不到文件 锯材账单.xls"));
}

// A failure escaping a click handler shows its number and description, then ends the program.
TEST(FailureReportDeathTest, EscapedFailureEndsTheProgramAfterTheMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        test_support::AnswerEveryMessageBox();
        Form1 form;
        form.SetExportHandler([] { throw workbook::AutomationError(70, "文件被占用"); });
        form.show();
        QTest::mouseClick(form.findChild<QWidget*>("Command4"), Qt::LeftButton);
        std::fprintf(stderr, "still running\n");
        std::exit(0);
      },
      ::testing::ExitedWithCode(1), ::testing::HasSubstr("'70'：\n\n文件被占用"));
}

}  // namespace
}  // namespace ui
