// The day's copy of the book: made once a day, the last 30 kept, each a whole book even
// when another PC records during the copy, and never a reason for a recording to fail.
#include "billbook/daily_backup.h"

#include <gtest/gtest.h>

#include <set>

#include "billbook/bill_book.h"
#include "book_fixtures.h"
#include "compound_files.h"

namespace {

namespace fs = std::filesystem;
using billbook::BackupOutcome;
using book_fixtures::RecorderAt;

std::set<std::u16string> FolderNames(const fs::path& folder) {
  std::set<std::u16string> names;
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().u16string());
  }
  return names;
}

void RecordOn(billbook::BillBook& book, int day, int bills = 1) {
  for (int i = 0; i < bills; ++i) {
    book.Record("", book_fixtures::Bill("张记木业", "0.1296", "162.00", i, 13),
                RecorderAt(2026, 12, day));
  }
}

// Thousands of bills' rows straight through SQL in one transaction: a book of many pages,
// made in milliseconds rather than a synchronous write per bill.
void Inflate(const fs::path& file) {
  ASSERT_TRUE(book_fixtures::ExecuteSql(
      file,
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000) "
      "INSERT INTO bills(number, day, serial, time, buyer, seller, total_volume, total_amount, "
      "volume_e4, amount_fen, revision_count) SELECT '20261207-' || i, 20261207, i, "
      "'2026-12-07 09:30:00', '李家建材', '林场一队', '0.0001', '0.01', 1, 1, 1 FROM n"));
}

struct BackupTest : ::testing::Test {
  test_support::TempDir temp;
  fs::path file = temp.Path() / billbook::kBookFileName;
  fs::path folder = temp.Path() / billbook::kBackupFolderName;
  billbook::BillBook book{file};
};

TEST_F(BackupTest, TheFirstWriteOfADayIsCopiedAndLaterOnesThatDayAreNot) {
  EXPECT_EQ(book.BackUpIfDue(RecorderAt(2026, 12, 8).time).kind, BackupOutcome::Kind::kNotDue)
      << "no book yet";
  EXPECT_FALSE(fs::exists(folder));

  RecordOn(book, 8);
  const BackupOutcome first = book.BackUpIfDue(RecorderAt(2026, 12, 8, 9).time);
  ASSERT_EQ(first.kind, BackupOutcome::Kind::kMade) << first.detail;
  EXPECT_EQ(first.copy, folder / u"锯材账本-20261208.db");
  EXPECT_EQ(FolderNames(folder), std::set<std::u16string>{u"锯材账本-20261208.db"});

  RecordOn(book, 8);
  EXPECT_EQ(book.BackUpIfDue(RecorderAt(2026, 12, 8, 17).time).kind, BackupOutcome::Kind::kNotDue);
  EXPECT_EQ(FolderNames(folder).size(), 1u);
  // The copy is the book as the day's first write left it.
  EXPECT_EQ(billbook::BillBook(first.copy).Sum({}).bills, 1);
}

TEST_F(BackupTest, ThirtyOneDaysOfWritesKeepTheLastThirtyAndTheClerksOwnFiles) {
  fs::create_directories(folder);
  const std::u16string own[] = {u"锯材账本-旧.db", u"说明.txt", u"锯材账本-2026120.db"};
  for (const auto& name : own) test_support::SaveFile(folder / name, {'x'});
  for (int day = 1; day <= 31; ++day) {
    RecordOn(book, day);
    ASSERT_EQ(book.BackUpIfDue(RecorderAt(2026, 12, day).time).kind, BackupOutcome::Kind::kMade)
        << day;
  }
  std::set<std::u16string> expected(std::begin(own), std::end(own));
  for (int day = 2; day <= 31; ++day) {
    expected.insert(billbook::BackupCopyPath(file, 20261200 + day).filename().u16string());
  }
  EXPECT_EQ(FolderNames(folder), expected);
  EXPECT_EQ(billbook::BillBook(folder / u"锯材账本-20261231.db").Sum({}).bills, 31);
}

TEST_F(BackupTest, ABookWrittenDuringTheCopyStillGivesAWholeCopy) {
  RecordOn(book, 8, 3);
  book.Void("20261208-002", "写错买方", RecorderAt(2026, 12, 8));
  Inflate(file);  // some hundred pages: many slices
  billbook::DailyBackup backup = book.StartBackup(RecorderAt(2026, 12, 8).time);
  int slices = 0;
  for (; slices < 3; ++slices) ASSERT_FALSE(backup.Step(std::chrono::milliseconds(0)));
  // Another connection records between slices: nothing the copy holds locks it out.
  RecordOn(book, 8, 2);
  while (!backup.Step(std::chrono::milliseconds(0))) ++slices;
  EXPECT_GT(slices, 5);
  ASSERT_EQ(backup.outcome().kind, BackupOutcome::Kind::kMade) << backup.outcome().detail;
  std::string check;
  ASSERT_TRUE(book_fixtures::ExecuteSql(backup.outcome().copy, "PRAGMA integrity_check", &check));
  EXPECT_EQ(check, "ok");
  // The same bills, the voided one left out of the sums as in the book.
  billbook::BillBook copy(backup.outcome().copy);
  EXPECT_EQ(copy.Sum({}), book.Sum({}));
  EXPECT_EQ(copy.Open("20261208-002").revisions.at(0).content,
            book.Open("20261208-002").revisions.at(0).content);
  EXPECT_EQ(FolderNames(folder).size(), 1u) << "no part file left";
}

TEST_F(BackupTest, AFailedCopyIsAnOutcomeAndTheBookRecordsOn) {
  RecordOn(book, 8);
  test_support::SaveFile(folder, {'x'});  // a file where the folder should be
  const BackupOutcome failed = book.BackUpIfDue(RecorderAt(2026, 12, 8).time);
  EXPECT_EQ(failed.kind, BackupOutcome::Kind::kFailed);
  EXPECT_FALSE(failed.detail.empty());
  RecordOn(book, 8);
  EXPECT_EQ(book.Sum({}).bills, 2);
}

TEST_F(BackupTest, AnAbandonedCopyLeavesNothingBehind) {
  RecordOn(book, 8);
  Inflate(file);
  {
    billbook::DailyBackup backup = book.StartBackup(RecorderAt(2026, 12, 8).time);
    ASSERT_FALSE(backup.Step(std::chrono::milliseconds(0)));
    ASSERT_FALSE(backup.Step(std::chrono::milliseconds(0)));
  }
  EXPECT_TRUE(FolderNames(folder).empty());
  EXPECT_EQ(book.BackUpIfDue(RecorderAt(2026, 12, 8).time).kind, BackupOutcome::Kind::kMade);
}

}  // namespace
