#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cfb_test_support.h"

namespace {

namespace fs = std::filesystem;

// Checks what we write with spreadsheet programs we did not write. The workbook is a corpus
// file made by Excel whose E2 holds =A2+C2; writing A2 and C2 must show their new sum, in
// LibreOffice (which recalculates on load) and in gnumeric (which trusts cached results
// unless a formula asks to be calculated always).
class EngineInteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path source = cfb_test::CorpusDir() / "excel" / "edr__Uncalculated.xls";
    if (!fs::exists(source)) GTEST_SKIP() << "no corpus at " << cfb_test::CorpusDir();
    file_ = temp_.Path() / "uncalculated.xls";
    fs::copy_file(source, file_);
    fs::permissions(file_, fs::perms::owner_write, fs::perm_options::add);
    const std::string set = std::string(XLSCELL) + " '" + file_.string() +
                            "' set Uncalculated 2 1 10 2 3 5.5 3 1 '新买方' 1 2 ''";
    ASSERT_TRUE(cfb_test::Run(set));
  }

  std::string Csv(const std::string& command, const fs::path& csv) {
    if (!cfb_test::Run(command + " >/dev/null 2>&1")) return "conversion failed";
    const cfb_test::Bytes bytes = cfb_test::LoadFile(csv);
    return {bytes.begin(), bytes.end()};
  }

  // B1 emptied, A2 and C2 numbers, A3 a new string, E2 the formula's new result.
  static void ExpectNewValues(const std::string& csv) {
    EXPECT_TRUE(csv.starts_with("A,,B,=,C\n10,+,5.5,=,15.5\n新买方,,,,\n")) << csv;
  }

  cfb_test::TempDir temp_;
  fs::path file_;
};

TEST_F(EngineInteropTest, GnumericReadsTheNewValuesAndTheRecalculatedFormula) {
  if (!cfb_test::HaveProgram("ssconvert")) GTEST_SKIP() << "gnumeric's ssconvert is missing";
  const fs::path csv = temp_.Path() / "gnumeric.csv";
  ExpectNewValues(Csv("ssconvert '" + file_.string() + "' '" + csv.string() + "'", csv));
}

TEST_F(EngineInteropTest, LibreOfficeReadsTheNewValuesAndTheRecalculatedFormula) {
  if (!cfb_test::HaveProgram("soffice")) GTEST_SKIP() << "LibreOffice is missing";
  // 44,34,76: comma, double quote, UTF-8.
  const std::string command = "cd '" + temp_.Path().string() +
                              "' && soffice --headless -env:UserInstallation=file://" +
                              (temp_.Path() / "profile").string() +
                              " --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' "
                              "--outdir out '" +
                              file_.string() + "'";
  ExpectNewValues(Csv(command, temp_.Path() / "out" / "uncalculated.csv"));
}

}  // namespace
