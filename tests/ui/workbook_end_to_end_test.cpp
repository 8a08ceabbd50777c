// The whole job on the real window and the real workbook engine: start-up load from the
// sample template, a tally typed from the keyboard, the export, and what the saved workbook
// then holds, read back by our engine and by LibreOffice.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <map>
#include <sstream>

#include "program_environment.h"
#include "spreadsheet_programs.h"
#include "tally/numeric_text.h"
#include "ui/workbook_binding.h"
#include "window_fixture.h"
#include "workbook/bill_recording.h"
#include "workbook/cell_map.h"
#include "workbook/embedded_application.h"
#include "workbook/workbook_path.h"
#include "xls/xls_document.h"

namespace ui {
namespace {

namespace fs = std::filesystem;
using tally::FieldId;
using tally::SingleField;
using tally::TallyColumn;
using Cells = std::map<std::pair<int, int>, std::u16string>;

// Reads every cell of rows 1 to 20, columns 1 to 8 of a sheet through a fresh engine.
Cells ReadSheet(const fs::path& file, std::u16string_view sheet_name) {
  workbook::EmbeddedApplicationFactory engine([](const xls::XlsDocument&) {});
  auto app = engine.Create("Excel.Application");
  auto book = app->GetWorkbooks()->Open(file);
  auto sheet = book->Worksheets(sheet_name);
  Cells cells;
  for (int row = 1; row <= 20; ++row) {
    for (int column = 1; column <= 8; ++column) cells[{row, column}] = sheet->Cell(row, column);
  }
  return cells;
}

// The tally sheet as LibreOffice shows it (cell texts as formatted), row by row.
std::vector<std::vector<std::string>> LibreOfficeView(const fs::path& file, const fs::path& work) {
  std::stringstream csv(test_support::LibreOfficeCsv(file, work, 1));
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(csv, line);) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, ',');) {
      if (field.size() >= 2 && field.front() == '"') field = field.substr(1, field.size() - 2);
      fields.push_back(field);
    }
    rows.push_back(fields);
  }
  return rows;
}

class WorkbookEndToEndTest : public testing::WindowTest {
 protected:
  void BeforeShow(Form1& window) override {
    ASSERT_TRUE(folder_.isValid());
    program_dir_ = fs::path(folder_.path().toStdU16String());
    fs::copy_file(VERDALON_TEMPLATE, workbook::WorkbookPath(program_dir_));
    binding_ = std::make_unique<WorkbookBinding>(window, engine_, program_dir_);
    binding_->LoadReferenceData();
  }

  fs::path Workbook() const { return workbook::WorkbookPath(program_dir_); }

  // Types one line from its length box on, pressing Enter after every value.
  void TypeLine(const std::vector<QString>& values) {
    for (const QString& value : values) {
      Type(value);
      Press(Qt::Key_Return);
    }
  }

  void Passes() {
    form().OnTimer1Tick();
    form().OnTimer1Tick();
  }

  // The window's text for a cell of the item block, as the template's cell table lays it
  // out: line r in row 5 + r, its columns A to H in the window's order.
  std::u16string Shown(workbook::CellRef cell) {
    static constexpr TallyColumn kSheetColumns[] = {
        TallyColumn::Length,    TallyColumn::Width,           TallyColumn::Thickness,
        TallyColumn::Bundles,   TallyColumn::PiecesPerBundle, TallyColumn::Volume,
        TallyColumn::UnitPrice, TallyColumn::Amount};
    return form().sheet().Text(FieldId(kSheetColumns[cell.column - 1], cell.row - 5));
  }

  QTemporaryDir folder_;
  fs::path program_dir_;
  std::vector<fs::path> opened_;
  // As the program runs it: each export shows the workbook its save left in memory.
  workbook::EmbeddedApplicationFactory engine_{
      [this](const xls::XlsDocument& d) { opened_.push_back(d.Path()); },
      workbook::SavedWorkbookReopening::kFromMemory};
  std::unique_ptr<WorkbookBinding> binding_;
};

TEST_F(WorkbookEndToEndTest, StartsWithTheBuyersAndSellerOfTheReferenceSheet) {
  const Cells reference = ReadSheet(Workbook(), workbook::kReferenceSheet);
  QComboBox* combo = form().Combo1();
  ASSERT_EQ(combo->count(), 5);
  for (int i = 0; i < combo->count(); ++i) {
    EXPECT_EQ(combo->itemText(i).toStdU16String(), (reference.at({3 + i, 2})));
  }
  EXPECT_EQ(form().SellerCaption(), (reference.at({3, 3})));
  EXPECT_FALSE(form().SellerCaption().empty());
  EXPECT_EQ(form().BuyerText(), u"          ");  // the box keeps its ten blanks
}

TEST_F(WorkbookEndToEndTest, ExportsTheTallyAsShownAndHandsItToTheDesktop) {
  testing::MessageAnswerer answerer;
  form().Combo1()->setCurrentIndex(1);
  Focus(Cell("Text1", 0));
  TypeLine({"4", "200", "50", "1", "10", "800"});
  TypeLine({"4", "117.25", "50", "3", "12", "1850"});
  Press(Qt::Key_Down);  // Enter left us in Text1 row 2; down to row 3 ...
  Press(Qt::Key_Up);
  Press(Qt::Key_Up);  // ... and up to row 1, whose text is now selected
  Type("6");          // replaces the 4
  Focus("Text9");
  Type("王师傅");
  Passes();
  ASSERT_EQ(form().sheet().Text(TallyColumn::Length, 1), u"6");
  ASSERT_EQ(form().sheet().Text(TallyColumn::Volume, 1), u"1.2663");

  QTest::mouseClick(Control("Command4"), Qt::LeftButton);
  Settle();
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.texts[0], "每次打印前请先关闭*锯材账单*");
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], Workbook());
  // The day's first recording starts the book's copy, made between the window's events.
  EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(program_dir_ / u8"账本备份"); }, 5000));
  std::vector<fs::path> beside;
  for (const fs::directory_entry& entry : fs::directory_iterator(program_dir_)) {
    beside.push_back(entry.path().filename());
  }
  std::sort(beside.begin(), beside.end());
  std::vector<fs::path> expected = {u8"锯材账单.xls", u8"锯材账本.db", u8"账本备份"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(beside, expected) << "beside the workbook only its bill book and the book's copies, "
                                 "no temporary file";
  EXPECT_TRUE(fs::is_regular_file(workbook::BookPath(program_dir_)));

  const Cells saved = ReadSheet(Workbook(), workbook::kTallySheet);
  auto expect_cell = [&](workbook::CellRef cell, const std::u16string& shown) {
    const std::u16string& stored = saved.at({cell.row, cell.column});
    // Numbers are stored as numbers, so the engine reads them back in General form.
    const bool same = stored == shown ||
                      (!stored.empty() && tally::ParseNumber(stored) == tally::ParseNumber(shown));
    EXPECT_TRUE(same) << cell.row << "," << cell.column;
  };
  expect_cell({3, 2}, form().BuyerText());
  for (int row = 0; row < tally::kRowCount; ++row) {
    for (int column = 1; column <= 8; ++column) {
      expect_cell({5 + row, column}, Shown({5 + row, column}));
    }
  }
  // The first line, cell by cell, as typed and computed.
  const char16_t* const first_line[] = {u"4", u"200", u"50", u"1", u"10", u"0.4", u"800", u"320"};
  for (int column = 1; column <= 8; ++column) {
    EXPECT_EQ(saved.at({5, column}), first_line[column - 1]) << "5," << column;
  }
  expect_cell({18, 2}, u"王师傅");
  expect_cell({18, 6}, form().sheet().Text(SingleField::Text10));
  expect_cell({18, 7}, form().sheet().Text(SingleField::Text11));

  if (const std::string why = test_support::MissingProgram("soffice"); !why.empty()) {
    GTEST_SKIP() << why;
  }
  QTemporaryDir work;
  const auto view = LibreOfficeView(Workbook(), fs::path(work.path().toStdString()));
  ASSERT_GE(view.size(), 18u);
  auto text = [](const std::u16string& s) { return QString::fromStdU16String(s).toStdString(); };
  EXPECT_EQ(view[2][1], text(form().BuyerText()));
  for (std::size_t row = 0; row < 2; ++row) {
    for (std::size_t column = 1; column <= 8; ++column) {
      const workbook::CellRef cell{5 + static_cast<int>(row), static_cast<int>(column)};
      EXPECT_EQ(view[4 + row][column - 1], text(Shown(cell))) << row << "," << column;
    }
  }
  EXPECT_EQ(view[17][1], "王师傅");
  EXPECT_EQ(view[17][5], text(form().sheet().Text(SingleField::Text10)));
  EXPECT_EQ(view[17][6], text(form().sheet().Text(SingleField::Text11)));
}

// The list holds 福建永安林海木业有限公司: a clerk who types its start gets just that start on the
// bill.
TEST_F(WorkbookEndToEndTest, TheBuyerOnTheBillIsWhatTheClerkTyped) {
  testing::MessageAnswerer answerer;
  Focus(Cell("Text6", 1));
  Press(Qt::Key_Tab);
  ASSERT_EQ(FocusName(), "Combo1");
  form().Combo1()->lineEdit()->selectAll();
  Type("福建永安");
  Press(Qt::Key_Return);
  QTest::mouseClick(Control("Command4"), Qt::LeftButton);
  Settle();
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(ReadSheet(Workbook(), workbook::kTallySheet).at({3, 2}), u"福建永安");
}

TEST_F(WorkbookEndToEndTest, ASecondExportEmptiesWhatTheFirstWrote) {
  testing::MessageAnswerer answerer;
  form().sheet().SetText(TallyColumn::Length, 12, u"4");
  form().sheet().SetText(TallyColumn::Width, 12, u"200");
  form().sheet().SetText(TallyColumn::Thickness, 12, u"50");
  form().sheet().SetText(TallyColumn::Bundles, 12, u"1");
  form().sheet().SetText(TallyColumn::PiecesPerBundle, 12, u"10");
  form().sheet().SetText(TallyColumn::UnitPrice, 12, u"800");
  Passes();
  QTest::mouseClick(Control("Command4"), Qt::LeftButton);
  Settle();
  ASSERT_EQ(ReadSheet(Workbook(), workbook::kTallySheet).at({17, 8}), u"320");

  QTest::mouseClick(Control("Command1"), Qt::LeftButton);
  Passes();
  Passes();
  QTest::mouseClick(Control("Command4"), Qt::LeftButton);
  Settle();
  EXPECT_EQ(answerer.texts.size(), 1) << "the reminder comes once per run";
  EXPECT_EQ(opened_.size(), 2u);
  const Cells saved = ReadSheet(Workbook(), workbook::kTallySheet);
  for (int row = 5; row <= 17; ++row) {
    for (int column = 1; column <= 8; ++column) {
      EXPECT_EQ(saved.at({row, column}), u"") << row << "," << column;
    }
  }
  EXPECT_EQ(saved.at({18, 6}), u"");
  EXPECT_EQ(saved.at({18, 7}), u"");
}

// The workbook kept in memory from a save is never written back over what the clerk
// changed in the spreadsheet program since: not the start-up's, not an export's.
TEST_F(WorkbookEndToEndTest, WhatTheSpreadsheetProgramChangedMeanwhileIsKept) {
  testing::MessageAnswerer answerer;
  const auto change_in_spreadsheet = [this](int row, const std::u16string& text) {
    const auto document = xls::XlsDocument::Open(Workbook());
    document->SetCell(document->WorksheetIndex(workbook::kReferenceSheet), row, 10, text);
    document->Save();
  };
  change_in_spreadsheet(40, u"开票后改");
  QTest::mouseClick(Control("Command4"), Qt::LeftButton);
  Settle();
  change_in_spreadsheet(41, u"再改");
  QTest::mouseClick(Control("Command4"), Qt::LeftButton);
  Settle();
  ASSERT_EQ(opened_.size(), 2u);
  const auto saved = xls::XlsDocument::Open(Workbook());
  const std::size_t reference = saved->WorksheetIndex(workbook::kReferenceSheet);
  EXPECT_EQ(saved->Cell(reference, 40, 10), u"开票后改");
  EXPECT_EQ(saved->Cell(reference, 41, 10), u"再改");
}

TEST_F(WorkbookEndToEndTest, AFailedExportIsToldAndTheTallyStays) {
  testing::MessageAnswerer answerer;
  form().sheet().SetText(TallyColumn::Length, 0, u"4");
  form().sheet().SetText(SingleField::Text9, u"李四");
  fs::remove(Workbook());  // gone after start-up: both attempts fail
  QTest::mouseClick(Control("Command4"), Qt::LeftButton);
  Settle();
  ASSERT_EQ(answerer.texts.size(), 2);  // the reminder, then the error
  EXPECT_TRUE(answerer.texts[1].contains("53")) << answerer.texts[1].toStdString();
  EXPECT_TRUE(answerer.texts[1].contains(
      QString::fromUtf16(workbook::kWorkbookFileName.data(), workbook::kWorkbookFileName.size())));
  EXPECT_TRUE(form().isVisible());
  EXPECT_EQ(form().sheet().Text(TallyColumn::Length, 0), u"4");
  EXPECT_EQ(form().sheet().Text(SingleField::Text9), u"李四");
  EXPECT_TRUE(opened_.empty());
  EXPECT_TRUE(fs::is_empty(program_dir_)) << "no temporary file is left behind";
}

// The boxes show the start of a long value, but the export carries all of it.
TEST_F(WorkbookEndToEndTest, AnOverLongValueIsExportedWhole) {
  testing::MessageAnswerer answerer;
  Focus(Cell("Text1", 0));
  TypeLine({"12345678901234567890", "1", "1", "1", "1", "1"});
  Passes();
  ASSERT_EQ(Edit(Cell("Text6", 0))->cursorPosition(), 0);
  QTest::mouseClick(Control("Command4"), Qt::LeftButton);
  Settle();
  ASSERT_EQ(opened_.size(), 1u);

  // Stored as numbers, which read back in the General form of a spreadsheet: 15 digits.
  const Cells saved = ReadSheet(Workbook(), workbook::kTallySheet);
  EXPECT_EQ(saved.at({5, 1}), u"1.23456789012346E+19");
  EXPECT_EQ(saved.at({5, 6}), u"12345678901234.6");
  EXPECT_EQ(saved.at({5, 8}), u"12345678901234.6");
  EXPECT_EQ(saved.at({18, 6}), u"12345678901234.6");
  EXPECT_EQ(saved.at({18, 7}), u"12345678901234.6");
}

// Starts the test build of the program from its own folder, with or without the workbook
// beside it; every copy shares the given runtime folder and so the one-instance lock.
std::unique_ptr<QProcess> StartProgram(const QTemporaryDir& folder, const QString& runtime,
                                       bool with_workbook) {
  const QString program = folder.filePath(QFileInfo(VERDALON_EXECUTABLE).fileName());
  EXPECT_TRUE(QFile::copy(VERDALON_EXECUTABLE, program));
  QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
  if (with_workbook) {
    const QString sample = QString::fromStdU16String(fs::path(VERDALON_TEMPLATE).u16string());
    EXPECT_TRUE(QFile::copy(sample, folder.filePath(QStringLiteral("锯材账单.xls"))));
  }
  auto process = std::make_unique<QProcess>();
  process->setProcessEnvironment(ProgramEnvironment(runtime));
  process->start(program, {});
  EXPECT_TRUE(process->waitForStarted(10000));
  return process;
}

// The window shows only once the load has worked: a failed load ends the program before it.
TEST(StartupOrder, AMissingWorkbookIsToldAndTheWindowNeverShows) {
  QTemporaryDir folder;
  std::unique_ptr<QProcess> process = StartProgram(folder, folder.path(), false);
  ASSERT_TRUE(process->waitForFinished(20000));
  EXPECT_NE(process->exitCode(), 0);
  const QString said = QString::fromUtf8(process->readAllStandardError());
  EXPECT_TRUE(said.contains("53")) << said.toStdString();
  EXPECT_TRUE(said.contains(QStringLiteral("锯材账单.xls"))) << said.toStdString();
  // And where the sample the packages carry is, to copy it from.
  EXPECT_TRUE(said.contains(QStringLiteral("样板"))) << said.toStdString();
  EXPECT_FALSE(said.contains("window shown: Form1")) << said.toStdString();
#ifdef _WIN32
  // The folder as Windows writes it, and the name joined with a backslash: no "/" anywhere.
  EXPECT_TRUE(
      said.contains(QDir::toNativeSeparators(folder.path()) + QStringLiteral("\\锯材账单.xls")))
      << said.toStdString();
  EXPECT_FALSE(said.contains(QLatin1Char('/'))) << said.toStdString();
#endif
}

// The one-instance guard runs before the load: a second copy that has no workbook beside it
// says that a copy runs, not that the workbook is missing.
TEST(StartupOrder, TheGuardComesBeforeTheLoad) {
  QTemporaryDir runtime;
  QTemporaryDir first_folder;
  std::unique_ptr<QProcess> first = StartProgram(first_folder, runtime.path(), true);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return first->readAllStandardError().contains("window shown: Form1"); }, 20000));

  QTemporaryDir second_folder;
  std::unique_ptr<QProcess> second = StartProgram(second_folder, runtime.path(), false);
  ASSERT_TRUE(second->waitForFinished(20000));
  const QString said = QString::fromUtf8(second->readAllStandardError());
  EXPECT_TRUE(said.contains("程序已经运行")) << said.toStdString();
  EXPECT_FALSE(said.contains("53")) << said.toStdString();
  EXPECT_EQ(second->exitCode(), 0);
  first->kill();
  first->waitForFinished(10000);
}

}  // namespace
}  // namespace ui
