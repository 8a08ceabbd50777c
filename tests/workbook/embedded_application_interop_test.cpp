#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "child_process.h"
#include "compound_files.h"
#include "spreadsheet_programs.h"

namespace {

namespace fs = std::filesystem;

// Checks what we write with spreadsheet programs we did not write. The workbook is a corpus
// file made by Excel whose E2 holds =A2+C2; writing A2 and C2 must show their new sum, in
// LibreOffice (which recalculates on load) and in gnumeric (which trusts cached results
// unless a formula asks to be calculated always).
class EmbeddedApplicationInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path source = test_support::CorpusDir() / "excel" / "edr__Uncalculated.xls";
    if (!fs::exists(source)) GTEST_SKIP() << "no corpus at " << test_support::CorpusDir();
    file_ = temp_.Path() / "uncalculated.xls";
    fs::copy_file(source, file_);
    fs::permissions(file_, fs::perms::owner_write, fs::perm_options::add);
    ASSERT_EQ(
        test_support::RunProgram(XLSCELL, {file_.string(), "set", "Uncalculated", "2", "1", "10",
                                           "2", "3", "5.5", "3", "1", "新买方", "1", "2", ""}),
        0);
  }

  // B1 emptied, A2 and C2 numbers, A3 a new string, E2 the formula's new result.
  static void ExpectNewValues(const std::string& csv) {
    EXPECT_TRUE(csv.starts_with("A,,B,=,C\n10,+,5.5,=,15.5\n新买方,,,,\n")) << csv;
  }

  test_support::TempDir temp_;
  fs::path file_;
};

TEST_F(EmbeddedApplicationInterop, GnumericReadsTheNewValuesAndTheRecalculatedFormula) {
  if (const std::string why = test_support::MissingProgram("ssconvert"); !why.empty()) {
    GTEST_SKIP() << why;
  }
  const std::vector<std::string> sheets = test_support::GnumericCsv(file_, temp_.Path());
  ASSERT_FALSE(sheets.empty());
  ExpectNewValues(sheets[0]);
}

TEST_F(EmbeddedApplicationInterop, LibreOfficeReadsTheNewValuesAndTheRecalculatedFormula) {
  if (const std::string why = test_support::MissingProgram("soffice"); !why.empty()) {
    GTEST_SKIP() << why;
  }
  ExpectNewValues(test_support::LibreOfficeCsv(file_, temp_.Path()));
}

}  // namespace

namespace {

// The sample template after an export-like write: the buyer, two amounts and the scaler.
// Its formula under the amounts must show their new sum in both programs.
class TemplateInteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path source = fs::path(VERDALON_TEMPLATE_DIR) / u"锯材账单.xls";
    if (!fs::exists(source)) GTEST_SKIP() << "no sample template";
    file_ = temp_.Path() / "book.xls";
    fs::copy_file(source, file_);
    fs::permissions(file_, fs::perms::owner_write, fs::perm_options::add);
    ASSERT_EQ(
        test_support::RunProgram(XLSCELL, {file_.string(), "set", "码单", "3", "2", "新买方", "5",
                                           "8", "100.5", "6", "8", "20", "18", "2", "张三"}),
        0);
  }

  static void ExpectExport(const std::string& csv) {
    EXPECT_NE(csv.find("购货单位,新买方,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",,,,,,,100.5\n,,,,,,,20\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("检尺员,张三,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",120.5"), std::string::npos) << csv;
  }

  test_support::TempDir temp_;
  fs::path file_;
};

TEST_F(TemplateInteropTest, GnumericShowsTheExportAndTheNewTotal) {
  if (const std::string why = test_support::MissingProgram("ssconvert"); !why.empty()) {
    GTEST_SKIP() << why;
  }
  const std::vector<std::string> sheets = test_support::GnumericCsv(file_, temp_.Path());
  ASSERT_GE(sheets.size(), 2u);
  ExpectExport(sheets[1]);
}

TEST_F(TemplateInteropTest, LibreOfficeShowsTheExportAndTheNewTotal) {
  if (const std::string why = test_support::MissingProgram("soffice"); !why.empty()) {
    GTEST_SKIP() << why;
  }
  ExpectExport(test_support::LibreOfficeCsv(file_, temp_.Path(), 1, /*as_shown=*/false));
}

}  // namespace
