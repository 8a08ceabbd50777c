// After an export, every formula's stored result is what LibreOffice computes from the same
// file: read back with xlrd (which shows stored results and computes nothing) and compared
// with LibreOffice's CSV of each sheet. The templates are bill templates saved by
// LibreOffice and by gnumeric (templates/formula-samples/), exported with several tallies,
// an empty one included; corpus files written by Excel are saved after one written cell.
// A formula the engine leaves to the spreadsheet program must carry the flag that asks for
// it and #N/A, never a value that could be taken for its result.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "biff_streams.h"
#include "compound_files.h"
#include "spreadsheet_programs.h"
#include "xls/biff/cell_table_partition.h"
#include "xls/biff/record_fields.h"
#include "xls/formula/workbook_calculation.h"
#include "xls/layout/sheet_layout_file.h"
#include "xls/xls_document.h"

namespace {

namespace fs = std::filesystem;

struct TallyLine {
  std::u16string cells[8];
};

struct Tally {
  const char* name;
  std::u16string buyer;
  std::vector<TallyLine> lines;
  std::u16string scaler, volume, amount;
};

std::vector<Tally> Tallies() {
  Tally full{"full", u"福建永安林海木业有限公司", {}, u"李四", u"", u""};
  double volume = 0;
  double amount = 0;
  for (int i = 0; i < 13; ++i) {
    const double v = 0.0125 * (i + 1);
    const double a = std::round(v * (1150 + 10 * i) * 100) / 100;
    volume += v;
    amount += a;
    char text[8][32];
    std::snprintf(text[0], 32, "%d", 4 + i % 3);
    std::snprintf(text[1], 32, "%d", 20 + i);
    std::snprintf(text[2], 32, "%d", 5);
    std::snprintf(text[3], 32, "%d", 1 + i % 4);
    std::snprintf(text[4], 32, "%d", 10);
    std::snprintf(text[5], 32, "%.4f", v);
    std::snprintf(text[6], 32, "%d", 1150 + 10 * i);
    std::snprintf(text[7], 32, "%.2f", a);
    TallyLine line;
    for (int c = 0; c < 8; ++c) line.cells[c] = base::FromUtf8(text[c]);
    full.lines.push_back(line);
  }
  char total[2][32];
  std::snprintf(total[0], 32, "%.4f", volume);
  std::snprintf(total[1], 32, "%.2f", amount);
  full.volume = base::FromUtf8(total[0]);
  full.amount = base::FromUtf8(total[1]);
  return {
      {"empty", u"", {}, u"", u"", u""},
      {"one line",
       u"王五",
       {{{u"4", u"20", u"5", u"2", u"10", u"1.9181", u"1200", u"2301.77"}}},
       u"",
       u"1.9181",
       u"2301.77"},
      full,
  };
}

void Export(xls::XlsDocument& document, const Tally& tally) {
  const std::size_t sheet = document.WorksheetIndex(u"码单");
  document.SetCell(sheet, 3, 2, tally.buyer);
  for (int r = 0; r < 13; ++r) {
    for (int c = 0; c < 8; ++c) {
      const std::size_t line = static_cast<std::size_t>(r);
      document.SetCell(sheet, 5 + r, 1 + c,
                       line < tally.lines.size() ? tally.lines[line].cells[c] : u"");
    }
  }
  document.SetCell(sheet, 18, 2, tally.scaler);
  document.SetCell(sheet, 18, 6, tally.volume);
  document.SetCell(sheet, 18, 7, tally.amount);
}

// One CSV line into its fields (LibreOffice quotes fields with commas or quotes).
std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) rows.push_back(CsvFields(line));
  return rows;
}

// What xlrd reads from the file: per sheet, per cell, its type and value as text.
struct StoredCell {
  int type = 0;  // xlrd's: 1 text, 2 number, 3 date, 4 boolean, 5 error
  std::string value;
  bool date1904 = false;
};
using StoredSheet = std::map<std::pair<int, int>, StoredCell>;

std::vector<StoredSheet> ReadWithXlrd(const fs::path& file, const fs::path& work) {
  const fs::path out = work / "xlrd.txt";
  const std::string script =
      "import xlrd, sys\n"
      "b = xlrd.open_workbook(sys.argv[1])\n"
      "with open(sys.argv[2], 'w', encoding='utf-8') as o:\n"
      "  o.write('datemode %d\\n' % b.datemode)\n"
      "  for i in range(b.nsheets):\n"
      "    s = b.sheet_by_index(i)\n"
      "    o.write('sheet\\n')\n"
      "    for r in range(s.nrows):\n"
      "      for c in range(s.ncols):\n"
      "        t = s.cell_type(r, c)\n"
      "        v = s.cell_value(r, c)\n"
      "        if t in (2, 3): v = repr(float(v))\n"
      "        if t == 5: v = xlrd.error_text_from_code.get(v, '?')\n"
      "        o.write('%d\\t%d\\t%d\\t%s\\n' % (r, c, t, str(v).replace('\\n', ' ')))\n";
  const fs::path script_file = work / "dump.py";
  std::ofstream(script_file) << script;
  std::vector<StoredSheet> sheets;
  if (!test_support::Run("/usr/bin/python3 '" + script_file.string() + "' '" + file.string() +
                         "' '" + out.string() + "'")) {
    return sheets;
  }
  std::ifstream in(out);
  std::string line;
  bool date1904 = false;
  while (std::getline(in, line)) {
    if (line.starts_with("datemode ")) {
      date1904 = line == "datemode 1";
      continue;
    }
    if (line == "sheet") {
      sheets.emplace_back();
      continue;
    }
    std::istringstream fields(line);
    int row = 0;
    int column = 0;
    StoredCell cell;
    cell.date1904 = date1904;
    fields >> row >> column >> cell.type;
    fields.get();
    std::getline(fields, cell.value);
    sheets.back()[{row, column}] = cell;
  }
  return sheets;
}

// The formula cells of each sheet and whether each asks to be computed on loading.
std::vector<std::map<std::pair<int, int>, bool>> FormulaCells(const fs::path& file) {
  std::vector<std::map<std::pair<int, int>, bool>> sheets;
  const auto document = xls::XlsDocument::Open(file);
  for (std::size_t s = 0; s < document->SheetCount(); ++s) {
    sheets.emplace_back();
    for (const auto& formula : document->Sheet(s).Formulas()) {
      sheets.back()[{formula.cell.row, formula.cell.column}] = false;
    }
  }
  // The flag lies in the FORMULA records.
  const auto container = xls::cfb::CompoundFile::Read(test_support::LoadFile(file));
  const auto stream = test_support::ReadStream(*container.ReadStream(u"Workbook"));
  for (std::size_t s = 0; s < stream.sheets.size() && s < sheets.size(); ++s) {
    for (const auto& record : stream.sheets[s]) {
      if (record.type != xls::biff::record_type::kFormula) continue;
      const int row = record.body[0] | record.body[1] << 8;
      const int column = record.body[2] | record.body[3] << 8;
      const auto found = sheets[s].find({row, column});
      if (found != sheets[s].end()) {
        found->second = (record.body[xls::biff::formula_record::kFlags] &
                         xls::biff::formula_record::kAlwaysCalculate) != 0;
      }
    }
  }
  return sheets;
}

// LibreOffice's CSV shows date results as dates (MM/DD/YYYY, perhaps a time after them):
// back to the serial number of the 1900 date system, or nothing.
std::optional<double> DateSerial(const std::string& text) {
  int month = 0;
  int day = 0;
  int year = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  const int fields = std::sscanf(text.c_str(), "%2d/%2d/%4d %2d:%2d:%2d", &month, &day, &year,
                                 &hour, &minute, &second);
  if (fields != 3 && fields != 6) return std::nullopt;
  // Days since 1899-12-30, which serials count from after 1900-02-28.
  const auto days_from_civil = [](long y, long m, long d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy;
  };
  return static_cast<double>(days_from_civil(year, month, day) - days_from_civil(1899, 12, 30)) +
         (hour * 3600 + minute * 60 + second) / 86400.0;
}

// LibreOffice writes TRUE and FALSE as 1 and 0 (its booleans are numbers) and some errors
// by its own names.
bool SameValue(const StoredCell& stored, const std::string& computed) {
  switch (stored.type) {
    case 2:
    case 3: {
      char* end = nullptr;
      double expected = std::strtod(computed.c_str(), &end);
      if (end == computed.c_str() || *end != '\0') {
        const std::optional<double> date = DateSerial(computed);
        if (!date) return false;
        constexpr double k1904Offset =
            1462;  // days from 1900-01-00 to 1904-01-01, 1900-02-29 included
        expected = stored.date1904 ? *date - k1904Offset : *date;
      }
      const double actual = std::strtod(stored.value.c_str(), nullptr);
      return std::fabs(actual - expected) <= 1e-9 * std::max(1.0, std::fabs(expected));
    }
    case 4:
      return (stored.value == "1" || stored.value == "True") ==
             (computed == "1" || computed == "TRUE");
    case 5:
      // LibreOffice names a wrong argument (SQRT(-2)) Err:502 where Excel has #NUM! or
      // #VALUE!, and an empty intersection #REF! where Excel has #NULL!.
      return stored.value == computed ||
             ((stored.value == "#VALUE!" || stored.value == "#NUM!") && computed == "Err:502") ||
             (stored.value == "#NULL!" && computed == "#REF!");
    default:
      return stored.value == computed;
  }
}

struct Checked {
  int compared = 0;
  int left_to_spreadsheet = 0;
};

// Compares every formula of the saved file with LibreOffice; adds to the counts.
// The formula cells the engine leaves to the spreadsheet program, per sheet.
std::vector<std::set<std::pair<int, int>>> Uncomputed(const fs::path& file) {
  const auto document = xls::XlsDocument::Open(file);
  const xls::formula::WorkbookCalculation calculation(document->Book(), 0);
  std::vector<std::set<std::pair<int, int>>> sheets(document->SheetCount());
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    for (const auto& [cell, outcome] : calculation.Outcomes(s)) {
      if (!outcome.value) sheets[s].insert({cell.row, cell.column});
    }
  }
  return sheets;
}

// original: the file before the save, whose results a formula left to the spreadsheet
// program keeps where nothing it reads was written.
void CompareWithLibreOffice(const fs::path& file, const fs::path& original, const fs::path& work,
                            const std::string& what, Checked& checked) {
  const auto formulas = FormulaCells(file);
  const auto uncomputed = Uncomputed(file);
  const std::vector<StoredSheet> before = ReadWithXlrd(original, work);
  const std::vector<StoredSheet> stored = ReadWithXlrd(file, work);
  ASSERT_EQ(stored.size(), formulas.size()) << what;
  for (std::size_t s = 0; s < formulas.size(); ++s) {
    if (formulas[s].empty()) continue;
    const auto computed =
        CsvRows(test_support::LibreOfficeCsv(file, work, static_cast<int>(s), false));
    for (const auto& [cell, always_calculate] : formulas[s]) {
      const auto found = stored[s].find(cell);
      const StoredCell value = found == stored[s].end() ? StoredCell{} : found->second;
      const std::string where = what + " sheet " + std::to_string(s) + " row " +
                                std::to_string(cell.first + 1) + " column " +
                                std::to_string(cell.second + 1);
      const auto row = static_cast<std::size_t>(cell.first);
      const auto column = static_cast<std::size_t>(cell.second);
      const std::string expected =
          row < computed.size() && column < computed[row].size() ? computed[row][column] : "";
      // Left to the spreadsheet program: flagged, and #N/A or the result it had.
      if (uncomputed[s].contains(cell)) {
        EXPECT_TRUE(always_calculate) << where;
        const auto old = s < before.size() ? before[s].find(cell) : stored[s].end();
        const bool kept = s < before.size() && old != before[s].end() &&
                          old->second.value == value.value && old->second.type == value.type;
        EXPECT_TRUE((value.type == 5 && value.value == "#N/A") || kept)
            << where << ": " << value.value;
        ++checked.left_to_spreadsheet;
        continue;
      }
      // ISBLANK of a cell holding an empty text: Excel stored FALSE, LibreOffice says TRUE.
      if (what == "calamine__empty-string.xls" && cell == std::pair{0, 1}) {
        EXPECT_EQ(value.value, "0") << where;
        continue;
      }
      EXPECT_TRUE(SameValue(value, expected))
          << where << ": stored " << value.value << " (xlrd type " << value.type
          << "), LibreOffice " << expected;
      ++checked.compared;
    }
  }
}

// The print layout of 码单 shows every formula's result as LibreOffice shows it.
void ExpectPrintedAsLibreOfficeShows(const fs::path& file, const fs::path& work,
                                     const std::string& what) {
  const xls::layout::SheetLayout layout = xls::layout::ReadSheetLayoutFile(file, u"码单");
  EXPECT_TRUE(layout.uncomputed.empty()) << what;
  const auto document = xls::XlsDocument::Open(file);
  const std::size_t sheet = document->WorksheetIndex(u"码单");
  const auto shown =
      CsvRows(test_support::LibreOfficeCsv(file, work, static_cast<int>(sheet), true));
  int printed = 0;
  for (const auto& formula : document->Sheet(sheet).Formulas()) {
    for (const xls::layout::PrintCell& cell : layout.cells) {
      if (cell.row != formula.cell.row || cell.column != formula.cell.column) continue;
      const std::string expected = cell.row < shown.size() && cell.column < shown[cell.row].size()
                                       ? shown[cell.row][cell.column]
                                       : "";
      // A boolean prints TRUE or FALSE, as Excel prints it; LibreOffice's booleans are
      // numbers and show as 1 and 0.
      const std::string text = base::ToUtf8(cell.text);
      const std::string as_number = text == "TRUE"    ? std::string("1")
                                    : text == "FALSE" ? std::string("0")
                                                      : text;
      EXPECT_EQ(as_number, expected)
          << what << " row " << cell.row + 1 << " column " << cell.column + 1;
      ++printed;
    }
  }
  EXPECT_GE(printed, 35) << what;
}

std::string Unavailable() {
  for (const char* program : {"soffice", "/usr/bin/python3"}) {
    const std::string missing = test_support::MissingProgram(program);
    if (!missing.empty()) return missing;
  }
  if (!test_support::Run("/usr/bin/python3 -c 'import xlrd' 2>/dev/null")) return "no xlrd";
  return {};
}

TEST(StoredFormulaResults, BillTemplatesMatchLibreOfficeAfterEveryExport) {
  if (const std::string why = Unavailable(); !why.empty()) GTEST_SKIP() << why;
  test_support::TempDir temp;
  for (const char* name : {"bill-libreoffice.xls", "bill-gnumeric.xls"}) {
    for (const Tally& tally : Tallies()) {
      const fs::path file = temp.Path() / name;
      fs::copy_file(fs::path(VERDALON_FORMULA_SAMPLES) / name, file,
                    fs::copy_options::overwrite_existing);
      fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
      {
        auto document = xls::XlsDocument::Open(file);
        Export(*document, tally);
        document->Save();
      }
      Checked checked;
      const std::string what = std::string(name) + " / " + tally.name;
      CompareWithLibreOffice(file, fs::path(VERDALON_FORMULA_SAMPLES) / name, temp.Path(), what,
                             checked);
      EXPECT_GE(checked.compared, 35) << name;
      EXPECT_EQ(checked.left_to_spreadsheet, 0) << name;
      if (name == std::string("bill-libreoffice.xls")) {
        ExpectPrintedAsLibreOfficeShows(file, temp.Path(), what);
      }
    }
  }
}

TEST(StoredFormulaResults, ExcelCorpusFilesMatchLibreOfficeAfterASave) {
  if (const std::string why = Unavailable(); !why.empty()) GTEST_SKIP() << why;
  test_support::TempDir temp;
  Checked checked;
  for (const char* name :
       {"xlrd__formula_test_sjmachin.xls", "xlrd__namesdemo.xls", "edr__TestOpen.xls",
        "edr__Test_num_double_date_bool_string.xls", "calamine__optional_records.xls",
        "libxls__types.xls", "edr__Test_git_issue_329_error.xls", "calamine__empty-string.xls",
        "parseexcel__Test97J.xls", "easyexcel__converter03.xls"}) {
    const fs::path source = test_support::CorpusDir() / "excel" / name;
    if (!fs::exists(source)) GTEST_SKIP() << "no corpus at " << test_support::CorpusDir();
    const fs::path file = temp.Path() / name;
    fs::copy_file(source, file, fs::copy_options::overwrite_existing);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    {
      auto document = xls::XlsDocument::Open(file);
      // A cell below the data that no formula reads: the save computes every formula.
      const auto& cells = document->Sheet(0).Cells();
      const int below = cells.empty() ? 1 : cells.rbegin()->first.row + 3;
      document->SetCell(0, below, 1, u"1");
      document->Save();
    }
    CompareWithLibreOffice(file, source, temp.Path(), name, checked);
  }
  EXPECT_GE(checked.compared, 100);
}

}  // namespace
