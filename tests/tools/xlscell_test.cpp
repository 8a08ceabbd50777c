// The template tool as people call it: Chinese file, sheet and text on the command line,
// which on Windows travels as UTF-16 whatever the code page, and UTF-8 printed back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "child_process.h"
#include "compound_files.h"

namespace {

namespace fs = std::filesystem;

TEST(XlsCellTool, TakesChineseNamesAndQuotedTextsAndPrintsUtf8) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / u8"锯材账单 副本.xls";
  fs::copy_file(fs::path(VERDALON_TEMPLATE_DIR) / u8"锯材账单.xls", file);
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  // Blanks, quotes and a trailing backslash: what a Windows command line must quote.
  const std::string buyer = "新买方 \"甲\" 木业\\";
  ASSERT_EQ(test_support::RunProgram(XLSCELL, {file.string(), "set", "码单", "3", "2", buyer}), 0);
  std::string printed;
  ASSERT_EQ(test_support::RunProgram(XLSCELL, {file.string(), "get", "码单", "3", "2"}, &printed),
            0);
  // Windows ends a printed line with CR LF; the tool writes a backslash in a text as \\ .
  if (printed.ends_with("\r\n")) printed.erase(printed.size() - 2, 1);
  EXPECT_EQ(printed, "新买方 \"甲\" 木业\\\\\n");
}

}  // namespace
