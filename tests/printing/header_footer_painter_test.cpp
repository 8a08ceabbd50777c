// What LibreOffice cannot show: Excel's HEADERFOOTER options, read back from the PDF the
// renderer writes.

#include <gtest/gtest.h>

#include <QString>
#include <filesystem>

#include "pdf_words.h"
#include "printing/sheet_printer.h"
#include "spreadsheet_programs.h"

namespace {

namespace fs = std::filesystem;
using namespace xls::layout;
using printing_test::PdfWord;

constexpr double kPaperWidth = 595.276;  // A4
constexpr double kFixedSide = 54;        // 0.75 inch

// One cell on a sheet printed at half size, with words in each part of the header.
SheetLayout HalfSizeSheet(bool scales, bool on_margins) {
  SheetLayout layout;
  layout.fonts.push_back(Font{u"DejaVu Sans", 10, false, false, false, Underline::kNone, {}});
  layout.styles = {CellStyle{}};
  layout.cells = {{0, 0, u"cell", false, 0, {}}};
  layout.page.scale_percent = 50;
  layout.page.left_margin = 0.25;
  layout.page.right_margin = 1.5;
  layout.page.header = u"&LLeftWord&CCentreWord&R&20RightWord";
  layout.page.header_footer_scales = scales;
  layout.page.header_footer_on_margins = on_margins;
  return layout;
}

TEST(HeaderFooterPainter, ScalesAndSidesAsTheSheetAsks) {
  if (const std::string why = test_support::MissingProgram("pdftotext"); !why.empty()) {
    GTEST_SKIP() << why;
  }
  const fs::path work = fs::temp_directory_path() / ("verdalon-hf-" + std::to_string(::getpid()));
  fs::create_directories(work);
  struct Case {
    bool scales;
    bool on_margins;
    double left;   // where LeftWord starts
    double right;  // where RightWord ends
  };
  const Case cases[] = {
      {true, true, 0.25 * 72, kPaperWidth - 1.5 * 72},
      {false, false, kFixedSide, kPaperWidth - kFixedSide},
  };
  double scaled_width = 0;
  double unscaled_width = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scales ? "scaled, on the margins" : "unscaled, fixed sides");
    const fs::path pdf = work / "sheet.pdf";
    ASSERT_TRUE(printing::WriteSheetPdf(HalfSizeSheet(c.scales, c.on_margins),
                                        QString::fromStdString(pdf.string())));
    const auto pages = printing_test::ReadPdfWords(pdf, work);
    ASSERT_EQ(pages.size(), 1u);
    auto find = [&pages](const std::string& text) {
      for (const PdfWord& word : pages[0].words) {
        if (word.text == text) return word;
      }
      ADD_FAILURE() << text << " is missing";
      return PdfWord{};
    };
    const PdfWord left = find("LeftWord");
    const PdfWord centre = find("CentreWord");
    const PdfWord right = find("RightWord");
    EXPECT_NEAR(left.x_min, c.left, 1.0);
    EXPECT_NEAR(right.x_max, c.right, 1.0);
    EXPECT_NEAR((centre.x_min + centre.x_max) / 2, (c.left + c.right) / 2, 1.0);
    // The 20-point part makes the band higher; the smaller parts are centred in it.
    EXPECT_LT(right.y_min, left.y_min);
    EXPECT_NEAR(left.y_min + left.y_max, right.y_min + right.y_max, 1.0);
    (c.scales ? scaled_width : unscaled_width) = left.x_max - left.x_min;
  }
  EXPECT_NEAR(scaled_width * 2, unscaled_width, 1.0);
  fs::remove_all(work);
}

}  // namespace
