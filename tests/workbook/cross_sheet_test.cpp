// A summary sheet whose formula reads the written sheet shows the new result in gnumeric
// (which trusts cached results unless told to calculate) and LibreOffice. The workbook is
// built by hand: a sheet "码单" and a sheet "汇总" with =码单!A1*2, and =码单!$A$2+1 filled
// down as a shared formula.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "biff_test_support.h"
#include "cfb_test_support.h"
#include "spreadsheet_programs.h"
#include "xls/cfb/compound_file.h"
#include "xls/xls_document.h"

namespace {

namespace fs = std::filesystem;
using biff_test::Record;
using cfb_test::Bytes;

// SUPBOOK for this workbook's own two sheets, and EXTERNSHEET entry 0 for its first sheet.
std::vector<Record> OwnSheetReferences() {
  return {{0x01AE, {0x02, 0x00, 0x01, 0x04}},
          {0x0017, {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}};
}

Bytes SummaryStream() {
  const std::vector<Record> tally{biff_test::Dimensions(0, 2, 0, 1), biff_test::Row(0, 0, 1),
                                  biff_test::Row(1, 0, 1), biff_test::Number(0, 0, 15, 1),
                                  biff_test::Number(1, 0, 15, 10)};
  // =码单!A1*2: PtgRef3d (value class) through EXTERNSHEET entry 0, row 0, column A.
  const Bytes times_two{0x5A, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x1E, 0x02, 0x00, 0x05};
  // In C1:C2 shared: =码单!$A$2+1 (readers disagree on relative 3-D references there).
  const Bytes plus_one{0x5A, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1E, 0x01, 0x00, 0x03};
  const std::vector<Record> summary{biff_test::Dimensions(0, 2, 0, 3),
                                    biff_test::Row(0, 0, 3),
                                    biff_test::Row(1, 0, 3),
                                    biff_test::Formula(0, 0, 2, times_two),
                                    biff_test::Formula(0, 2, 2, biff_test::Exp(0, 2), 0x0008),
                                    biff_test::SharedFormula(0, 1, 2, 2, plus_one),
                                    biff_test::Formula(1, 2, 11, biff_test::Exp(0, 2), 0x0008)};
  return biff_test::BuildStream({}, {{u"码单", tally}, {u"汇总", summary}}, OwnSheetReferences());
}

TEST(CrossSheetFormulas, SummaryOfTheWrittenSheetShowsTheNewValues) {
  cfb_test::TempDir temp;
  const fs::path file = temp.Path() / "summary.xls";
  cfb_test::SaveFile(file, cfb_test::BuildCompoundFile(3, {{u"Workbook", SummaryStream()}}));
  const std::vector<Record> summary_before = biff_test::ReadStream(SummaryStream()).sheets.at(1);
  {
    auto document = xls::XlsDocument::Open(file);
    document->SetCell(document->WorksheetIndex(u"码单"), 1, 1, u"7");
    document->SetCell(document->WorksheetIndex(u"码单"), 2, 1, u"20");
    document->Save();
  }
  // The summary sheet changes only by the flag that asks for calculation on loading.
  const auto container = xls::cfb::CompoundFile::Read(cfb_test::LoadFile(file));
  const std::vector<Record> summary_after =
      biff_test::ReadStream(*container.ReadStream(u"Workbook")).sheets.at(1);
  ASSERT_EQ(summary_after.size(), summary_before.size());
  int flagged = 0;
  for (std::size_t i = 0; i < summary_before.size(); ++i) {
    Record expected = summary_before[i];
    if (expected.type == 0x0006) {
      expected.body[14] |= 0x01;
      ++flagged;
    }
    EXPECT_EQ(summary_after[i], expected) << "record " << i;
  }
  EXPECT_EQ(flagged, 3);

  if (test_support::HaveProgram("ssconvert")) {
    const std::vector<std::string> sheets = test_support::GnumericCsv(file, temp.Path());
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[1], "14,,21\n,,21\n");
  }
  if (test_support::HaveProgram("soffice")) {
    EXPECT_EQ(test_support::LibreOfficeCsv(file, temp.Path(), 1), "14,,21\n,,21\n");
  }
}

}  // namespace
