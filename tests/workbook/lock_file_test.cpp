// Another spreadsheet program holding the workbook: LibreOffice's ".~lock.<name>#" and the
// "~$<name>" owner file of Excel and WPS stop a save, with the holder named; reading goes on.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif
#ifndef _WIN32
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "base/text_encoding.h"
#include "biff_streams.h"
#include "compound_files.h"
#include "lock_file_bytes.h"
#include "spreadsheet_programs.h"
#include "workbook/automation_error.h"
#include "workbook/failure_descriptions.h"
#include "xls/file/lock_files.h"
#include "xls/xls_document.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using test_support::ExcelOwnerFile;
using test_support::Utf8;

// A path as the clerk's message spells it, whatever the Windows code page.
std::string MessageText(const fs::path& path) {
  return base::ToUtf8(path.u16string());
}

// A one-sheet workbook "码单" in a temporary folder, saved through the engine.
class HeldWorkbookTest : public ::testing::Test {
 protected:
  HeldWorkbookTest() {
    path_ = temp_.Path() / u"锯材账单.xls";
    original_ = test_support::BuildCompoundFile(
        3, {{u"Workbook",
             test_support::BuildStream({}, {{u"码单", {test_support::Dimensions(0, 1, 0, 1)}}})}});
    test_support::SaveFile(path_, original_);
  }

  fs::path LibreOfficeLock() const { return temp_.Path() / u".~lock.锯材账单.xls#"; }
  fs::path OwnerFile() const { return temp_.Path() / u"~$锯材账单.xls"; }

  // The engine's failure for writing a cell and saving, worded as the clerk reads it; an
  // error number of 0 when the save went through.
  workbook::AutomationError WriteAndSave(const fs::path& path) {
    try {
      auto document = xls::XlsDocument::Open(path);
      document->SetCell(0, 3, 2, u"新买方");
      document->Save();
    } catch (const xls::Failure& failure) {
      return workbook::DescribeEngineFailure(failure);
    }
    return {0, ""};
  }

  test_support::TempDir temp_;
  fs::path path_;
  Bytes original_;
};

TEST_F(HeldWorkbookTest, LibreOfficeLockStopsTheSaveAndNamesHolderAndLockFile) {
  test_support::SaveFile(LibreOfficeLock(),
                         Utf8(",wang,财务室,07.12.2026 13:05,file:///home/wang/.config/x;"));
  const workbook::AutomationError error = WriteAndSave(path_);
  EXPECT_EQ(error.Number(), 70);
  const std::string text = error.Description();
  EXPECT_NE(text.find("“wang”"), std::string::npos) << text;
  EXPECT_NE(text.find("“财务室”"), std::string::npos) << text;
  EXPECT_NE(text.find("关闭"), std::string::npos) << text;
  EXPECT_NE(text.find(MessageText(LibreOfficeLock())), std::string::npos) << text;
  EXPECT_EQ(test_support::LoadFile(path_), original_);

  // Reading at start-up, which saves an unchanged workbook, goes on.
  auto document = xls::XlsDocument::Open(path_);
  EXPECT_NO_THROW(document->Save());
  EXPECT_EQ(test_support::LoadFile(path_), original_);

  // Once the other program lets go, the next try saves.
  fs::remove(LibreOfficeLock());
  EXPECT_EQ(WriteAndSave(path_).Number(), 0);
  EXPECT_EQ(xls::XlsDocument::Open(path_)->Cell(0, 3, 2), u"新买方");
}

TEST_F(HeldWorkbookTest, OwnerFileOfExcelOrWpsStopsTheSave) {
  test_support::SaveFile(OwnerFile(), ExcelOwnerFile(u"张三", {0xD5, 0xC5, 0xC8, 0xFD}));
#ifdef _WIN32
  // Excel and WPS keep it open while they show the workbook; Windows tells a leftover apart.
  HANDLE held = CreateFileW(OwnerFile().c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const workbook::AutomationError error = WriteAndSave(path_);
  CloseHandle(held);
#else
  const workbook::AutomationError error = WriteAndSave(path_);
#endif
  EXPECT_EQ(error.Number(), 70);
  EXPECT_NE(error.Description().find("“张三”"), std::string::npos) << error.Description();
  EXPECT_NE(error.Description().find(MessageText(OwnerFile())), std::string::npos);
  EXPECT_EQ(test_support::LoadFile(path_), original_);
  // An owner file of another workbook, or a folder of that name, is no lock on this one.
  fs::rename(OwnerFile(), temp_.Path() / u"~$其他.xls");
  fs::create_directory(LibreOfficeLock());
  EXPECT_EQ(WriteAndSave(path_).Number(), 0);
}

// Links, a second user and a real LibreOffice are things of the Linux desktop.
#ifndef _WIN32
TEST_F(HeldWorkbookTest, LockBesideTheTargetOfALinkCounts) {
  const fs::path elsewhere = temp_.Path() / "shared";
  fs::create_directory(elsewhere);
  const fs::path link = elsewhere / u"锯材账单.xls";
  fs::create_symlink(path_, link);
  test_support::SaveFile(LibreOfficeLock(), Utf8(",li,pc2,x,y;"));
  EXPECT_EQ(WriteAndSave(link).Number(), 70);
  EXPECT_EQ(test_support::LoadFile(path_), original_);
}

// The lock file of a colleague's program on a shared folder, which we may not read: the
// save still stops, naming the lock file without a user, and saying whether the clerk may
// delete it (not in a sticky folder). Runs as a second user, by id.
TEST_F(HeldWorkbookTest, UnreadableLockOfAnotherUserStopsTheSaveAndSaysWhoMayDeleteIt) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as two users";
  test_support::SaveFile(LibreOfficeLock(), Utf8(",colleague,pc3,x,y;"));
  ASSERT_EQ(chown(LibreOfficeLock().c_str(), 4321, 4321), 0);
  fs::permissions(LibreOfficeLock(), fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(path_, fs::perms::all);
  for (const bool sticky : {false, true}) {
    SCOPED_TRACE(sticky ? "sticky folder" : "folder anyone may write");
    ASSERT_EQ(chmod(temp_.Path().c_str(), sticky ? 01777 : 0777), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (setgid(1234) != 0 || setuid(1234) != 0) _exit(3);
      const std::string text = WriteAndSave(path_).Description();
      const bool named =
          text.find("另一个用户") != std::string::npos && text.find(".~lock.") != std::string::npos;
      const bool told = (text.find("没有权限删除") != std::string::npos) == sticky;
      _exit(named && told ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(test_support::LoadFile(path_), original_);
  }
}

// A real LibreOffice, headless, with the workbook open; the process group we start is
// ended when the test ends.
class RunningLibreOffice {
 public:
  RunningLibreOffice(const fs::path& file, const fs::path& profile) {
    const std::string installation = "-env:UserInstallation=file://" + profile.string();
    const std::string target = file.string();
    const char* argv[] = {"soffice",     installation.c_str(), "--headless",
                          "--norestore", target.c_str(),       nullptr};
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    if (posix_spawnp(&pid_, "soffice", nullptr, &attributes, const_cast<char**>(argv), environ) !=
        0) {
      pid_ = -1;
    }
    posix_spawnattr_destroy(&attributes);
  }
  ~RunningLibreOffice() {
    if (pid_ <= 0) return;
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  RunningLibreOffice(const RunningLibreOffice&) = delete;
  RunningLibreOffice& operator=(const RunningLibreOffice&) = delete;

  bool Started() const { return pid_ > 0; }
  // Whether the LibreOffice we started still runs. Headless without a conversion to do, some
  // builds end by themselves after a moment, leaving their lock: a lock whose program has
  // ended no longer holds the workbook, so what follows would test nothing.
  bool Running() {
    if (ended_ || pid_ <= 0) return false;
    ended_ = waitpid(pid_, nullptr, WNOHANG) != 0;
    return !ended_;
  }

 private:
  pid_t pid_ = -1;
  bool ended_ = false;
};

TEST_F(HeldWorkbookTest, WorkbookOpenInARealLibreOfficeIsNotOverwritten) {
  if (!test_support::MissingProgram("soffice").empty()) GTEST_SKIP() << "LibreOffice is missing";
  {
    RunningLibreOffice office(path_, temp_.Path() / "profile");
    ASSERT_TRUE(office.Started());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!fs::exists(LibreOfficeLock()) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(fs::exists(LibreOfficeLock())) << "LibreOffice did not open the workbook";
    if (!office.Running()) GTEST_SKIP() << "LibreOffice ended by itself before the save";
    const workbook::AutomationError error = WriteAndSave(path_);
    if (!office.Running()) GTEST_SKIP() << "LibreOffice ended by itself during the save";
    EXPECT_EQ(error.Number(), 70);
    const passwd* me = getpwuid(geteuid());
    ASSERT_NE(me, nullptr);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    EXPECT_NE(error.Description().find("“" + std::string(me->pw_name) + "”"), std::string::npos)
        << error.Description();
    EXPECT_NE(error.Description().find("“" + std::string(host) + "”"), std::string::npos)
        << error.Description();
    EXPECT_EQ(test_support::LoadFile(path_), original_);
  }
  // Killed, LibreOffice leaves its lock behind: deleting it, as the message says, lets the
  // next save through.
  ASSERT_TRUE(fs::exists(LibreOfficeLock()));
  fs::remove(LibreOfficeLock());
  EXPECT_EQ(WriteAndSave(path_).Number(), 0);
}
#endif

}  // namespace
