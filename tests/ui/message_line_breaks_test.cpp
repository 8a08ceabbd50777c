// Messages are broken into lines at separators only: a file name stays whole on its line.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QRegularExpression>
#include <algorithm>
#include <filesystem>

#include "ui/message_line_breaks.h"
#include "workbook/failure_descriptions.h"
#include "xls/failure.h"

namespace ui {
namespace {

QString MissingWorkbookMessage(const char* folder) {
  const std::filesystem::path path =
      std::filesystem::path(reinterpret_cast<const char8_t*>(folder)) / u8"锯材账单.xls";
  return QString::fromStdString(
      workbook::DescribeEngineFailure(xls::Failure(xls::FailureKind::kNotFound, path))
          .Description());
}

TEST(MessageLineBreaksTest, BreaksOnlyAtSeparatorsAndKeepsNamesWhole) {
  const QFontMetrics metrics(QApplication::font());
  const int width = metrics.horizontalAdvance(QStringLiteral("中")) * 20;
  // Joined to the workbook's name with the system's separator, / or \.
  const QString long_folder = QStringLiteral("二〇二四年十一月份锯材销售账目及客户往来备份资料");
  const struct {
    QString message;
    QStringList whole;  // each stands on one line
  } cases[] = {
      {MissingWorkbookMessage("/home/收银员/桌面/收银台 Verdalon"),
       {"收银员/", "锯材账单.xls”。", "请把工作簿放在程序所在的文件夹中。"}},
      {MissingWorkbookMessage("/srv/共享文件夹/二〇二四年十一月份锯材销售账目及客户往来备份资料"),
       {long_folder, "锯材账单.xls”。"}},
      {QStringLiteral(
           "工作簿“D:\\木材\\锯材账单.xls”正被用户“张三”（电脑“财务室”）在电子表格程序中打开。"),
       {"锯材账单.xls”", "“张三”", "“财务室”）"}},
      {QStringLiteral(
           "运行时错误 '53'：\n\n找不到文件“/home/zhangsan/桌面/收银台 Verdalon/锯材账单.xls”。"),
       {"运行时错误 '53'：", "锯材账单.xls”。"}},
  };
  for (const auto& c : cases) {
    const QString broken = BreakAtSeparators(c.message, metrics, width);
    SCOPED_TRACE(broken.toStdString());
    EXPECT_EQ(QString(broken).remove(QChar::LineSeparator), c.message) << "only breaks added";
    const QStringList lines = broken.split(QRegularExpression(QStringLiteral("[\n\u2028]")));
    EXPECT_GT(lines.size(), c.message.split('\n').size())
        << "a message wider than a line is broken";
    for (const QString& name : c.whole) {
      EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                              [&](const QString& line) { return line.contains(name); }))
          << name.toStdString() << " is split";
    }
    for (const QString& line : lines) {
      if (line.isEmpty()) continue;
      EXPECT_FALSE(QStringLiteral("，。；：、）”.").contains(line.at(0))) << line.toStdString();
      // The one piece without a separator that is wider than a line stands alone.
      if (line.trimmed().chopped(1) == long_folder) continue;
      EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), width) << line.toStdString();
    }
  }
}

}  // namespace
}  // namespace ui
