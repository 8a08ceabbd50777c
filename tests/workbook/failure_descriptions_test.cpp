#include "workbook/failure_descriptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "base/text_encoding.h"

namespace workbook {
namespace {

using xls::FailureKind;

const std::filesystem::path kPath = u"/home/yard/锯材账单.xls";
// The packages' sample, in a folder beside the workbook (Windows joins it with "\\").
const std::filesystem::path kSamplePath = kPath.parent_path() / u"样板" / kPath.filename();
constexpr char kFileName[] = "锯材账单.xls";
constexpr char kSheetName[] = "码单";

// The classic numbers, as a clerk who knew the old program would look them up.
const std::map<FailureKind, int> kExpectedNumbers{
    {FailureKind::kNotFound, 53},
    {FailureKind::kPermissionDenied, 70},
    {FailureKind::kHeldByAnotherProgram, 70},
    {FailureKind::kDiskFull, 61},
    {FailureKind::kNotARegularFile, 75},
    {FailureKind::kTooLarge, 321},
    {FailureKind::kInputOutput, 75},
    {FailureKind::kNotAnOfficeFile, 321},
    {FailureKind::kDamaged, 321},
    {FailureKind::kEncrypted, 321},
    {FailureKind::kOldFormat, 321},
    {FailureKind::kXlsxFormat, 321},
    {FailureKind::kOdsFormat, 321},
    {FailureKind::kNoWorkbookStream, 321},
    {FailureKind::kNoSuchSheet, 9},
    {FailureKind::kCellOutOfRange, 440},
    {FailureKind::kTextTooLong, 440},
    {FailureKind::kInternal, 440},
    {FailureKind::kBackupOutOfReach, 70},
    {FailureKind::kBackupNotShareable, 70},
};

const std::filesystem::path kBackup = u"/home/yard/.锯材账单.xls.backup-00c0ffee00c0ffee";

bool NamesAFileBeside(FailureKind kind) {
  return kind == FailureKind::kBackupOutOfReach || kind == FailureKind::kBackupNotShareable;
}

bool NamesASheet(FailureKind kind) {
  return kind == FailureKind::kNoSuchSheet || kind == FailureKind::kCellOutOfRange ||
         kind == FailureKind::kTextTooLong;
}

xls::Failure SampleFailure(FailureKind kind, bool saving) {
  xls::Failure failure(kind, kPath, std::make_error_code(std::errc::io_error));
  if (NamesASheet(kind)) failure.WithSheet(u"码单");
  if (kind == FailureKind::kCellOutOfRange) failure.WithCell(70000, 3);
  if (kind == FailureKind::kTextTooLong) failure.WithCell(5, 2).WithTextLength(40000);
  if (NamesAFileBeside(kind)) failure.WithObstacle(kBackup);
  if (saving) failure.DuringSave();
  return failure;
}

// Chinese, and nothing in English once the path and the names of file formats are taken
// out: not a word of the system's own message either.
void ExpectChineseOnly(std::string description) {
  const std::u16string text = base::FromUtf8(description);
  EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](char16_t c) {
    return c >= u'\u4E00' && c <= u'\u9FFF';
  })) << description;
  for (const std::string& allowed :
       {kSamplePath.string(), kBackup.string(), kPath.string(), std::string("Excel"),
        std::string(".xlsx"), std::string(".xls"), std::string(".ods"),
        std::string("OpenDocument")}) {
    for (std::size_t at; (at = description.find(allowed)) != std::string::npos;) {
      description.erase(at, allowed.size());
    }
  }
  EXPECT_FALSE(std::regex_search(description, std::regex("[A-Za-z]"))) << description;
}

TEST(FailureDescriptions, EveryKindHasItsNumberAndAChineseDescriptionNamingTheFile) {
  ASSERT_EQ(std::size(xls::kEveryFailureKind), kExpectedNumbers.size());
  for (const FailureKind kind : xls::kEveryFailureKind) {
    for (const bool saving : {false, true}) {
      SCOPED_TRACE(std::string(SampleFailure(kind, saving).what()) + (saving ? ", saving" : ""));
      const AutomationError error = DescribeEngineFailure(SampleFailure(kind, saving));
      EXPECT_EQ(error.Number(), kExpectedNumbers.at(kind));
      const std::string description = error.Description();
      EXPECT_NE(description.find(kFileName), std::string::npos) << description;
      if (NamesASheet(kind)) {
        EXPECT_NE(description.find(std::string("“") + kSheetName + "”"), std::string::npos)
            << description;
      }
      if (NamesAFileBeside(kind)) {
        EXPECT_NE(description.find(kBackup.string()), std::string::npos) << description;
      }
      ExpectChineseOnly(description);
    }
  }
}

TEST(FailureDescriptions, KindsTheClerkMustTellApartReadDifferently) {
  const auto text = [](FailureKind kind) {
    return DescribeEngineFailure(SampleFailure(kind, false)).Description();
  };
  EXPECT_NE(text(FailureKind::kXlsxFormat).find(".xlsx"), std::string::npos);
  EXPECT_NE(text(FailureKind::kOdsFormat).find(".ods"), std::string::npos);
  EXPECT_NE(text(FailureKind::kPermissionDenied), text(FailureKind::kHeldByAnotherProgram));
  EXPECT_NE(text(FailureKind::kDamaged), text(FailureKind::kEncrypted));
  // Where the cell was and how long the text was, so the clerk can find it.
  EXPECT_NE(text(FailureKind::kCellOutOfRange).find("70000"), std::string::npos);
  EXPECT_NE(text(FailureKind::kTextTooLong).find("40000"), std::string::npos);
  // A failed save says the workbook on disk is as it was.
  EXPECT_NE(DescribeEngineFailure(SampleFailure(FailureKind::kDiskFull, true))
                .Description()
                .find("原文件未被改动"),
            std::string::npos);
}

// A missing workbook is where a first start or a careless upgrade ends up: the message says
// where the sample travels. Other missing files and a failed save have no sample to offer.
TEST(FailureDescriptions, AMissingWorkbookNamesTheSampleBesideIt) {
  const auto text = [](const std::filesystem::path& path, bool saving) {
    xls::Failure failure(FailureKind::kNotFound, path, {});
    if (saving) failure.DuringSave();
    return DescribeEngineFailure(failure).Description();
  };
  EXPECT_EQ(text(kPath, false), "找不到文件“" + base::ToUtf8(kPath.u16string()) +
                                    "”。请把工作簿放在程序所在的文件夹中。第一次使用时，"
                                    "把程序自带的样板“" +
                                    base::ToUtf8(kSamplePath.u16string()) +
                                    "”复制到程序所在的文件夹即可。");
  EXPECT_EQ(text(u"/home/yard/其他.xls", false).find("样板"), std::string::npos);
  EXPECT_EQ(text(kPath, true).find("样板"), std::string::npos);
}

TEST(FailureDescriptions, SystemErrorsSortIntoTheirKinds) {
  using xls::KindOfSystemError;
  EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::no_such_file_or_directory)),
            FailureKind::kNotFound);
  EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::permission_denied)),
            FailureKind::kPermissionDenied);
  EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::read_only_file_system)),
            FailureKind::kPermissionDenied);
  EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::device_or_resource_busy)),
            FailureKind::kHeldByAnotherProgram);
  EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::no_space_on_device)),
            FailureKind::kDiskFull);
  EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::is_a_directory)),
            FailureKind::kNotARegularFile);
  EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::file_too_large)),
            FailureKind::kTooLarge);
  EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::io_error)),
            FailureKind::kInputOutput);
}

TEST(FailureDescriptions, TheConversationsOwnFailuresAreChineseToo) {
  EXPECT_EQ(UnknownProgIdError("Word.Application").Number(), 429);
  EXPECT_EQ(InstanceEndedError().Number(), 440);
  EXPECT_EQ(WorkbookClosedError(kPath).Number(), 440);
  EXPECT_NE(WorkbookClosedError(kPath).Description().find(kFileName), std::string::npos);
  EXPECT_NE(NothingToShowWorkbookError(kPath).Description().find(kFileName), std::string::npos);
  EXPECT_EQ(UnexpectedExportError().Number(), 51);
  for (const AutomationError& error :
       {InstanceEndedError(), WorkbookClosedError(kPath), NothingToShowWorkbookError(kPath),
        UnexpectedExportError()}) {
    ExpectChineseOnly(error.Description());
  }
}

// The book's failures come after a successful export: each names the book, says this bill
// was not recorded, and reads differently from every other.
TEST(FailureDescriptions, EveryBookFailureNamesTheBookAndSaysTheBillWasNotRecorded) {
  using billbook::Failure;
  const std::filesystem::path book = std::filesystem::path(u"/共享/锯材账本.db");
  std::set<std::string> seen;
  for (Failure failure : {Failure::kNotAFile, Failure::kNotSqlite, Failure::kForeignDatabase,
                          Failure::kDamaged, Failure::kNewerThanProgram, Failure::kReadOnly,
                          Failure::kPermissionDenied, Failure::kDiskFull, Failure::kBusy,
                          Failure::kNoSuchBill, Failure::kBadTotal, Failure::kInputOutput}) {
    const std::string description = DescribeBookFailure(failure, book);
    SCOPED_TRACE(description);
    const std::string name = base::ToUtf8(book.u16string());
    const std::size_t at = description.find(name);
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(description.find("没有记入账本"), std::string::npos);
    ExpectChineseOnly(std::string(description).erase(at, name.size()));
    EXPECT_TRUE(seen.insert(description).second) << "told apart from the others";
  }
}

// Exporting the book fails in its own ways, each with its number; reading the book for it
// names the book and says nothing was exported, not that a bill went unrecorded.
TEST(FailureDescriptions, BookExportFailuresHaveTheirNumbersAndNameWhatStoppedThem) {
  const std::filesystem::path folder = kPath.parent_path();
  struct Case {
    AutomationError error;
    int number;
    std::vector<std::string> named;
  };
  const Case cases[] = {
      {NoBillsToExportError(), 3021, {}},
      {TooManyRowsToExportError(u"明细", 70000), 6, {"明细", "70000"}},
      {NoFreeExportNameError(folder / u"账本-20261201-20261231.xls"),
       58,
       {"账本-20261201-20261231", base::ToUtf8(folder.u16string())}},
      {ExportTemplateMissingError(kPath), 53, {base::ToUtf8(kPath.u16string())}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error.Description());
    EXPECT_EQ(c.error.Number(), c.number);
    std::string description = c.error.Description();
    for (const std::string& named : c.named) {
      const std::size_t at = description.find(named);
      ASSERT_NE(at, std::string::npos) << named;
      description.erase(at, named.size());
    }
    ExpectChineseOnly(description);
  }

  const std::filesystem::path book = folder / u"锯材账本.db";
  const std::map<billbook::Failure, int> numbers = {
      {billbook::Failure::kNotSqlite, 321},       {billbook::Failure::kDamaged, 321},
      {billbook::Failure::kPermissionDenied, 70}, {billbook::Failure::kBusy, 70},
      {billbook::Failure::kDiskFull, 61},         {billbook::Failure::kInputOutput, 75}};
  for (const auto& [failure, number] : numbers) {
    const AutomationError error = BookExportReadError(failure, book);
    SCOPED_TRACE(error.Description());
    EXPECT_EQ(error.Number(), number);
    EXPECT_NE(error.Description().find(base::ToUtf8(book.u16string())), std::string::npos);
    EXPECT_NE(error.Description().find("没有导出"), std::string::npos);
    EXPECT_EQ(error.Description().find("记入"), std::string::npos);
  }
}

}  // namespace
}  // namespace workbook
