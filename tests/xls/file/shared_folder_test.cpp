// A workbook in a folder other office users may write (sticky 1777, or set-group 2775):
// nothing they plant beside it replaces it, leaks into it, blocks its owner's save or
// undoes it later. Each attack runs in each kind of folder; users are numeric ids taken on
// by child processes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <string>

#include "compound_files.h"
#include "other_users.h"
#include "xls/file/atomic_save.h"
#include "xls/file/save_backup.h"
#include "xls/file/whole_file.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using test_users::AsUser;
using test_users::kColleague;
using test_users::kOwner;
using test_users::kSharedGroup;

Bytes Pattern(std::size_t size, char seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<std::uint8_t>(static_cast<std::size_t>(seed) + i % 13);
  return bytes;
}

const Bytes kOld = Pattern(9000, 'a');  // the buyer list as the owner saved it
const Bytes kNew = Pattern(7000, 'n');  // the owner's next export
const Bytes kPlanted = Pattern(9000, 'X');
const Bytes kSecret = Pattern(100, 's');

// The shared folder, the workbook in it, and a private file of its owner elsewhere.
struct Scene {
  fs::path folder;
  fs::path workbook;
  fs::path private_file;  // the owner's, mode 0600
  fs::path bait;          // the colleague's own file, which a link may point at

  fs::path Beside(const std::string& tail) const {
    return folder / (xls::file::BackupPrefix(workbook) + fs::path(tail).native());
  }
  fs::path Temporary(const std::string& tail) const {
    return folder / (xls::file::SavingPrefix(workbook) + fs::path(tail).native());
  }
};

// A backup in the program's own format, made to pass for one whose save tore the workbook
// as it stands: only who made it gives it away.
Bytes ForgedBackup(const Scene& scene) {
  struct stat status {};
  stat(scene.workbook.c_str(), &status);
  xls::file::SaveBackup forged;
  forged.device = status.st_dev;
  forged.file_id = status.st_ino;
  forged.old_contents = kPlanted;
  std::copy(kOld.begin(), kOld.begin() + 512, forged.old_contents.begin());
  forged.new_contents = kOld;
  forged.new_contents[0] ^= 1;
  return xls::file::EncodeBackup(forged);
}

bool Plant(const fs::path& path, const Bytes& bytes) {
  test_support::SaveFile(path, bytes);
  return fs::exists(path);
}

// The colleague's save in place, dying after it wrote the new contents and before it cut
// the file to their size.
bool CrashedSave(const Scene& scene) {
  xls::file::ObserveSaveSteps([](xls::file::SaveStep step) {
    if (step == xls::file::SaveStep::kContentsWritten) _exit(0);
  });
  xls::file::SaveFileAtomically(scene.workbook, Pattern(4000, 'c'));
  return false;
}

enum class Outcome {
  kIgnored,      // the owner's open keeps the workbook; the save goes through
  kRestored,     // the owner's open puts the old contents back
  kSaveRefused,  // the owner's save stops, naming the backup, until its maker opens
};

struct Attack {
  const char* name;
  mode_t workbook_mode;  // 0644: the colleague cannot write it; 0664: the colleague may
  std::function<bool(const Scene&)> plant;  // run as the colleague
  Outcome outcome;
};

const Attack kAttacks[] = {
    {"forged backup replaces the workbook", 0644,
     [](const Scene& s) { return Plant(s.Beside("00000000000000aa"), ForgedBackup(s)); },
     Outcome::kIgnored},
    {"old-style backup of a dead process", 0644,
     [](const Scene& s) { return Plant(s.Beside("999999"), kPlanted); }, Outcome::kIgnored},
    {"empty backup truncates the workbook", 0644,
     [](const Scene& s) { return Plant(s.Beside("0"), {}); }, Outcome::kIgnored},
    {"backup linking to the owner's private file or to a forged one", 0644,
     [](const Scene& s) {
       fs::create_symlink(s.private_file, s.Beside("1111111111111111"));
       Plant(s.bait, ForgedBackup(s));
       fs::create_symlink(s.bait, s.Beside("2222222222222222"));
       return true;
     },
     Outcome::kIgnored},
    {"unreadable forged backup blocks the save", 0644,
     [](const Scene& s) {
       const fs::path path = s.Beside("3333333333333333");
       return Plant(path, ForgedBackup(s)) && chmod(path.c_str(), 0600) == 0;
     },
     Outcome::kIgnored},
    {"pipe and folder named as backups", 0644,
     [](const Scene& s) {
       return mkfifo(s.Beside("4444").c_str(), 0666) == 0 && fs::create_directory(s.Beside("5"));
     },
     Outcome::kIgnored},
    {"temporary names planted ahead", 0644,
     [](const Scene& s) {
       for (int i = 0; i < 64; ++i) {
         fs::create_symlink(i % 2 ? s.private_file : s.bait, s.Temporary(std::to_string(i)));
       }
       return Plant(s.Temporary("0000000000000000"), kPlanted);
     },
     Outcome::kIgnored},
    {"a colleague's save that crashed is undone once, never again", 0664, &CrashedSave,
     Outcome::kRestored},
    {"a colleague's crash backup the owner cannot read", 0664,
     [](const Scene& s) {
       const pid_t saver = fork();
       if (saver == 0) _exit(CrashedSave(s) ? 0 : 1);
       waitpid(saver, nullptr, 0);
       for (const auto& entry : fs::directory_iterator(s.folder)) {
         if (entry.path().filename().native().starts_with(xls::file::BackupPrefix(s.workbook))) {
           chmod(entry.path().c_str(), 0600);
         }
       }
       return true;
     },
     Outcome::kSaveRefused},
};

bool Holds(const fs::path& path, const Bytes& expected) {
  try {
    return xls::file::ReadWholeFile(path) == expected;
  } catch (const std::exception&) {
    return false;
  }
}

class SharedFolderTest : public ::testing::TestWithParam<std::tuple<std::size_t, mode_t>> {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as several users";
    const mode_t folder_mode = std::get<1>(GetParam());
    scene_.folder = temp_.Path() / "shared";
    fs::create_directory(scene_.folder);
    ASSERT_EQ(chown(scene_.folder.c_str(), 0, kSharedGroup), 0);
    ASSERT_EQ(chmod(scene_.folder.c_str(), folder_mode), 0);
    const fs::path home = temp_.Path() / "home";
    fs::create_directory(home);
    scene_.private_file = home / "private.txt";
    test_support::SaveFile(scene_.private_file, kSecret);
    ASSERT_EQ(chown(scene_.private_file.c_str(), kOwner, kOwner), 0);
    ASSERT_EQ(chmod(scene_.private_file.c_str(), 0600), 0);
    ASSERT_EQ(chmod(temp_.Path().c_str(), 0755), 0);
    ASSERT_EQ(chown(home.c_str(), kOwner, kOwner), 0);
    scene_.bait = temp_.Path() / "bait";
    fs::create_directory(scene_.bait);
    ASSERT_EQ(chown(scene_.bait.c_str(), kColleague, kSharedGroup), 0);
    scene_.bait /= "forged";
    scene_.workbook = scene_.folder / u"锯材账单.xls";
    test_support::SaveFile(scene_.workbook, kOld);
    ASSERT_EQ(chown(scene_.workbook.c_str(), kOwner, kSharedGroup), 0);
    ASSERT_EQ(chmod(scene_.workbook.c_str(), Attacked().workbook_mode), 0);
  }

  const Attack& Attacked() const { return kAttacks[std::get<0>(GetParam())]; }

  bool AsOwner(const std::function<bool()>& action) { return AsUser(kOwner, kSharedGroup, action); }

  test_support::TempDir temp_;
  Scene scene_;
};

TEST_P(SharedFolderTest, WorkbookKeepsItsContentsAndTheOwnersSaveReadsBack) {
  const Attack& attack = Attacked();
  SCOPED_TRACE(attack.name);
  const fs::path workbook = scene_.workbook;
  ASSERT_TRUE(AsUser(kColleague, kSharedGroup, [&] {
    alarm(20);
    return attack.plant(scene_);
  })) << "could not plant";
  const Bytes bait = fs::exists(scene_.bait) ? xls::file::ReadWholeFile(scene_.bait) : Bytes{};

  // The owner's next start-up opens the workbook: an alarm turns a hang into a failure.
  EXPECT_TRUE(AsOwner([&] {
    alarm(20);
    xls::file::RecoverInterruptedSave(workbook);
    return attack.outcome != Outcome::kIgnored || Holds(workbook, kOld);
  })) << "the workbook changed on opening";
  if (attack.outcome == Outcome::kRestored) {
    EXPECT_TRUE(Holds(workbook, kOld));
  }

  if (attack.outcome == Outcome::kSaveRefused) {
    const Bytes before = xls::file::ReadWholeFile(workbook);
    EXPECT_TRUE(AsOwner([&] {
      try {
        xls::file::SaveFileAtomically(workbook, kNew);
      } catch (const xls::file::SaveBlocked& blocked) {
        return blocked.File().filename().native().starts_with(xls::file::BackupPrefix(workbook));
      }
      return false;
    })) << "the save went over a backup it could not read";
    EXPECT_EQ(xls::file::ReadWholeFile(workbook), before);
    // Its maker's next open puts the old contents back; then the owner may save.
    EXPECT_TRUE(AsUser(kColleague, kSharedGroup, [&] {
      xls::file::RecoverInterruptedSave(workbook);
      return Holds(workbook, kOld);
    }));
  }

  EXPECT_TRUE(AsOwner([&] {
    alarm(20);
    xls::file::SaveFileAtomically(workbook, kNew);
    return Holds(workbook, kNew);
  })) << "the owner's save did not read back";
  // Nobody's later open undoes it.
  for (const uid_t user : {kColleague, kOwner}) {
    EXPECT_TRUE(AsUser(user, kSharedGroup,
                       [&] {
                         alarm(20);
                         xls::file::RecoverInterruptedSave(workbook);
                         return Holds(workbook, kNew);
                       }))
        << "undone by the open of user " << user;
  }
  EXPECT_EQ(xls::file::ReadWholeFile(scene_.private_file), kSecret) << "written through a link";
  if (!bait.empty()) {
    EXPECT_EQ(xls::file::ReadWholeFile(scene_.bait), bait) << "written through a link";
  }
  struct stat status {};
  ASSERT_EQ(stat(workbook.c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, kOwner);
  EXPECT_EQ(status.st_mode & 07777, attack.workbook_mode);
}

std::string CaseName(const ::testing::TestParamInfo<SharedFolderTest::ParamType>& info) {
  std::string name = kAttacks[std::get<0>(info.param)].name;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name + (std::get<1>(info.param) == 01777 ? "_sticky1777" : "_group2775");
}

INSTANTIATE_TEST_SUITE_P(AttackAndFolder, SharedFolderTest,
                         ::testing::Combine(::testing::Range<std::size_t>(0, std::size(kAttacks)),
                                            ::testing::Values(mode_t{01777}, mode_t{02775})),
                         CaseName);

}  // namespace
