#include "xls/atomic_save.h"
#include "xls/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "compound_files.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using xls::ReadWholeFile;
using xls::SaveFileAtomically;

Bytes Text(const std::string& text) {
  return {text.begin(), text.end()};
}

// Files in the folder of `path` that look like its saving temporaries.
int CountTemporaries(const fs::path& path) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(path.parent_path())) {
    count += entry.path().filename().native().starts_with(xls::SavingPrefix(path));
  }
  return count;
}

std::errc ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::system_error& error) {
    return static_cast<std::errc>(error.code().default_error_condition().value());
  }
  return std::errc();
}

TEST(AtomicSave, SavingReplacesContentsAndKeepsPermissionsAndLinks) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / "锯材账单.xls";
  SaveFileAtomically(file, Text("first"));
  EXPECT_EQ(ReadWholeFile(file), Text("first"));

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
}

TEST(AtomicSave, TemporariesOfDeadProcessesAreRemovedOthersKept) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / "book.xls";
  const auto temporary = [&](pid_t pid) {
    return dir.Path() / (xls::SavingPrefix(file) + std::to_string(pid));
  };
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);
  for (const pid_t pid : {dead, getpid(), getppid()})
    test_support::SaveFile(temporary(pid), Text("x"));
  test_support::SaveFile(dir.Path() / (xls::SavingPrefix(file) + "notes"), Text("x"));

  SaveFileAtomically(file, Text("saved"));
  EXPECT_FALSE(fs::exists(temporary(dead)));
  EXPECT_FALSE(fs::exists(temporary(getpid())));
  EXPECT_TRUE(fs::exists(temporary(getppid()))) << "its owner may be saving right now";
  EXPECT_TRUE(fs::exists(dir.Path() / (xls::SavingPrefix(file) + "notes")));
  EXPECT_EQ(ReadWholeFile(file), Text("saved"));
}

}  // namespace
