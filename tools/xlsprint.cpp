// xlsprint WORKBOOK SHEET OUT.pdf: prints one sheet of an .xls workbook to a PDF file with
// Verdalon's own renderer, for people who prepare templates and for tests.

#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "printing/sheet_printer.h"
#include "workbook/automation_error.h"
#include "workbook/sheet_print_source.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("用法：xlsprint 工作簿.xls 工作表名 输出.pdf\n", stderr);
    return 2;
  }
  // A command-line tool needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString workbook = QString::fromLocal8Bit(argv[1]);
  const QString sheet = QString::fromLocal8Bit(argv[2]);
  const QString out = QString::fromLocal8Bit(argv[3]);
  try {
    const auto layout = workbook::LoadSheetLayout(std::filesystem::path(workbook.toStdU16String()),
                                                  sheet.toStdU16String());
    if (!printing::WriteSheetPdf(layout, out)) {
      std::fprintf(stderr, "无法写入“%s”。\n", out.toLocal8Bit().constData());
      return 1;
    }
  } catch (const workbook::AutomationError& e) {
    std::fprintf(stderr, "错误 %d：%s\n", e.Number(), e.what());
    return 1;
  }
  return 0;
}
