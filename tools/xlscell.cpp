// xlscell: reads and writes cells of an .xls workbook through the embedded engine, for
// people who prepare templates and for tests.
//
//   xlscell FILE dump [SHEET]
//   xlscell FILE get SHEET ROW COL
//   xlscell FILE set SHEET ROW COL TEXT [ROW COL TEXT]...
//
// Rows and columns count from 1. dump prints one line per non-empty cell: sheet, row,
// column and text separated by tabs, with tab, newline, carriage return and backslash in
// texts written as \t, \n, \r and \\. Errors go to stderr with exit status 1 (2 for a
// wrong command line).

#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_encoding.h"
#include "utf8_command_line.h"
#include "workbook/failure_descriptions.h"
#include "xls/failure.h"
#include "xls/xls_document.h"

namespace {

constexpr int kUsageError = 2;

const char kUsage[] =
    "usage: xlscell FILE dump [SHEET]\n"
    "       xlscell FILE get SHEET ROW COL\n"
    "       xlscell FILE set SHEET ROW COL TEXT [ROW COL TEXT]...\n";

std::string Escaped(std::u16string_view text) {
  std::string out;
  for (const char c : base::ToUtf8(text)) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::optional<int> ParseIndex(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

void DumpSheet(const xls::XlsDocument& document, std::size_t sheet) {
  const std::string name = Escaped(document.SheetName(sheet));
  for (const auto& [address, cell] : document.Sheet(sheet).Cells()) {
    const std::u16string text = xls::biff::DisplayText(cell.value);
    if (text.empty()) continue;
    std::cout << name << '\t' << address.row + 1 << '\t' << address.column + 1 << '\t'
              << Escaped(text) << '\n';
  }
}

int Dump(const xls::XlsDocument& document, const std::vector<std::string>& args) {
  if (args.size() > 1) {
    DumpSheet(document, document.WorksheetIndex(base::FromUtf8(args[1])));
    return 0;
  }
  for (std::size_t sheet = 0; sheet < document.SheetCount(); ++sheet) DumpSheet(document, sheet);
  return 0;
}

int Get(const xls::XlsDocument& document, const std::vector<std::string>& args) {
  const std::optional<int> row = ParseIndex(args[2]);
  const std::optional<int> column = ParseIndex(args[3]);
  if (!row || !column) {
    std::cerr << kUsage;
    return kUsageError;
  }
  const std::size_t sheet = document.WorksheetIndex(base::FromUtf8(args[1]));
  std::cout << Escaped(document.Cell(sheet, *row, *column)) << '\n';
  return 0;
}

int Set(xls::XlsDocument& document, const std::vector<std::string>& args) {
  const std::size_t sheet = document.WorksheetIndex(base::FromUtf8(args[1]));
  for (std::size_t i = 2; i + 2 < args.size(); i += 3) {
    const std::optional<int> row = ParseIndex(args[i]);
    const std::optional<int> column = ParseIndex(args[i + 1]);
    if (!row || !column) {
      std::cerr << kUsage;
      return kUsageError;
    }
    document.SetCell(sheet, *row, *column, base::FromUtf8(args[i + 2]));
  }
  document.Save();
  return 0;
}

bool ValidShape(const std::vector<std::string>& args) {
  if (args.empty()) return false;
  if (args[0] == "dump") return args.size() <= 2;
  if (args[0] == "get") return args.size() == 4;
  if (args[0] == "set") return args.size() >= 5 && (args.size() - 2) % 3 == 0;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  tools::PrintUtf8();
  std::vector<std::string> args = tools::Utf8Arguments(argc, argv);
  if (args.size() < 2 || !ValidShape({args.begin() + 1, args.end()})) {
    std::cerr << kUsage;
    return kUsageError;
  }
  const std::filesystem::path path(base::FromUtf8(args[0]));
  args.erase(args.begin());
  try {
    auto document = xls::XlsDocument::Open(path);
    if (args[0] == "dump") return Dump(*document, args);
    if (args[0] == "get") return Get(*document, args);
    return Set(*document, args);
  } catch (const xls::Failure& failure) {
    const workbook::AutomationError e = workbook::DescribeEngineFailure(failure);
    std::cerr << "xlscell: 错误 " << e.Number() << "：" << e.Description() << '\n';
  } catch (const std::exception& e) {
    std::cerr << "xlscell: " << e.what() << '\n';
  }
  return 1;
}
