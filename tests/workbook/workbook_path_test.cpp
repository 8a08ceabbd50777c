#include "workbook/workbook_path.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace workbook {
namespace {

namespace fs = std::filesystem;

TEST(WorkbookPath, TheWorkbookLiesInTheProgramsFolder) {
#ifdef _WIN32
  EXPECT_EQ(WorkbookPath(u"C:\\tally").u16string(), u"C:\\tally\\锯材账单.xls");
#else
  EXPECT_EQ(WorkbookPath(u"/opt/tally").u16string(), u"/opt/tally/锯材账单.xls");
#endif
}

// This test program lies in the build's bin folder, beside the sample workbook.
TEST(WorkbookPath, ProgramDirectoryIsTheFolderOfTheRunningExecutable) {
  const fs::path directory = ProgramDirectory();
  EXPECT_TRUE(directory.is_absolute()) << directory;
  EXPECT_EQ(directory.filename(), "bin");
  EXPECT_TRUE(fs::exists(WorkbookPath(directory))) << WorkbookPath(directory);
}

}  // namespace
}  // namespace workbook
