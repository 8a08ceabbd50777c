// Kills a process in the middle of saving, many times, and checks that the file is always
// one of the two contents it saves, never a torn mixture, and that temporaries do not pile up.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "atomic_save_contents.h"
#include "child_process.h"
#include "compound_files.h"
#include "xls/file/atomic_save.h"
#include "xls/file/whole_file.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "other_users.h"
#endif

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// Every start of a program under wine takes a good part of a second.
constexpr int kKills = 40;
#else
constexpr int kKills = 200;
#endif

int LeftBeside(const fs::path& file) {
  int leftovers = 0;
  for (const auto& entry : fs::directory_iterator(file.parent_path())) {
    const auto name = entry.path().filename().native();
    leftovers += name.starts_with(xls::file::SavingPrefix(file)) ||
                 name.starts_with(xls::file::BackupPrefix(file));
  }
  return leftovers;
}

struct Saver {
  fs::path program;
  std::vector<std::string> arguments_before_file;
};

// Kills savers of `file` at random moments. After each kill the file, once what the next
// open does has run (`open_first(kill number)`, which puts back a backup a save in place
// left), holds one of the two contents, and so does `other_name` if given (a hard link).
// Leftovers do not pile up: at most `max_leftovers` (what the victim was writing when it
// died, and in a sticky folder a colleague's used backup the owner could only mark).
void KillSaversRepeatedly(const fs::path& file, const fs::path& other_name, const Saver& saver,
                          const std::function<void(int)>& open_first, int max_leftovers = 1) {
  const auto first = VictimContent(false);
  const auto second = VictimContent(true);
  std::mt19937 random(4242);
  int kills = 0, saw_first = 0, saw_second = 0, saw_leftover = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(480);
  for (; kills < kKills && std::chrono::steady_clock::now() < deadline; ++kills) {
    std::vector<std::string> arguments = saver.arguments_before_file;
    arguments.push_back(file.string());
    test_support::ChildProcess victim(saver.program, arguments);
    ASSERT_TRUE(victim.Started());
    char tick = 0;
    // Wait for its first save, so every kill lands in a running save loop.
    const bool running = victim.ReadByte(tick);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 120'000));
    victim.Kill();
    victim.Wait();
    ASSERT_TRUE(running) << "the victim died before saving";

    const int leftovers = LeftBeside(file);
    ASSERT_LE(leftovers, max_leftovers);
    saw_leftover += leftovers > 0;
    open_first(kills);
    const auto now = xls::file::ReadWholeFile(file);
    ASSERT_TRUE(now == first || now == second) << "torn file of " << now.size() << " bytes";
    (now == first ? saw_first : saw_second)++;
    if (!other_name.empty()) {
      ASSERT_EQ(xls::file::ReadWholeFile(other_name), now);
    }
  }
  EXPECT_EQ(kills, kKills) << "too slow to kill as often as meant";
  EXPECT_GT(saw_leftover, 0) << "no kill landed in a save: the test proves nothing";
  ::testing::Test::RecordProperty("first", saw_first);
  ::testing::Test::RecordProperty("second", saw_second);
  ::testing::Test::RecordProperty("killed_mid_save", saw_leftover);
  std::printf("%d kills: %d left the first content, %d the second, %d mid-save\n", kills, saw_first,
              saw_second, saw_leftover);
}

std::size_t NamesInFolder(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicSaveCrash, KilledSaverLeavesOldOrNewFileNeverATornOne) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / u8"锯材账单.xls";
  xls::file::SaveFileAtomically(file, VictimContent(false));
  KillSaversRepeatedly(file, {}, {ATOMIC_SAVE_VICTIM, {}},
                       [&](int) { xls::file::RecoverInterruptedSave(file); });
  xls::file::SaveFileAtomically(file, VictimContent(false));
  EXPECT_EQ(NamesInFolder(dir.Path()), 1u);
}

// A file with two names is saved in place, behind a synced backup of its contents.
TEST(AtomicSaveCrash, KilledSaverInPlaceLeavesAWorkbookAfterRecovery) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / u8"锯材账单.xls";
  const fs::path other = dir.Path() / "link.xls";
  xls::file::SaveFileAtomically(file, VictimContent(false));
  fs::create_hard_link(file, other);
  KillSaversRepeatedly(file, other, {ATOMIC_SAVE_VICTIM, {}},
                       [&](int) { xls::file::RecoverInterruptedSave(file); });
  // Both names still lead to one file: what is saved through one is read through the other.
  // (MinGW's hard_link_count always says 1, so the count itself proves nothing there.)
  xls::file::SaveFileAtomically(file, VictimContent(true));
  EXPECT_EQ(xls::file::ReadWholeFile(other), VictimContent(true));
  EXPECT_EQ(NamesInFolder(dir.Path()), 2u);
}

#ifndef _WIN32
// The owner's workbook, saved by a colleague of its group in a sticky shared folder: in
// place, as the colleague cannot hand a new file to the owner. After each kill either the
// colleague or the owner opens it first.
TEST(AtomicSaveCrash, KilledColleagueSavingTheOwnersWorkbookLeavesOldOrNew) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as two users";
  if (!fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "setpriv is missing";
  using namespace test_users;
  test_support::TempDir dir;
  const fs::path folder = dir.Path() / "shared";
  fs::create_directory(folder);
  ASSERT_EQ(chmod(folder.c_str(), 01777), 0);
  const fs::path file = folder / u8"锯材账单.xls";
  xls::file::SaveFileAtomically(file, VictimContent(false));
  ASSERT_EQ(chown(file.c_str(), kOwner, kSharedGroup), 0);
  ASSERT_EQ(chmod(file.c_str(), 0664), 0);
  const std::string as_colleague[] = {"--reuid=" + std::to_string(kColleague),
                                      "--regid=" + std::to_string(kSharedGroup),
                                      "--groups=" + std::to_string(kSharedGroup)};
  const Saver colleague{"/usr/bin/setpriv",
                        {as_colleague[0], as_colleague[1], as_colleague[2], ATOMIC_SAVE_VICTIM}};
  KillSaversRepeatedly(
      file, {}, colleague,
      [&](int kill) {
        const uid_t first = kill % 2 == 0 ? kColleague : kOwner;
        ASSERT_TRUE(AsUser(first, kSharedGroup, [&] {
          xls::file::RecoverInterruptedSave(file);
          return true;
        }));
      },
      2);
  struct stat status {};
  ASSERT_EQ(stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, kOwner);
  EXPECT_EQ(status.st_mode & 07777, 0664u);
}
#endif

}  // namespace
