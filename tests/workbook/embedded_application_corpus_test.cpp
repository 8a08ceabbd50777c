#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "compound_files.h"
#include "workbook/automation_error.h"
#include "workbook/embedded_application.h"

namespace workbook {
namespace {

namespace fs = std::filesystem;

// The corpus' damaged, encrypted and foreign files fail to open with a description that
// names the file; every other file opens.
TEST(EmbeddedApplicationCorpus, EveryFileOpensOrFailsWithAClearError) {
  EmbeddedApplicationFactory factory(nullptr);
  std::size_t files = 0;
  for (const char* folder : {"excel", "other", "edge"}) {
    for (const fs::path& path : test_support::CorpusFiles(folder)) {
      ++files;
      try {
        auto application = factory.Create("Excel.Application");
        application->GetWorkbooks()->Open(path);
      } catch (const AutomationError& e) {
        EXPECT_EQ(std::string(folder), "edge") << path << ": " << e.Description();
        EXPECT_NE(e.Description().find(path.filename().string()), std::string::npos);
      }
    }
  }
  if (files == 0) GTEST_SKIP() << "no corpus at " << test_support::CorpusDir();
}

}  // namespace
}  // namespace workbook
