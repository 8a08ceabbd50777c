#include "xls/file/atomic_save.h"
#include "xls/file/save_lock.h"
#include "xls/file/whole_file.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <functional>

#include "child_process.h"
#include "compound_files.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using xls::file::ReadWholeFile;
using xls::file::SaveFileAtomically;

Bytes Text(const std::string& text) {
  return {text.begin(), text.end()};
}

// Files in the folder of `path` that look like its saving temporaries.
int CountTemporaries(const fs::path& path) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(path.parent_path())) {
    count += entry.path().filename().native().starts_with(xls::file::SavingPrefix(path));
  }
  return count;
}

unsigned long OwnProcessId() {
#ifdef _WIN32
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long>(getpid());
#endif
}

std::errc ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::system_error& error) {
    return static_cast<std::errc>(error.code().default_error_condition().value());
  }
  return std::errc();
}

TEST(AtomicSave, SavingReplacesContents) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / u8"锯材账单.xls";
  SaveFileAtomically(file, Text("first"));
  EXPECT_EQ(ReadWholeFile(file), Text("first"));
  SaveFileAtomically(file, Text("second, longer"));
  EXPECT_EQ(ReadWholeFile(file), Text("second, longer"));
  SaveFileAtomically(file, Text("3"));
  EXPECT_EQ(ReadWholeFile(file), Text("3"));
  EXPECT_EQ(CountTemporaries(file), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(AtomicSave, SavingKeepsPermissionBitsAndLinks) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permission bits and symbolic links; on Windows the save keeps the "
                  "file's attributes and security instead, tested on their own";
#endif
  test_support::TempDir dir;
  const fs::path file = dir.Path() / u8"锯材账单.xls";
  SaveFileAtomically(file, Text("first"));
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  SaveFileAtomically(file, Text("second, longer"));
  EXPECT_EQ(ReadWholeFile(file), Text("second, longer"));
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  const fs::path link = dir.Path() / "link.xls";
  fs::create_symlink(file, link);
  SaveFileAtomically(link, Text("3"));
  EXPECT_TRUE(fs::is_symlink(link)) << "the link must still point at the workbook";
  EXPECT_EQ(ReadWholeFile(file), Text("3"));
  EXPECT_EQ(CountTemporaries(file), 0);
}

// What follows a save (the bill book's record) runs while no other save of the workbook
// can start, whichever way the save went: a new file, a rename over the old one, or a
// write in place for a file with two names.
TEST(AtomicSave, WorkAfterTheSaveRunsWithTheNewFileLocked) {
  enum class Before { kNothing, kOneName, kTwoNames };
  for (const Before before : {Before::kNothing, Before::kOneName, Before::kTwoNames}) {
    SCOPED_TRACE(static_cast<int>(before));
    test_support::TempDir dir;
    const fs::path file = dir.Path() / "book.xls";
    if (before != Before::kNothing) SaveFileAtomically(file, Text("old"));
    if (before == Before::kTwoNames) fs::create_hard_link(file, dir.Path() / "second-name.xls");
    const auto take_lock = [&] {
      xls::file::SaveLock::Take(file, xls::file::SaveLock::Purpose::kSave,
                                std::chrono::milliseconds(0));
    };
    int runs = 0;
    SaveFileAtomically(file, Text("new contents"), [&] {
      ++runs;
      EXPECT_EQ(ReadWholeFile(file), Text("new contents"));
      EXPECT_EQ(ErrorOf(take_lock), std::errc::device_or_resource_busy);
    });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(ErrorOf(take_lock), std::errc()) << "the lock ends with the save";
  }
}

TEST(AtomicSave, ReadOnlyFileIsNotReplaced) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / "book.xls";
  SaveFileAtomically(file, Text("original"));
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // Even for root, who could write it: the owner made it read-only on purpose.
  EXPECT_EQ(ErrorOf([&] { SaveFileAtomically(file, Text("new")); }), std::errc::permission_denied);
  EXPECT_EQ(ReadWholeFile(file), Text("original"));
  EXPECT_EQ(CountTemporaries(file), 0);
}

TEST(AtomicSave, UnwritableFolderFailsCleanly) {
#ifdef _WIN32
  GTEST_SKIP() << "a folder's write permission is an ACL on Windows, which wine does not enforce";
#else
  test_support::TempDir dir;
  const fs::path file = dir.Path() / "book.xls";
  SaveFileAtomically(file, Text("original"));
  fs::permissions(file, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                            ~fs::perms::others_exec);  // anyone may write the file itself
  fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
  // A child process does the save, as an unprivileged user if we are root, because root
  // writes into any folder.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
    const std::errc error = ErrorOf([&] { SaveFileAtomically(file, Text("new")); });
    _exit(error == std::errc::permission_denied ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "expected permission denied";
  EXPECT_EQ(ReadWholeFile(file), Text("original"));
  EXPECT_EQ(CountTemporaries(file), 0);
#endif
}

// Temporaries of the workbook found beside it while the save holds the workbook's lock are
// left by saves that died (no other save of it can be running): they go. Another file's
// stay. Names are random, so none planted ahead can be the one a save creates.
TEST(AtomicSave, TemporariesLeftBesideAreRemovedOthersKept) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / "book.xls";
  SaveFileAtomically(file, Text("first"));
  const auto temporary = [&](const fs::path& of, const std::string& tail) {
    return dir.Path() / (xls::file::SavingPrefix(of) + fs::path(tail).native());
  };
  const fs::path left[] = {temporary(file, std::to_string(OwnProcessId())),
                           temporary(file, "0123456789abcdef"), temporary(file, "notes")};
  for (const fs::path& path : left) test_support::SaveFile(path, Text("x"));
  const fs::path others = temporary(dir.Path() / "other.xls", "0123456789abcdef");
  test_support::SaveFile(others, Text("x"));

  SaveFileAtomically(file, Text("saved"));
  for (const fs::path& path : left) EXPECT_FALSE(fs::exists(path)) << path;
  EXPECT_TRUE(fs::exists(others));
  EXPECT_EQ(ReadWholeFile(file), Text("saved"));
  EXPECT_EQ(CountTemporaries(file), 0);
}

}  // namespace
