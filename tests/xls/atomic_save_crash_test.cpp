// Kills a process in the middle of saving, many times, and checks that the file is always
// one of the two contents it saves, never a torn mixture, and that temporaries do not pile up.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "atomic_save_contents.h"
#include "child_process.h"
#include "compound_files.h"
#include "xls/atomic_save.h"
#include "xls/whole_file.h"

namespace {

namespace fs = std::filesystem;

// Kills savers of `file` at random moments. After each kill the file, once what the next
// open does has run (putting back a backup a save in place left), holds one of the two
// contents, and so does `other_name` if given (a hard link). Leftovers do not pile up.
void KillSaversRepeatedly(const fs::path& file, const fs::path& other_name) {
  const auto first = VictimContent(false);
  const auto second = VictimContent(true);
  std::mt19937 random(4242);
  int saw_first = 0, saw_second = 0, saw_leftover = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (int kill_count = 0; kill_count < 40 && std::chrono::steady_clock::now() < deadline;
       ++kill_count) {
    test_support::ChildProcess victim(ATOMIC_SAVE_VICTIM, {file.string()});
    ASSERT_TRUE(victim.Started());
    char tick = 0;
    // Wait for its first save, so every kill lands in a running save loop.
    const bool running = victim.ReadByte(tick);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 30'000));
    victim.Kill();
    victim.Wait();
    ASSERT_TRUE(running) << "the victim died before saving";

    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
      const auto name = entry.path().filename().native();
      leftovers +=
          name.starts_with(xls::SavingPrefix(file)) || name.starts_with(xls::BackupPrefix(file));
    }
    // At most the one the victim was writing when it died; the next save removes it.
    ASSERT_LE(leftovers, 1);
    saw_leftover += leftovers;
    xls::RecoverInterruptedSave(file);
    const auto now = xls::ReadWholeFile(file);
    ASSERT_TRUE(now == first || now == second) << "torn file of " << now.size() << " bytes";
    (now == first ? saw_first : saw_second)++;
    if (!other_name.empty()) {
      ASSERT_EQ(xls::ReadWholeFile(other_name), now);
    }
  }
  xls::SaveFileAtomically(file, first);
  const std::size_t names = other_name.empty() ? 1 : 2;
  EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(file.parent_path()),
                                                   fs::directory_iterator())),
            names);
  ::testing::Test::RecordProperty("first", saw_first);
  ::testing::Test::RecordProperty("second", saw_second);
  ::testing::Test::RecordProperty("killed_mid_save", saw_leftover);
  std::printf("kills: %d left the first content, %d the second, %d mid-save\n", saw_first,
              saw_second, saw_leftover);
}

TEST(AtomicSaveCrash, KilledSaverLeavesOldOrNewFileNeverATornOne) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / u8"锯材账单.xls";
  xls::SaveFileAtomically(file, VictimContent(false));
  KillSaversRepeatedly(file, {});
}

// A file with two names is saved in place, behind a synced backup of its old contents.
TEST(AtomicSaveCrash, KilledSaverInPlaceLeavesAWorkbookAfterRecovery) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / u8"锯材账单.xls";
  const fs::path other = dir.Path() / "link.xls";
  xls::SaveFileAtomically(file, VictimContent(false));
  fs::create_hard_link(file, other);
  KillSaversRepeatedly(file, other);
  // Both names still lead to one file: what is saved through one is read through the other.
  // (MinGW's hard_link_count always says 1, so the count itself proves nothing there.)
  xls::SaveFileAtomically(file, VictimContent(true));
  EXPECT_EQ(xls::ReadWholeFile(other), VictimContent(true));
}

}  // namespace
