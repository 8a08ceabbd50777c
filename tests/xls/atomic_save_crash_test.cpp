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

TEST(AtomicSaveCrash, KilledSaverLeavesOldOrNewFileNeverATornOne) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / u8"锯材账单.xls";
  const auto first = VictimContent(false);
  const auto second = VictimContent(true);
  xls::SaveFileAtomically(file, first);

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

    const auto now = xls::ReadWholeFile(file);
    ASSERT_TRUE(now == first || now == second) << "torn file of " << now.size() << " bytes";
    (now == first ? saw_first : saw_second)++;
    int temporaries = 0;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
      temporaries += entry.path().filename().native().starts_with(xls::SavingPrefix(file));
    }
    // At most the one the victim was writing when it died; the next save removes it.
    ASSERT_LE(temporaries, 1);
    saw_leftover += temporaries;
  }
  xls::SaveFileAtomically(file, first);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
  RecordProperty("first", saw_first);
  RecordProperty("second", saw_second);
  RecordProperty("killed_mid_save", saw_leftover);
  std::printf("kills: %d left the first content, %d the second, %d mid-save\n", saw_first,
              saw_second, saw_leftover);
}

}  // namespace
