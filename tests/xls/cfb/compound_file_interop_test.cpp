// Files we write must open in spreadsheet software we did not write. Slow (each run of
// LibreOffice takes seconds), so only a few files, and skipped where the tools are missing.
#include <gtest/gtest.h>

#include "compound_files.h"
#include "spreadsheet_programs.h"
#include "xls/cfb/compound_file.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using xls::cfb::CompoundFile;

// The first sheet as gnumeric sees it; empty if the conversion failed.
std::string FirstSheetByGnumeric(const fs::path& file, const fs::path& work) {
  const std::vector<std::string> sheets = test_support::GnumericCsv(file, work);
  return sheets.empty() ? std::string() : sheets.front();
}

class CompoundFileInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::is_directory(test_support::CorpusDir())) GTEST_SKIP() << "no corpus";
  }
  fs::path Write(const std::string& name, const Bytes& bytes) {
    const fs::path path = work_.Path() / name;
    test_support::SaveFile(path, bytes);
    return path;
  }
  test_support::TempDir work_;
};

TEST_F(CompoundFileInterop, GnumericReadsWorkbooksMovedAcrossTheMiniStreamCutoff) {
  if (const std::string why = test_support::MissingProgram("ssconvert"); !why.empty()) {
    GTEST_SKIP() << why;
  }
  // Its Workbook stream (3255 bytes) lives in the mini stream.
  const fs::path source = test_support::CorpusDir() / "other/edr__Test_git_issue_158.xls";
  const std::string expected = FirstSheetByGnumeric(source, work_.Path());
  ASSERT_FALSE(expected.empty());

  CompoundFile file = CompoundFile::Read(test_support::LoadFile(source));
  const Bytes workbook = *file.ReadStream(u"Workbook");
  ASSERT_LT(workbook.size(), 4096u);
  // Bytes after the last sheet's EOF record are ignored by readers, so padding moves the
  // stream into regular sectors without changing the workbook.
  Bytes grown = workbook;
  grown.resize(6000, 0);
  file.ReplaceStream(u"Workbook", grown);
  EXPECT_EQ(FirstSheetByGnumeric(Write("grown.xls", file.Write()), work_.Path()), expected);

  CompoundFile reread = CompoundFile::Read(file.Write());
  reread.ReplaceStream(u"Workbook", workbook);
  EXPECT_EQ(FirstSheetByGnumeric(Write("shrunk.xls", reread.Write()), work_.Path()), expected);
}

TEST_F(CompoundFileInterop, LibreOfficeReadsRewrittenAndDifatFiles) {
  if (const std::string why = test_support::MissingProgram("soffice"); !why.empty()) {
    GTEST_SKIP() << why;
  }
  const fs::path excel = test_support::CorpusDir() / "excel/edr__Test_Issue_11773_Exponential.xls";
  const fs::path other = test_support::CorpusDir() / "other/xlrd__profiles.xls";

  const fs::path excel_copy =
      Write("excel.xls", CompoundFile::Read(test_support::LoadFile(excel)).Write());
  const fs::path other_copy =
      Write("other.xls", CompoundFile::Read(test_support::LoadFile(other)).Write());
  // A summary stream padded to 9 MB forces DIFAT sectors; property readers ignore the tail.
  CompoundFile large = CompoundFile::Read(test_support::LoadFile(excel));
  Bytes summary = *large.ReadStream(u"\x05SummaryInformation");
  summary.resize(9'000'000, 0);
  large.ReplaceStream(u"\x05SummaryInformation", summary);
  const Bytes large_bytes = large.Write();
  ASSERT_GT(test_support::U32At(large_bytes, 72), 0u);
  const fs::path difat_copy = Write("difat.xls", large_bytes);

  const std::string excel_csv = test_support::LibreOfficeCsv(excel, work_.Path());
  ASSERT_FALSE(excel_csv.empty());
  EXPECT_EQ(test_support::LibreOfficeCsv(excel_copy, work_.Path()), excel_csv);
  EXPECT_EQ(test_support::LibreOfficeCsv(difat_copy, work_.Path()), excel_csv);
  const std::string other_csv = test_support::LibreOfficeCsv(other, work_.Path());
  ASSERT_FALSE(other_csv.empty());
  EXPECT_EQ(test_support::LibreOfficeCsv(other_copy, work_.Path()), other_csv);
}

}  // namespace

namespace {

TEST(SampleTemplate, ReadsAndRewritesToTheSameSheets) {
  const fs::path source = VERDALON_TEMPLATE;
  const CompoundFile file = CompoundFile::Read(test_support::LoadFile(source));
  const auto workbook = file.ReadStream(u"Workbook");
  ASSERT_TRUE(workbook);
  EXPECT_LT(workbook->size(), 4096u) << "small enough to exercise the mini stream";
  if (const std::string why = test_support::MissingProgram("ssconvert"); !why.empty()) {
    GTEST_SKIP() << why;
  }
  test_support::TempDir work;
  const fs::path copy = work.Path() / "copy.xls";
  test_support::SaveFile(copy, file.Write());
  const std::vector<std::string> original = test_support::GnumericCsv(source, work.Path());
  ASSERT_EQ(original.size(), 2u);
  for (const std::string& sheet : original) EXPECT_FALSE(sheet.empty());
  EXPECT_EQ(test_support::GnumericCsv(copy, work.Path()), original);
}

}  // namespace
