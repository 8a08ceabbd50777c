// A save keeps who may use the workbook: owner, group, permission bits, ACL entries,
// extended attributes and hard links. The second user is only a numeric id taken on by a
// child process; no account is created.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "compound_files.h"
#include "other_users.h"
#include "xls/file/atomic_save.h"
#include "xls/file/whole_file.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;

using test_users::AsUser;
using test_users::kColleague;
using test_users::kOwner;
using test_users::kSharedGroup;
constexpr const char* kAcl = "system.posix_acl_access";

Bytes Text(const std::string& text) {
  return {text.begin(), text.end()};
}

// An access ACL as the kernel stores it: version 2, then tag, permissions and id per entry.
std::string AclGranting(uid_t user, unsigned permissions) {
  std::string blob;
  const auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) blob.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  const auto put16 = [&](std::uint16_t v) {
    blob.push_back(static_cast<char>(v & 0xFF));
    blob.push_back(static_cast<char>(v >> 8));
  };
  const auto entry = [&](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
    put16(tag);
    put16(perm);
    put32(id);
  };
  put32(2);
  entry(0x01, 6, 0xFFFFFFFF);                                  // owner: rw
  entry(0x02, static_cast<std::uint16_t>(permissions), user);  // the named user
  entry(0x04, 4, 0xFFFFFFFF);                                  // owning group: r
  entry(0x10, 6, 0xFFFFFFFF);                                  // mask: rw
  entry(0x20, 0, 0xFFFFFFFF);                                  // others: nothing
  return blob;
}

std::string Attribute(const fs::path& path, const char* name) {
  const ssize_t size = getxattr(path.c_str(), name, nullptr, 0);
  if (size < 0) return "<none>";
  std::string value(static_cast<std::size_t>(size), '\0');
  getxattr(path.c_str(), name, value.data(), value.size());
  return value;
}

struct Ownership {
  uid_t uid;
  gid_t gid;
  mode_t mode;
  std::string acl;
  std::string note;
  friend bool operator==(const Ownership&, const Ownership&) = default;
};

Ownership OwnershipOf(const fs::path& path) {
  struct stat status {};
  stat(path.c_str(), &status);
  return {status.st_uid, status.st_gid, status.st_mode & 07777, Attribute(path, kAcl),
          Attribute(path, "user.verdalon")};
}

bool Saves(const fs::path& path, const Bytes& bytes) {
  try {
    xls::file::SaveFileAtomically(path, bytes);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

int LeftBeside(const fs::path& path) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(path.parent_path())) {
    const auto name = entry.path().filename().native();
    count += name.starts_with(xls::file::SavingPrefix(path)) ||
             name.starts_with(xls::file::BackupPrefix(path));
  }
  return count;
}

class OwnershipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to hand files to other users";
    fs::permissions(temp_.Path(), fs::perms::all);  // a folder everyone shares
    file_ = temp_.Path() / u"锯材账单.xls";
    test_support::SaveFile(file_, Text("old contents"));
  }

  void Give(uid_t uid, gid_t gid, mode_t mode) {
    ASSERT_EQ(chown(file_.c_str(), uid, gid), 0);
    ASSERT_EQ(chmod(file_.c_str(), mode), 0);
  }

  bool Tag(const std::string& value) {
    return setxattr(file_.c_str(), "user.verdalon", value.data(), value.size(), 0) == 0;
  }

  test_support::TempDir temp_;
  fs::path file_;
};

TEST_F(OwnershipTest, ReplacedFileKeepsOwnerGroupModeAclAndAttributes) {
  Give(kOwner, kSharedGroup, 0660);
  ASSERT_TRUE(Tag("shared template"));
  const std::string acl = AclGranting(kColleague, 6);
  ASSERT_EQ(setxattr(file_.c_str(), kAcl, acl.data(), acl.size(), 0), 0);
  const Ownership before = OwnershipOf(file_);

  // Root saving (an administrator's maintenance run, say) may still replace the file.
  ASSERT_TRUE(Saves(file_, Text("new contents")));
  EXPECT_EQ(OwnershipOf(file_), before);
  EXPECT_EQ(xls::file::ReadWholeFile(file_), Text("new contents"));
  EXPECT_EQ(LeftBeside(file_), 0);

  // The colleague the ACL lets in can save too, and leaves the ACL as it was.
  EXPECT_TRUE(AsUser(kColleague, kColleague, [&] { return Saves(file_, Text("by colleague")); }));
  EXPECT_EQ(OwnershipOf(file_), before);
  EXPECT_EQ(xls::file::ReadWholeFile(file_), Text("by colleague"));
  EXPECT_EQ(LeftBeside(file_), 0);
}

TEST_F(OwnershipTest, AnotherUsersGroupFileIsSavedInPlaceAndStaysTheirs) {
  Give(kOwner, kSharedGroup, 0664);
  ASSERT_TRUE(Tag("x"));
  const Ownership before = OwnershipOf(file_);
  struct stat old_status {};
  stat(file_.c_str(), &old_status);
  EXPECT_TRUE(AsUser(kColleague, kSharedGroup, [&] { return Saves(file_, Text("colleague")); }));
  struct stat new_status {};
  stat(file_.c_str(), &new_status);
  EXPECT_EQ(new_status.st_ino, old_status.st_ino) << "replaced, not written in place";
  EXPECT_EQ(OwnershipOf(file_), before);
  EXPECT_EQ(xls::file::ReadWholeFile(file_), Text("colleague"));
  EXPECT_EQ(LeftBeside(file_), 0);
  // And its owner's next save still works.
  EXPECT_TRUE(AsUser(kOwner, kSharedGroup, [&] { return Saves(file_, Text("owner again")); }));
  EXPECT_EQ(OwnershipOf(file_), before);
}

TEST(HardLinks, EveryNameShowsTheSavedContents) {
  test_support::TempDir temp;
  const fs::path file = temp.Path() / u"锯材账单.xls";
  const fs::path other = temp.Path() / "copy-for-printing.xls";
  test_support::SaveFile(file, Text("old"));
  fs::create_hard_link(file, other);
  xls::file::SaveFileAtomically(file, Text("new, and longer than the old"));
  EXPECT_EQ(xls::file::ReadWholeFile(other), Text("new, and longer than the old"));
  EXPECT_EQ(fs::hard_link_count(file), 2u);
  xls::file::SaveFileAtomically(other, Text("short"));
  EXPECT_EQ(xls::file::ReadWholeFile(file), Text("short"));
  EXPECT_EQ(LeftBeside(file), 0);
}

// A saver in place that dies after writing part of the new contents: what the next open
// finds, and what it must put back.
TEST(HardLinks, ABackupLeftByASaverThatDiedIsPutBackOnce) {
  test_support::TempDir temp;
  const fs::path file = temp.Path() / u"锯材账单.xls";
  const Bytes old_contents(5000, 'o');
  test_support::SaveFile(file, old_contents);
  fs::create_hard_link(file, temp.Path() / "second-name.xls");
  const pid_t saver = fork();
  if (saver == 0) {
    xls::file::ObserveSaveSteps([](xls::file::SaveStep step) {
      if (step == xls::file::SaveStep::kContentsWritten) _exit(0);
    });
    xls::file::SaveFileAtomically(file, Bytes(3000, 'n'));
    _exit(1);
  }
  int status = 0;
  waitpid(saver, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the saver did not die mid-save";
  Bytes torn(5000, 'o');
  std::fill_n(torn.begin(), 3000, 'n');
  ASSERT_EQ(xls::file::ReadWholeFile(file), torn);
  ASSERT_EQ(LeftBeside(file), 1);

  xls::file::RecoverInterruptedSave(file);
  EXPECT_EQ(xls::file::ReadWholeFile(file), old_contents);
  EXPECT_EQ(LeftBeside(file), 0);
  // A later save is never undone: the backup is gone, and the workbook stays as saved.
  xls::file::SaveFileAtomically(file, torn);
  xls::file::RecoverInterruptedSave(file);
  EXPECT_EQ(xls::file::ReadWholeFile(file), torn);
}

}  // namespace
