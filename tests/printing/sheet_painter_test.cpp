// The renderer's own rules, read back from the PDF it writes: what is hidden stays off the
// paper, numbers stand right and merged titles in the middle of the columns that show.

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <filesystem>
#include <optional>

#include "pdf_words.h"
#include "printing/print_preview.h"
#include "printing/sheet_printer.h"
#include "spreadsheet_programs.h"

namespace {

namespace fs = std::filesystem;
using namespace xls::layout;
using printing_test::PdfPage;
using printing_test::PdfWord;

constexpr double kLeft = 72;  // one-inch margin

class SheetPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string why = test_support::MissingProgram("pdftotext"); !why.empty()) {
      GTEST_SKIP() << why;
    }
    work_ = fs::temp_directory_path() / ("verdalon-painter-" + std::to_string(::getpid()));
    fs::create_directories(work_);
  }
  void TearDown() override {
    if (!work_.empty()) fs::remove_all(work_);
  }

  std::vector<PdfPage> Print(const SheetLayout& layout) {
    const fs::path pdf = work_ / "sheet.pdf";
    EXPECT_TRUE(printing::WriteSheetPdf(layout, QString::fromStdString(pdf.string())));
    return printing_test::ReadPdfWords(pdf, work_);
  }

  fs::path work_;
};

std::optional<PdfWord> Find(const PdfPage& page, const std::string& text) {
  for (const PdfWord& word : page.words) {
    if (word.text == text) return word;
  }
  return std::nullopt;
}

// Four columns of equal width, the second hidden; the third row hidden.
SheetLayout Sample() {
  SheetLayout layout;
  layout.fonts.push_back(Font{u"DejaVu Sans", 10, false, false, false, Underline::kNone, {}});
  CellStyle centred;
  centred.horizontal = HorizontalAlignment::kCentre;
  layout.styles = {CellStyle{}, centred};
  layout.column_widths = {2560, 2560, 2560, 2560};
  layout.hidden_columns = {false, true, false, false};
  layout.row_heights = {400, 400, 400, 400};
  layout.hidden_rows = {false, false, true, false};
  layout.page.left_margin = layout.page.right_margin = 1.0;
  layout.page.top_margin = layout.page.bottom_margin = 1.0;
  layout.cells = {
      {0, 0, u"left", false, 0, {}},  {0, 1, u"hiddencolumn", false, 0, {}},
      {1, 2, u"12.50", true, 0, {}},  {2, 0, u"hiddenrow", false, 0, {}},
      {3, 0, u"Title", false, 1, {}},
  };
  layout.merges = {{3, 3, 0, 3}};
  return layout;
}

TEST_F(SheetPainterTest, HiddenCellsStayOffThePaperAndTheRestStandsInPlace) {
  const std::vector<PdfPage> pages = Print(Sample());
  ASSERT_EQ(pages.size(), 1u);
  const PdfPage& page = pages[0];
  EXPECT_FALSE(Find(page, "hiddencolumn"));
  EXPECT_FALSE(Find(page, "hiddenrow"));

  const auto left = Find(page, "left");
  const auto number = Find(page, "12.50");
  const auto title = Find(page, "Title");
  ASSERT_TRUE(left && number && title);
  // Texts keep a small gap from the cell's edge.
  EXPECT_NEAR(left->x_min, kLeft + 2, 1.0);
  // The number stands at the right of the third column, which follows the first directly:
  // that gives the width of a column, and the merged title must be in the middle of the
  // three columns that show.
  const double column = (number->x_max + 2 - kLeft) / 2;
  EXPECT_GT(column, 40);
  EXPECT_NEAR((title->x_min + title->x_max) / 2, kLeft + 1.5 * column, 1.0);
  // Rows go down in order; the hidden one takes no room: the title's row follows the number's.
  EXPECT_LT(left->y_max, number->y_max);
  EXPECT_NEAR(title->y_max - number->y_max, 20, 1.0);
}

// Shrink-to-fit text is drawn in a smaller font that fits its cell, or its merged range, and
// never runs over empty neighbours; text that fits already keeps its size.
TEST_F(SheetPainterTest, ShrinkToFitTextKeepsToItsCellsColumns) {
  SheetLayout layout;
  layout.fonts.push_back(Font{u"DejaVu Sans", 10, false, false, false, Underline::kNone, {}});
  CellStyle shrinks;
  shrinks.shrink_to_fit = true;
  layout.styles = {CellStyle{}, shrinks};
  layout.column_widths = {2560, 2560, 2560, 2560, 2560};
  layout.row_heights = {400, 400, 400, 400, 400, 400};
  layout.page.left_margin = layout.page.right_margin = 1.0;
  layout.page.top_margin = layout.page.bottom_margin = 1.0;
  layout.cells = {
      {0, 0, u"Shrunkwithinitsowncell", false, 1, {}},
      {0, 4, u"7", true, 0, {}},  // its right edge gives the columns' width
      {1, 0, u"Spillsoverfreeneighbours", false, 0, {}},
      {2, 0, u"Shrunkwithinthemergedrangeoftwocolumns", false, 1, {}},
      {3, 0, u"small", false, 1, {}},
      {4, 0, u"plain", false, 0, {}},
      {5, 0, u"1234567890123456", true, 1, {}},
  };
  layout.merges = {{2, 2, 0, 1}};
  const std::vector<PdfPage> pages = Print(layout);
  ASSERT_EQ(pages.size(), 1u);
  const PdfPage& page = pages[0];
  const auto seven = Find(page, "7");
  const auto own = Find(page, "Shrunkwithinitsowncell");
  const auto spills = Find(page, "Spillsoverfreeneighbours");
  const auto merged = Find(page, "Shrunkwithinthemergedrangeoftwocolumns");
  const auto fits = Find(page, "small");
  const auto plain = Find(page, "plain");
  const auto number = Find(page, "1234567890123456");
  ASSERT_TRUE(seven && own && spills && merged && fits && plain && number);
  const double column = (seven->x_max + 2 - kLeft) / 5;
  auto height = [](const PdfWord& word) { return word.y_max - word.y_min; };
  // As long a text without the flag runs on past its cell.
  EXPECT_GT(spills->x_max, kLeft + column);
  EXPECT_GE(own->x_min, kLeft);
  EXPECT_LE(own->x_max, kLeft + column);
  EXPECT_LT(height(*own), height(*plain));
  EXPECT_LE(merged->x_max, kLeft + 2 * column);
  EXPECT_GT(merged->x_max, kLeft + column);  // on the whole range, not its first cell
  // A number is shrunk whole rather than shortened.
  EXPECT_LE(number->x_max, kLeft + column);
  EXPECT_NEAR(height(*fits), height(*plain), 0.1);
}

TEST_F(SheetPainterTest, LandscapeTurnsThePaper) {
  SheetLayout layout = Sample();
  layout.page.orientation = Orientation::kLandscape;
  const std::vector<PdfPage> pages = Print(layout);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_NEAR(pages[0].width, 842, 1);
  EXPECT_NEAR(pages[0].height, 595, 1);
}

// A PDF that cannot be written is reported, never taken for saved, and the clerk is told
// which file and why.
TEST_F(SheetPainterTest, PdfThatCannotBeWrittenIsToldNamingTheFile) {
  const fs::path folder = work_ / "已有文件夹.pdf";
  fs::create_directories(folder);
  struct Case {
    fs::path path;
    const char* why;
  };
  const Case cases[] = {
      {work_ / "没有的文件夹" / "码单.pdf", "它所在的文件夹不存在"},
      {folder, "这是一个文件夹"},
  };
  for (const Case& c : cases) {
    const QString path = QString::fromStdString(c.path.string());
    EXPECT_FALSE(printing::WriteSheetPdf(Sample(), path)) << c.path;
    const QString text = printing::PdfSaveFailureText(path);
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(path))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8(c.why))) << text.toStdString();
  }
}

}  // namespace
