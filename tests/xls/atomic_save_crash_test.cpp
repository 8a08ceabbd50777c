// Kills a process in the middle of saving, many times, and checks that the file is always
// one of the two contents it saves, never a torn mixture, and that temporaries do not pile up.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "atomic_save_contents.h"
#include "compound_files.h"
#include "xls/atomic_save.h"
#include "xls/whole_file.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

pid_t StartVictim(const fs::path& file, int* ticks) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  const std::string program = ATOMIC_SAVE_VICTIM;
  const std::string target = file.string();
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(target.c_str()), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  *ticks = pipe_ends[0];
  return pid;
}

TEST(AtomicSaveCrash, KilledSaverLeavesOldOrNewFileNeverATornOne) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / "锯材账单.xls";
  const auto first = VictimContent(false);
  const auto second = VictimContent(true);
  xls::SaveFileAtomically(file, first);

  std::mt19937 random(4242);
  int saw_first = 0, saw_second = 0, saw_leftover = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (int kill_count = 0; kill_count < 40 && std::chrono::steady_clock::now() < deadline;
       ++kill_count) {
    int ticks = -1;
    const pid_t victim = StartVictim(file, &ticks);
    ASSERT_GT(victim, 0);
    char tick = 0;
    // Wait for its first save, so every kill lands in a running save loop.
    const bool running = read(ticks, &tick, 1) == 1;
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 30'000));
    kill(victim, SIGKILL);
    waitpid(victim, nullptr, 0);
    close(ticks);
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
