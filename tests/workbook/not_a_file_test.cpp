// A pipe, a device or a folder where the workbook should be fails at once, with the
// number and message for a path that is not a file; nothing waits for a writer. Each case
// runs in a child process with an alarm, so that a regression fails instead of hanging.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "biff_streams.h"
#include "compound_files.h"
#include "workbook/failure_descriptions.h"
#include "xls/xls_document.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned kHangSeconds = 20;

// The error number the engine's failure maps to, and whether its message says "not a
// regular file"; 0 when the operation succeeded.
int NumberOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const xls::Failure& failure) {
    const workbook::AutomationError error = workbook::DescribeEngineFailure(failure);
    return error.Description().find("不是普通文件") == std::string::npos ? -1 : error.Number();
  }
  return 0;
}

// Runs `check` in a child that an alarm ends if it blocks; true if it returned true.
bool InChildWithoutBlocking(const std::function<bool()>& check) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(kHangSeconds);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(NotAFile, PipesDevicesAndFoldersFailAtOnceOnOpening) {
  test_support::TempDir temp;
  const fs::path pipe = temp.Path() / u"锯材账单.xls";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
  const fs::path to_device = temp.Path() / "device.xls";
  fs::create_symlink("/dev/zero", to_device);
  const fs::path to_pipe = temp.Path() / "link.xls";
  fs::create_symlink(pipe, to_pipe);
  const fs::path folder = temp.Path() / "folder.xls";
  fs::create_directory(folder);
  for (const fs::path& path : {pipe, to_device, to_pipe, folder}) {
    EXPECT_TRUE(InChildWithoutBlocking([&] {
      return NumberOf([&] { xls::XlsDocument::Open(path); }) == 75;
    })) << path;
  }
}

TEST(NotAFile, AWorkbookReplacedByAPipeIsNotSavedIntoIt) {
  test_support::TempDir temp;
  const fs::path path = temp.Path() / u"锯材账单.xls";
  test_support::SaveFile(
      path, test_support::BuildCompoundFile(
                3, {{u"Workbook", test_support::BuildStream(
                                      {}, {{u"码单", {test_support::Dimensions(0, 1, 0, 1)}}})}}));
  auto document = xls::XlsDocument::Open(path);
  document->SetCell(0, 1, 1, u"x");
  fs::remove(path);
  ASSERT_EQ(mkfifo(path.c_str(), 0666), 0);
  EXPECT_TRUE(InChildWithoutBlocking([&] { return NumberOf([&] { document->Save(); }) == 75; }));
  EXPECT_TRUE(fs::is_fifo(path)) << "the pipe was replaced";
}

}  // namespace
