// The bad books that need POSIX: a pipe or a link at the book's name, a book or folder the
// clerk may not write or read (a user of their own, so root's rights do not hide it), and a
// full disk (a small tmpfs in a mount namespace of the test's own).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "billbook/bill_book.h"
#include "billbook/book_failure.h"
#include "book_fixtures.h"
#include "child_process.h"
#include "compound_files.h"

namespace {

namespace fs = std::filesystem;
using billbook::Failure;

constexpr int kNoFailure = 100;
constexpr int kSkipped = 101;

// Runs `action` in a child process, as `uid` when given; the failure it ends with, kNoFailure
// or kSkipped as the child's exit code. Only an exit code leaves the child.
int FailureInChild(const std::function<int()>& action, uid_t uid = 0) {
  const pid_t child = fork();
  if (child == 0) {
    if (uid != 0 && (setresgid(uid, uid, uid) != 0 || setresuid(uid, uid, uid) != 0)) _exit(102);
    try {
      _exit(action());
    } catch (const billbook::BookError& error) {
      _exit(static_cast<int>(error.failure()));
    } catch (...) {
      _exit(103);
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 104;
}

int RecordOne(const fs::path& file) {
  billbook::BillBook(file).Record("", book_fixtures::Bill("李家", "0.1000", "10.00"),
                                  book_fixtures::RecorderAt(2026, 12, 9));
  return kNoFailure;
}

int ListAll(const fs::path& file) {
  billbook::BillBook(file).List({}, 0, 10);
  return kNoFailure;
}

void MakeBook(const fs::path& file) {
  billbook::BillBook(file).Record("", book_fixtures::Bill("张记木业", "0.3888", "486.00"),
                                  book_fixtures::RecorderAt(2026, 12, 8));
}

constexpr uid_t kClerk = 4111;  // a user who owns nothing in the test's folder

TEST(BadBookPosix, PipesLinksAndForbiddenFilesGiveTheirFailuresAndStayAsTheyWere) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  struct Case {
    const char* what;
    std::function<void(const fs::path& folder, const fs::path& file)> make;
    Failure record;  // the failure of recording a bill
    Failure list;    // the failure of listing the bills
  };
  const Case cases[] = {
      {"a pipe", [](const fs::path&, const fs::path& f) { ASSERT_EQ(mkfifo(f.c_str(), 0666), 0); },
       Failure::kNotAFile, Failure::kNotAFile},
      {"a link to a book",
       [](const fs::path& folder, const fs::path& f) {
         MakeBook(folder / "真账本.db");
         fs::create_symlink("真账本.db", f);
       },
       Failure::kNotAFile, Failure::kNotAFile},
      {"a dangling link",
       [](const fs::path&, const fs::path& f) { fs::create_symlink("不在了.db", f); },
       Failure::kNotAFile, Failure::kNotAFile},
      {"a book the clerk may only read",
       [](const fs::path&, const fs::path& f) {
         MakeBook(f);
         ASSERT_EQ(chmod(f.c_str(), 0644), 0);
       },
       Failure::kReadOnly, Failure(kNoFailure)},
      {"a writable book in a folder the clerk may not write (no room for the journal)",
       [](const fs::path&, const fs::path& f) {
         MakeBook(f);
         ASSERT_EQ(chmod(f.c_str(), 0666), 0);
       },
       Failure::kReadOnly, Failure(kNoFailure)},
      {"no book yet, in a folder the clerk may not write", [](const fs::path&, const fs::path&) {},
       Failure::kReadOnly, Failure(kNoFailure)},
      {"a book the clerk may not read",
       [](const fs::path&, const fs::path& f) {
         MakeBook(f);
         ASSERT_EQ(chmod(f.c_str(), 0600), 0);
       },
       Failure::kPermissionDenied, Failure::kPermissionDenied},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test_support::TempDir temp;
    const fs::path folder = temp.Path() / "共享";
    fs::create_directory(folder);
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    const fs::path file = folder / billbook::kBookFileName;
    ASSERT_EQ(chmod(temp.Path().c_str(), 0755), 0);
    c.make(folder, file);
    const auto before =
        fs::exists(fs::symlink_status(file)) && fs::is_regular_file(fs::symlink_status(file))
            ? test_support::LoadFile(file)
            : test_support::Bytes{};
    const auto entries = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
    EXPECT_EQ(FailureInChild([&] { return RecordOne(file); }, kClerk), static_cast<int>(c.record));
    EXPECT_EQ(FailureInChild([&] { return ListAll(file); }, kClerk), static_cast<int>(c.list));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), entries);
    if (!before.empty()) {
      EXPECT_EQ(test_support::LoadFile(file), before);
    }
  }
}

TEST(BadBookPosix, AFullDiskIsDiskFullAndTheBookKeepsWhatItHad) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root for a tmpfs of its own";
  test_support::TempDir temp;
  const fs::path file = temp.Path() / billbook::kBookFileName;
  const int result = FailureInChild([&] {
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", temp.Path().c_str(), "tmpfs", 0, "size=256k") != 0) {
      return kSkipped;
    }
    MakeBook(file);
    const test_support::Bytes before = test_support::LoadFile(file);
    {
      // Every block left is taken.
      std::FILE* filler = std::fopen((temp.Path() / "filler").c_str(), "wb");
      const std::string block(4096, 'f');
      while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
             std::fflush(filler) == 0) {
      }
      std::fclose(filler);
    }
    int failure = kNoFailure;
    try {
      // A long bill: more pages than the journal's first block holds.
      billbook::BillContent bill = book_fixtures::Bill("李家", "0.1000", "10.00", 0, 13);
      for (auto& line : bill.lines) line[0] = std::string(2000, 'x');
      billbook::BillBook(file).Record("", bill, book_fixtures::RecorderAt(2026, 12, 9));
    } catch (const billbook::BookError& error) {
      failure = static_cast<int>(error.failure());
    }
    // The book holds what it had; the next bill goes in once there is room again.
    if (test_support::LoadFile(file) != before) return 105;
    fs::remove(temp.Path() / "filler");
    if (billbook::BillBook(file)
            .Record("", book_fixtures::Bill("李家", "0.1000", "10.00"),
                    book_fixtures::RecorderAt(2026, 12, 9))
            .number != "20261209-001") {
      return 106;
    }
    return failure;
  });
  if (result == kSkipped) GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(result, static_cast<int>(Failure::kDiskFull));
}

TEST(BookPosix, DebiansSqliteProgramFindsTheBookWhole) {
  test_support::TempDir temp;
  const fs::path file = temp.Path() / billbook::kBookFileName;
  billbook::BillBook book(file);
  for (int i = 0; i < 20; ++i) MakeBook(file);
  const std::string number = book.Record("", book_fixtures::Bill("李家", "0.1000", "10.00"),
                                         book_fixtures::RecorderAt(2026, 12, 8))
                                 .number;
  book.Record(number, book_fixtures::Bill("李家", "0.2000", "20.00"),
              book_fixtures::RecorderAt(2026, 12, 8));
  book.Void(number, "重复", book_fixtures::RecorderAt(2026, 12, 8));
  std::string output;
  ASSERT_EQ(test_support::RunProgram("/usr/bin/sqlite3",
                                     {"-readonly", file.string(),
                                      "SELECT count(*) FROM bills; SELECT count(*) FROM revisions;"
                                      "PRAGMA integrity_check"},
                                     &output),
            0);
  EXPECT_EQ(output, "21\n22\nok\n");
}

}  // namespace
