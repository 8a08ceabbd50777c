// xlsprint WORKBOOK SHEET OUT.pdf: prints one sheet of an .xls workbook to a PDF file with
// Verdalon's own renderer, for people who prepare templates and for tests.

#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "headless_platform.h"
#include "printing/sheet_printer.h"
#include "utf8_command_line.h"
#include "workbook/automation_error.h"
#include "workbook/formula_descriptions.h"
#include "workbook/sheet_print_source.h"

int main(int argc, char** argv) {
  tools::PrintUtf8();
  const std::vector<std::string> args = tools::Utf8Arguments(argc, argv);
  if (args.size() != 3) {
    std::fputs("用法：xlsprint 工作簿.xls 工作表名 输出.pdf\n", stderr);
    return 2;
  }
  // A command-line tool needs no display.
  tools::PreferHeadlessPlatform();
  QGuiApplication app(argc, argv);
  const QString workbook = QString::fromStdString(args[0]);
  const QString sheet = QString::fromStdString(args[1]);
  const QString out = QString::fromStdString(args[2]);
  try {
    const auto layout = workbook::LoadSheetLayout(std::filesystem::path(workbook.toStdU16String()),
                                                  sheet.toStdU16String());
    // Told, not refused: the PDF is written all the same.
    if (const std::u16string warning = workbook::PrintoutWarning(layout); !warning.empty()) {
      std::fprintf(stderr, "%s\n", QString::fromStdU16String(warning).toStdString().c_str());
    }
    if (!printing::WriteSheetPdf(layout, out)) {
      std::fprintf(stderr, "无法写入“%s”。\n", args[2].c_str());
      return 1;
    }
  } catch (const workbook::AutomationError& e) {
    std::fprintf(stderr, "错误 %d：%s\n", e.Number(), e.what());
    return 1;
  }
  return 0;
}
