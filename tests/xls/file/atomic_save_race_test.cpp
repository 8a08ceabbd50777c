// Two machines share the workbook. One saves in place and stops half-way; the other opens
// the workbook meanwhile, as the program does at start-up and before every export. The
// saver runs in a pid namespace of its own, so its process id means nothing here, as on
// another machine: only the lock it holds on the workbook keeps the other from restoring.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "atomic_save_contents.h"
#include "child_process.h"
#include "compound_files.h"
#include "xls/file/atomic_save.h"
#include "xls/file/whole_file.h"

namespace {

namespace fs = std::filesystem;

struct Race {
  const char* pause;  // where the saver stops: "backup" or "contents" (before the cut)
  bool growing;       // whether the new contents are the longer ones
};

class TwoMachineRace : public ::testing::TestWithParam<Race> {};

int BackupsBeside(const fs::path& file) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(file.parent_path())) {
    count += entry.path().filename().native().starts_with(xls::file::BackupPrefix(file));
  }
  return count;
}

TEST_P(TwoMachineRace, NoOldContentsArePutBackUnderTheWriterAndNothingIsTornOrPadded) {
  if (geteuid() != 0) GTEST_SKIP() << "a pid namespace needs root";
  if (!fs::exists("/usr/bin/unshare")) GTEST_SKIP() << "unshare is missing";
  const Race race = GetParam();
  test_support::TempDir dir;
  const fs::path file = dir.Path() / u8"锯材账单.xls";
  const auto before = VictimContent(!race.growing);
  const auto after = VictimContent(race.growing);
  xls::file::SaveFileAtomically(file, before);
  fs::create_hard_link(file, dir.Path() / "second-name.xls");  // so the save is in place
  const fs::path go = dir.Path() / "go";

  test_support::ChildProcess saver(
      "/usr/bin/unshare", {"--pid", "--fork", "--kill-child", ATOMIC_SAVE_VICTIM, file.string(),
                           "pause-at", race.pause, go.string()});
  ASSERT_TRUE(saver.Started());
  char said = 0;
  ASSERT_TRUE(saver.ReadByte(said) && said == 'P') << "the saver did not reach its pause";
  ASSERT_EQ(BackupsBeside(file), 1);
  const auto halfway = xls::file::ReadWholeFile(file);

  // The other machine opens, and would save, while the first is stopped.
  xls::file::RecoverInterruptedSave(file);
  EXPECT_EQ(xls::file::ReadWholeFile(file), halfway) << "the other machine wrote under the saver";
  EXPECT_EQ(BackupsBeside(file), 1) << "the other machine took the saver's backup";
  if (std::string(race.pause) == "contents") {
    // Its save waits for the first one, and gives up rather than write over it.
    const auto started = std::chrono::steady_clock::now();
    try {
      xls::file::SaveFileAtomically(file, before);
      ADD_FAILURE() << "a second save went through under the first";
    } catch (const std::system_error& e) {
      EXPECT_EQ(e.code(), std::errc::device_or_resource_busy) << e.what();
    }
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::seconds(5))
        << "it did not wait for the first save";
  }

  test_support::SaveFile(go, {});
  ASSERT_TRUE(saver.ReadByte(said) && said == '.') << "the saver did not finish";
  EXPECT_EQ(saver.Wait(), 0);
  const auto saved = xls::file::ReadWholeFile(file);
  EXPECT_EQ(saved.size(), after.size());
  EXPECT_TRUE(saved == after) << "torn or padded";
  EXPECT_EQ(BackupsBeside(file), 0);
  xls::file::RecoverInterruptedSave(file);
  EXPECT_TRUE(xls::file::ReadWholeFile(file) == after);
}

INSTANTIATE_TEST_SUITE_P(StoppedSaver, TwoMachineRace,
                         ::testing::Values(Race{"backup", true}, Race{"backup", false},
                                           Race{"contents", true}, Race{"contents", false}),
                         [](const ::testing::TestParamInfo<Race>& race) {
                           return std::string(race.param.pause) +
                                  (race.param.growing ? "_growing" : "_shrinking");
                         });

}  // namespace
