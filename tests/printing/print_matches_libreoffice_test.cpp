// Verdalon's printout of a workbook against LibreOffice's PDF of the same file: same paper,
// orientation and page count, and every text at the same place within 2 mm.

#include <gtest/gtest.h>

#include <QString>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "pdf_words.h"
#include "printing/sheet_printer.h"
#include "spreadsheet_programs.h"
#include "workbook/sheet_print_source.h"
#include "xls/xls_document.h"

namespace {

namespace fs = std::filesystem;
using printing_test::PdfPage;
using printing_test::PdfWord;

constexpr double kTolerancePoints = 2.0 / 25.4 * 72.0;  // 2 mm
constexpr double kPaperTolerancePoints = 0.1;           // LibreOffice keeps 1/100 mm

// pdftotext cuts a word where the font changes under it (a CJK face for 长, a Latin one for
// (m)), and the two programs fall back to different faces: glyphs that touch on the same
// line are taken as one word on both sides.
std::vector<PdfWord> JoinTouching(const std::vector<PdfWord>& words) {
  constexpr double kTouching = 0.5;  // points; a space is wider than a quarter of the size
  std::vector<PdfWord> joined;
  for (const PdfWord& word : words) {
    if (!joined.empty()) {
      PdfWord& last = joined.back();
      if (std::abs(word.y_min - last.y_min) < kTouching &&
          std::abs(word.y_max - last.y_max) < kTouching &&
          std::abs(word.x_min - last.x_max) < kTouching) {
        last.text += word.text;
        last.x_max = word.x_max;
        continue;
      }
    }
    joined.push_back(word);
  }
  return joined;
}

class PrintMatchesLibreOffice : public ::testing::TestWithParam<fs::path> {
 protected:
  void SetUp() override {
    if (const std::string why = test_support::MissingProgram("soffice"); !why.empty()) {
      GTEST_SKIP() << why;
    }
    if (const std::string why = test_support::MissingProgram("pdftotext"); !why.empty()) {
      GTEST_SKIP() << why;
    }
    work_ = fs::temp_directory_path() /
            ("verdalon-print-" + std::to_string(::getpid()) + "-" + GetParam().stem().string());
    fs::remove_all(work_);
    fs::create_directories(work_);
    workbook_ = work_ / "workbook.xls";
    fs::copy_file(GetParam(), workbook_);
  }
  void TearDown() override {
    if (!work_.empty()) fs::remove_all(work_);
  }

  // Every sheet as Verdalon prints it, numbered on from page to page as one document.
  std::vector<PdfPage> VerdalonPages() {
    const auto document = xls::XlsDocument::Open(workbook_);
    std::vector<PdfPage> pages;
    int next_page = 1;
    for (std::size_t sheet = 0; sheet < document->SheetCount(); ++sheet) {
      const auto layout = workbook::LoadSheetLayout(workbook_, document->SheetName(sheet));
      const fs::path pdf = work_ / ("verdalon-" + std::to_string(sheet) + ".pdf");
      const int printed = layout.fonts.empty() || layout.styles.empty()
                              ? 0
                              : static_cast<int>(printing::PlanFor(layout).pages.size());
      // The PDF as 另存为 PDF and xlsprint write it, exact paper and all.
      if (printed > 0) {
        EXPECT_TRUE(
            printing::WriteSheetPdf(layout, QString::fromStdString(pdf.string()), next_page));
      }
      next_page += printed;
      if (printed == 0) continue;  // a blank sheet prints nothing
      std::vector<PdfPage> read = printing_test::ReadPdfWords(pdf, work_);
      EXPECT_EQ(read.size(), static_cast<std::size_t>(printed));
      pages.insert(pages.end(), read.begin(), read.end());
    }
    return pages;
  }

  fs::path work_;
  fs::path workbook_;
};

TEST_P(PrintMatchesLibreOffice, SamePaperPagesAndTextPlaces) {
  const fs::path theirs = test_support::LibreOfficePdf(workbook_, work_);
  ASSERT_FALSE(theirs.empty()) << "LibreOffice could not convert " << GetParam();
  const std::vector<PdfPage> expected = printing_test::ReadPdfWords(theirs, work_);
  const std::vector<PdfPage> actual = VerdalonPages();
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(actual.size(), expected.size()) << "page count";

  for (std::size_t page = 0; page < expected.size(); ++page) {
    SCOPED_TRACE("page " + std::to_string(page + 1));
    // Paper size and orientation: width and height each the same.
    EXPECT_NEAR(actual[page].width, expected[page].width, kPaperTolerancePoints);
    EXPECT_NEAR(actual[page].height, expected[page].height, kPaperTolerancePoints);

    auto nearest = [](const PdfWord& word, const std::vector<PdfWord>& among) {
      double best = INFINITY;
      for (const PdfWord& other : among) {
        if (other.text == word.text) best = std::min(best, printing_test::Distance(word, other));
      }
      return best;
    };
    const std::vector<PdfWord> theirs_words = JoinTouching(expected[page].words);
    const std::vector<PdfWord> our_words = JoinTouching(actual[page].words);
    for (const PdfWord& word : theirs_words) {
      EXPECT_LE(nearest(word, our_words), kTolerancePoints)
          << "\"" << word.text << "\" at (" << word.x_min << ", " << word.y_min
          << ") in LibreOffice's PDF";
    }
    for (const PdfWord& word : our_words) {
      EXPECT_LE(nearest(word, theirs_words), kTolerancePoints)
          << "\"" << word.text << "\" at (" << word.x_min << ", " << word.y_min
          << ") in Verdalon's PDF";
    }
  }
}

std::string SampleName(const ::testing::TestParamInfo<fs::path>& info) {
  std::string name;
  for (char c : info.param.stem().string()) {
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  }
  return name.find_first_not_of('_') == std::string::npos ? "sample_template" : name;
}

// The sample template; two landscape, fit-to-page templates saved by LibreOffice and by
// gnumeric; numbers too wide for their cells; and workbooks written by Excel with merged cells over
// one and two sheets.
INSTANTIATE_TEST_SUITE_P(
    Workbooks, PrintMatchesLibreOffice,
    ::testing::Values(
        fs::path(VERDALON_TEMPLATE_DIR) / "锯材账单.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/landscape-libreoffice.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/landscape-gnumeric.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/narrow-numbers.xls",
        fs::path(VERDALON_XLS_CORPUS) / "excel/edr__Test_MergedCell.xls",
        fs::path(VERDALON_XLS_CORPUS) / "excel/calamine__merged_range.xls",
        // Paper (A4, A5, B5, Letter) upright and turned, scale, print areas, manual
        // page breaks, long tables, fonts and borders, saved by LibreOffice and by gnumeric;
        // Excel's own workbooks landscape at 56 %, and A4 over one and three sheets.
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/a5-landscape-gnumeric.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/a5-tally-libreoffice.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/b5-landscape-gnumeric.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/fonts-borders-libreoffice.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/letter-print-area-libreoffice.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/long-table-gnumeric.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/page-breaks-libreoffice.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/scaled-a4-gnumeric.xls",
        fs::path(VERDALON_XLS_CORPUS) / "excel/calamine__issue_271.xls",
        fs::path(VERDALON_XLS_CORPUS) / "excel/easyexcel__complex.xls",
        fs::path(VERDALON_XLS_CORPUS) / "excel/easyexcel__multiplesheets.xls",
        // Pages: title rows on a long table, title columns on a wide sheet,
        // printed headings, fit to two pages across and to two down, and
        // title rows and columns as Excel writes them (a union of two areas).
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/title-rows.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/title-columns.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/headings.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/fit-2x1.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/fit-1x2.xls",
        fs::path(VERDALON_XLS_CORPUS) / "excel/xlrd__namesdemo.xls",
        // Excel's own: fit to one page across with a print area, a face this system
        // lacks, and line breaks typed into wrapped cells.
        fs::path(VERDALON_XLS_CORPUS) / "excel/edr__Test_Issue_11573_BlankValues.xls",
        // Cells: merged ranges and centred titles cut by a vertical page break,
        // wrapped lines, text running on past the last column.
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/centre-across-gnumeric.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/merged-cells.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/wrapped-overflow.xls",
        // Headers and footers: fonts, sizes, styles and fields in all three
        // parts, scaled with an A5 sheet at 80 % and a Letter sheet fit to a page.
        // Their side margins are wider than 0.75 inch: on narrower ones
        // LibreOffice moves the parts inwards where Excel keeps them on the margins.
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/headers-a5-scaled.xls",
        fs::path(VERDALON_TEMPLATE_DIR) / "print-samples/headers-letter-fit.xls"),
    SampleName);

}  // namespace
