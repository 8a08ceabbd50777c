// A summary sheet whose formula reads the written sheet shows the new result in gnumeric
// (which trusts cached results unless told to calculate) and LibreOffice. The workbook is
// built by hand: a sheet "码单" and a sheet "汇总" with =码单!A1*2, and =码单!$A$2+1 filled
// down as a shared formula.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "biff_streams.h"
#include "compound_files.h"
#include "spreadsheet_programs.h"
#include "xls/cfb/compound_file.h"
#include "xls/xls_document.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using test_support::Record;

// SUPBOOK for this workbook's own two sheets, and EXTERNSHEET entry 0 for its first sheet.
std::vector<Record> OwnSheetReferences() {
  return {{0x01AE, {0x02, 0x00, 0x01, 0x04}},
          {0x0017, {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}};
}

Bytes SummaryStream() {
  const std::vector<Record> tally{test_support::Dimensions(0, 2, 0, 1), test_support::Row(0, 0, 1),
                                  test_support::Row(1, 0, 1), test_support::Number(0, 0, 15, 1),
                                  test_support::Number(1, 0, 15, 10)};
  // =码单!A1*2: PtgRef3d (value class) through EXTERNSHEET entry 0, row 0, column A.
  const Bytes times_two{0x5A, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x1E, 0x02, 0x00, 0x05};
  // In C1:C2 shared: =码单!$A$2+1 (readers disagree on relative 3-D references there).
  const Bytes plus_one{0x5A, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1E, 0x01, 0x00, 0x03};
  const std::vector<Record> summary{
      test_support::Dimensions(0, 2, 0, 3),
      test_support::Row(0, 0, 3),
      test_support::Row(1, 0, 3),
      test_support::Formula(0, 0, 2, times_two),
      test_support::Formula(0, 2, 2, test_support::Exp(0, 2), 0x0008),
      test_support::SharedFormula(0, 1, 2, 2, plus_one),
      test_support::Formula(1, 2, 11, test_support::Exp(0, 2), 0x0008)};
  return test_support::BuildStream({}, {{u"码单", tally}, {u"汇总", summary}},
                                   OwnSheetReferences());
}

TEST(CrossSheetFormulas, SummaryOfTheWrittenSheetShowsTheNewValues) {
  test_support::TempDir temp;
  const fs::path file = temp.Path() / "summary.xls";
  test_support::SaveFile(file,
                         test_support::BuildCompoundFile(3, {{u"Workbook", SummaryStream()}}));
  const std::vector<Record> summary_before = test_support::ReadStream(SummaryStream()).sheets.at(1);
  {
    auto document = xls::XlsDocument::Open(file);
    document->SetCell(document->WorksheetIndex(u"码单"), 1, 1, u"7");
    document->SetCell(document->WorksheetIndex(u"码单"), 2, 1, u"20");
    document->Save();
  }
  const auto container = xls::cfb::CompoundFile::Read(test_support::LoadFile(file));
  const std::vector<Record> summary_after =
      test_support::ReadStream(*container.ReadStream(u"Workbook")).sheets.at(1);
  // The summary sheet's formulas change only by their stored results, 7 * 2 and 20 + 1, and
  // the flag that asks for calculation on loading, which every rewritten formula gets.
  const auto formulas = [](const std::vector<Record>& records) {
    std::vector<Record> found;
    for (const Record& record : records) {
      if (record.type == 0x0006) found.push_back(record);
    }
    return found;
  };
  const std::vector<Record> before = formulas(summary_before);
  const std::vector<Record> after = formulas(summary_after);
  ASSERT_EQ(after.size(), 3u);
  ASSERT_EQ(before.size(), 3u);
  const double results[] = {14, 21, 21};
  for (std::size_t i = 0; i < 3; ++i) {
    Record expected = before[i];
    std::memcpy(expected.body.data() + 6, &results[i], sizeof results[i]);
    expected.body[14] |= 0x01;
    EXPECT_EQ(after[i].body, expected.body) << "formula " << i;
  }

  if (test_support::MissingProgram("ssconvert").empty()) {
    const std::vector<std::string> sheets = test_support::GnumericCsv(file, temp.Path());
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[1], "14,,21\n,,21\n");
  }
  if (test_support::MissingProgram("soffice").empty()) {
    EXPECT_EQ(test_support::LibreOfficeCsv(file, temp.Path(), 1), "14,,21\n,,21\n");
  }
}

}  // namespace
