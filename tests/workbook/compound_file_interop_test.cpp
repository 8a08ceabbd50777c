// Files we write must open in spreadsheet software we did not write. Slow (each run of
// LibreOffice takes seconds), so only a few files, and skipped where the tools are missing.
#include <gtest/gtest.h>

#include "cfb_test_support.h"
#include "workbook/cfb/compound_file.h"

namespace {

namespace fs = std::filesystem;
using cfb_test::Bytes;
using workbook::cfb::CompoundFile;

// The first sheet as CSV, as LibreOffice or gnumeric sees it; empty if conversion failed.
std::string LibreOfficeCsv(const fs::path& file, const fs::path& work) {
  const fs::path out = work / ("lo-" + file.stem().string());
  const std::string command = "cd '" + work.string() + "' && soffice --headless " +
                              "-env:UserInstallation=file://" + (work / "profile").string() +
                              " --convert-to csv --outdir '" + out.string() + "' '" +
                              file.string() + "' >/dev/null 2>&1";
  if (!cfb_test::Run(command)) return {};
  const Bytes csv = cfb_test::LoadFile(out / (file.stem().string() + ".csv"));
  return {csv.begin(), csv.end()};
}

std::string GnumericCsv(const fs::path& file, const fs::path& work) {
  const fs::path out = work / ("gn-" + file.stem().string() + ".csv");
  if (!cfb_test::Run("ssconvert '" + file.string() + "' '" + out.string() + "' >/dev/null 2>&1")) {
    return {};
  }
  const Bytes csv = cfb_test::LoadFile(out);
  return {csv.begin(), csv.end()};
}

class CompoundFileInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::is_directory(cfb_test::CorpusDir())) GTEST_SKIP() << "no corpus";
  }
  fs::path Write(const std::string& name, const Bytes& bytes) {
    const fs::path path = work_.Path() / name;
    cfb_test::SaveFile(path, bytes);
    return path;
  }
  cfb_test::TempDir work_;
};

TEST_F(CompoundFileInterop, GnumericReadsWorkbooksMovedAcrossTheMiniStreamCutoff) {
  if (!cfb_test::HaveProgram("ssconvert")) GTEST_SKIP() << "gnumeric's ssconvert is missing";
  // Its Workbook stream (3255 bytes) lives in the mini stream.
  const fs::path source = cfb_test::CorpusDir() / "other/edr__Test_git_issue_158.xls";
  const std::string expected = GnumericCsv(source, work_.Path());
  ASSERT_FALSE(expected.empty());

  CompoundFile file = CompoundFile::Read(cfb_test::LoadFile(source));
  const Bytes workbook = *file.ReadStream(u"Workbook");
  ASSERT_LT(workbook.size(), 4096u);
  // Bytes after the last sheet's EOF record are ignored by readers, so padding moves the
  // stream into regular sectors without changing the workbook.
  Bytes grown = workbook;
  grown.resize(6000, 0);
  file.ReplaceStream(u"Workbook", grown);
  EXPECT_EQ(GnumericCsv(Write("grown.xls", file.Write()), work_.Path()), expected);

  CompoundFile reread = CompoundFile::Read(file.Write());
  reread.ReplaceStream(u"Workbook", workbook);
  EXPECT_EQ(GnumericCsv(Write("shrunk.xls", reread.Write()), work_.Path()), expected);
}

TEST_F(CompoundFileInterop, LibreOfficeReadsRewrittenAndDifatFiles) {
  if (!cfb_test::HaveProgram("soffice")) GTEST_SKIP() << "LibreOffice is missing";
  const fs::path excel = cfb_test::CorpusDir() / "excel/edr__Test_Issue_11773_Exponential.xls";
  const fs::path other = cfb_test::CorpusDir() / "other/xlrd__profiles.xls";

  const fs::path excel_copy =
      Write("excel.xls", CompoundFile::Read(cfb_test::LoadFile(excel)).Write());
  const fs::path other_copy =
      Write("other.xls", CompoundFile::Read(cfb_test::LoadFile(other)).Write());
  // A summary stream padded to 9 MB forces DIFAT sectors; property readers ignore the tail.
  CompoundFile large = CompoundFile::Read(cfb_test::LoadFile(excel));
  Bytes summary = *large.ReadStream(u"\x05SummaryInformation");
  summary.resize(9'000'000, 0);
  large.ReplaceStream(u"\x05SummaryInformation", summary);
  const Bytes large_bytes = large.Write();
  ASSERT_GT(cfb_test::U32At(large_bytes, 72), 0u);
  const fs::path difat_copy = Write("difat.xls", large_bytes);

  const std::string excel_csv = LibreOfficeCsv(excel, work_.Path());
  ASSERT_FALSE(excel_csv.empty());
  EXPECT_EQ(LibreOfficeCsv(excel_copy, work_.Path()), excel_csv);
  EXPECT_EQ(LibreOfficeCsv(difat_copy, work_.Path()), excel_csv);
  const std::string other_csv = LibreOfficeCsv(other, work_.Path());
  ASSERT_FALSE(other_csv.empty());
  EXPECT_EQ(LibreOfficeCsv(other_copy, work_.Path()), other_csv);
}

}  // namespace

namespace {

TEST(SampleTemplate, ReadsAndRewritesToTheSameSheets) {
  const fs::path source = VERDALON_TEMPLATE;
  const CompoundFile file = CompoundFile::Read(cfb_test::LoadFile(source));
  const auto workbook = file.ReadStream(u"Workbook");
  ASSERT_TRUE(workbook);
  EXPECT_LT(workbook->size(), 4096u) << "small enough to exercise the mini stream";
  if (!cfb_test::HaveProgram("ssconvert")) GTEST_SKIP() << "gnumeric's ssconvert is missing";
  cfb_test::TempDir work;
  const fs::path copy = work.Path() / "copy.xls";
  cfb_test::SaveFile(copy, file.Write());
  for (const fs::path& path : {source, copy}) {
    const std::string out = (work.Path() / (path.stem().string() + ".%n.csv")).string();
    ASSERT_TRUE(
        cfb_test::Run("ssconvert -S '" + path.string() + "' '" + out + "' >/dev/null 2>&1"));
  }
  for (const char* sheet : {".0.csv", ".1.csv"}) {
    const Bytes original = cfb_test::LoadFile(work.Path() / (source.stem().string() + sheet));
    EXPECT_FALSE(original.empty());
    EXPECT_EQ(cfb_test::LoadFile(work.Path() / ("copy" + std::string(sheet))), original) << sheet;
  }
}

}  // namespace
