#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "biff_streams.h"
#include "compound_files.h"
#include "workbook/automation_error.h"
#include "workbook/embedded_application.h"
#include "workbook/sheet_print_source.h"
#include "xls/file/save_lock.h"
#include "xls/xls_document.h"

namespace workbook {
namespace {

namespace fs = std::filesystem;
using test_support::Bytes;

// A small workbook in a compound file, as the engine finds one on disk.
Bytes SampleFile() {
  std::vector<test_support::Record> globals{test_support::Xf(49),
                                            test_support::Sst({u"甲", u"乙"})};
  test_support::SheetSpec reference{
      u"资料",
      {test_support::Dimensions(2, 4, 1, 3), test_support::Row(2, 1, 3), test_support::Row(3, 1, 2),
       test_support::LabelSst(2, 1, 15, 0), test_support::Number(2, 2, 15, 7),
       test_support::LabelSst(3, 1, 15, 1)}};
  test_support::SheetSpec tally{
      u"码单",
      {test_support::Dimensions(0, 18, 0, 8), test_support::Row(4, 0, 2),
       test_support::Number(4, 0, 21, 4), test_support::Number(4, 1, 16, 5)}};
  return test_support::BuildCompoundFile(
      3, {{u"Workbook", test_support::BuildStream(globals, {reference, tally})}});
}

class EmbeddedApplication : public ::testing::Test {
 protected:
  EmbeddedApplication()
      : factory_([this](const xls::XlsDocument& shown) { shown_.push_back(shown.Path()); }) {
    path_ = temp_.Path() / u"锯材账单.xls";
    test_support::SaveFile(path_, SampleFile());
  }

  std::unique_ptr<Workbook> OpenSample(Application& application) {
    return application.GetWorkbooks()->Open(path_);
  }

  static int ErrorNumber(const std::function<void()>& operation, std::string* description) {
    try {
      operation();
    } catch (const AutomationError& e) {
      if (description != nullptr) *description = e.Description();
      return e.Number();
    }
    return 0;
  }

  test_support::TempDir temp_;
  fs::path path_;
  std::vector<fs::path> shown_;
  EmbeddedApplicationFactory factory_;
};

TEST_F(EmbeddedApplication, ProgIdsMatchWithoutRegardToCase) {
  EXPECT_NE(factory_.Create("Excel.application"), nullptr);
  EXPECT_NE(factory_.Create("EXCEL.APPLICATION"), nullptr);
  std::string description;
  EXPECT_EQ(ErrorNumber([&] { factory_.Create("Word.Application"); }, &description), 429);
  EXPECT_NE(description.find("Word.Application"), std::string::npos);
  EXPECT_EQ(ErrorNumber([&] { factory_.Create("Excel.Application.8"); }, nullptr), 429);
}

TEST_F(EmbeddedApplication, ReadsTheBuyersAndWritesTheTallyThroughAFullCycle) {
  {
    auto application = factory_.Create("Excel.application");
    auto workbook = OpenSample(*application);
    auto sheet = workbook->Worksheets(u"资料");
    application->SetVisible(false);
    EXPECT_EQ(sheet->Cell(3, 2), u"甲");
    EXPECT_EQ(sheet->Cell(4, 2), u"乙");
    EXPECT_EQ(sheet->Cell(5, 2), u"");
    EXPECT_EQ(sheet->Cell(3, 3), u"7");
    workbook->Save();
    workbook->Close();
  }
  EXPECT_TRUE(shown_.empty());
  EXPECT_EQ(test_support::LoadFile(path_), SampleFile());  // saved unchanged, byte for byte

  {
    auto application = factory_.Create("Excel.Application");
    auto workbooks = application->GetWorkbooks();
    auto workbook = workbooks->Open(path_);
    auto sheet = workbook->Worksheets(u"码单");
    sheet->SetCell(3, 2, u"新买方");
    sheet->SetCell(5, 1, u"");      // empty text over a formatted number
    sheet->SetCell(5, 2, u"0.40");  // Text-formatted: stays as typed
    sheet->SetCell(18, 7, u"1,234.5");
    workbook->Save();
    workbooks->Close();
    application->Quit();
  }
  auto application = factory_.Create("Excel.Application");
  auto workbook = OpenSample(*application);
  auto sheet = workbook->Worksheets(u"码单");
  EXPECT_EQ(sheet->Cell(3, 2), u"新买方");
  EXPECT_EQ(sheet->Cell(5, 1), u"");
  EXPECT_EQ(sheet->Cell(5, 2), u"0.40");
  EXPECT_EQ(sheet->Cell(18, 7), u"1234.5");
  EXPECT_EQ(workbook->Worksheets(u"资料")->Cell(3, 2), u"甲");
  application->SetVisible(true);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0], path_);
}

// What follows a save (recording the bill) is done by one PC at a time.
TEST_F(EmbeddedApplication, WorkAfterASaveRunsWhileTheWorkbookIsLocked) {
  auto application = factory_.Create("Excel.Application");
  auto workbook = OpenSample(*application);
  workbook->Worksheets(u"码单")->SetCell(3, 2, u"新买方");
  bool locked = false;
  workbook->Save([&] {
    try {
      xls::file::SaveLock::Take(path_, xls::file::SaveLock::Purpose::kSave,
                                std::chrono::milliseconds(0));
    } catch (const std::system_error& busy) {
      locked = busy.code() == std::errc::device_or_resource_busy;
    }
  });
  EXPECT_TRUE(locked);
}

TEST_F(EmbeddedApplication, OpenFailuresCarryTheirNumberAndNameTheFile) {
  auto application = factory_.Create("Excel.Application");
  auto workbooks = application->GetWorkbooks();
  const auto open_error = [&](const fs::path& path, std::string* description) {
    return ErrorNumber([&] { workbooks->Open(path); }, description);
  };
  std::string description;
  EXPECT_EQ(open_error(temp_.Path() / "missing.xls", &description), 53);
  EXPECT_NE(description.find("missing.xls"), std::string::npos);
  EXPECT_EQ(open_error(temp_.Path(), nullptr), 75);  // a folder

  const fs::path xlsx = temp_.Path() / "disguised.xls";
  test_support::SaveFile(xlsx, Bytes{'P', 'K', 3, 4, 20, 0, 0, 0});
  EXPECT_EQ(open_error(xlsx, &description), 321);
  EXPECT_NE(description.find(".xlsx"), std::string::npos);

  Bytes damaged = SampleFile();
  damaged.resize(damaged.size() / 2);
  const fs::path truncated = temp_.Path() / "truncated.xls";
  test_support::SaveFile(truncated, damaged);
  EXPECT_EQ(open_error(truncated, &description), 321);
  EXPECT_NE(description.find("truncated.xls"), std::string::npos);

  const fs::path no_workbook = temp_.Path() / "other.xls";
  test_support::SaveFile(no_workbook,
                         test_support::BuildCompoundFile(3, {{u"WordDocument", {1, 2}}}));
  EXPECT_EQ(open_error(no_workbook, nullptr), 321);
}

TEST_F(EmbeddedApplication, MissingSheetAndCellsOutsideTheSheetFail) {
  auto application = factory_.Create("Excel.Application");
  auto workbook = OpenSample(*application);
  std::string description;
  EXPECT_EQ(ErrorNumber([&] { workbook->Worksheets(u"码"); }, &description), 9);
  EXPECT_NE(description.find("“码”"), std::string::npos);
  auto sheet = workbook->Worksheets(u"码单");
  EXPECT_NE(ErrorNumber([&] { sheet->Cell(0, 1); }, nullptr), 0);
  EXPECT_NE(ErrorNumber([&] { sheet->SetCell(65537, 1, u"x"); }, nullptr), 0);
  EXPECT_NE(ErrorNumber([&] { sheet->SetCell(1, 257, u"x"); }, nullptr), 0);
  EXPECT_EQ(ErrorNumber([&] { sheet->SetCell(65536, 256, u"x"); }, nullptr), 0);
  EXPECT_NE(ErrorNumber([&] { sheet->SetCell(1, 1, std::u16string(32768, u'x')); }, nullptr), 0);
}

TEST_F(EmbeddedApplication, HandlesOutliveTheirParentsButNotAClose) {
  auto application = factory_.Create("Excel.Application");
  std::unique_ptr<Worksheet> sheet;
  {
    auto workbook = OpenSample(*application);
    sheet = workbook->Worksheets(u"资料");
  }
  EXPECT_EQ(sheet->Cell(3, 2), u"甲");  // the sheet keeps the workbook's data alive
  application->GetWorkbooks()->Close();
  EXPECT_EQ(ErrorNumber([&] { sheet->Cell(3, 2); }, nullptr), 440);
  application->Quit();
  EXPECT_EQ(ErrorNumber([&] { application->GetWorkbooks(); }, nullptr), 440);
}

TEST_F(EmbeddedApplication, ReadOnlyWorkbookIsNotSavedAndStaysAsItWas) {
  auto application = factory_.Create("Excel.Application");
  auto workbook = OpenSample(*application);
  workbook->Worksheets(u"码单")->SetCell(3, 2, u"x");
  fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::string description;
  EXPECT_EQ(ErrorNumber([&] { workbook->Save(); }, &description), 70);
  EXPECT_NE(description.find("锯材账单.xls"), std::string::npos);
  EXPECT_EQ(test_support::LoadFile(path_), SampleFile());
  fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add);
}

// A print right after the save shows the workbook the save left in memory: the file is not
// read again, so a file changed meanwhile (here: no longer a workbook) neither fails the
// print nor shows in it, and forgetting the save reads the file once more.
TEST(EmbeddedApplicationReopening, ThePrintAfterASaveShowsWhatWasStoredWithoutReadingTheFile) {
  test_support::TempDir temp;
  const fs::path path = temp.Path() / u"锯材账单.xls";
  test_support::SaveFile(path, SampleFile());
  std::vector<std::u16string> printed;
  EmbeddedApplicationFactory factory(
      [&](const xls::XlsDocument& shown) {
        for (const auto& cell : LoadSavedSheetLayout(shown, u"码单").cells) {
          if (cell.row == 2 && cell.column == 1) printed.push_back(cell.text);
        }
      },
      SavedWorkbookReopening::kFromMemory);
  {
    auto application = factory.Create("Excel.Application");
    auto workbook = application->GetWorkbooks()->Open(path);
    workbook->Worksheets(u"码单")->SetCell(3, 2, u"新买方");
    workbook->Save();
    application->GetWorkbooks()->Close();
    application->Quit();
  }
  test_support::SaveFile(path, Bytes{'n', 'o', 't', ' ', 'x', 'l', 's'});

  auto application = factory.Create("Excel.Application");
  application->GetWorkbooks()->Open(path);
  application->SetVisible(true);
  EXPECT_EQ(printed, std::vector<std::u16string>{u"新买方"});

  application->GetWorkbooks()->Close();
  factory.ForgetSaved();
  EXPECT_THROW(application->GetWorkbooks()->Open(path), AutomationError);
}

}  // namespace
}  // namespace workbook
