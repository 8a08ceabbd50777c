#include "xls/file/whole_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <functional>
#include <system_error>

#include "compound_files.h"
#include "xls/file/atomic_save.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using xls::file::ReadWholeFile;
using xls::file::SaveFileAtomically;

std::errc ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::system_error& error) {
    return static_cast<std::errc>(error.code().default_error_condition().value());
  }
  return std::errc();
}

TEST(WholeFile, ReadingReportsMissingFoldersAndOversizedFiles) {
  test_support::TempDir dir;
  const fs::path file = dir.Path() / "book.xls";
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(file); }), std::errc::no_such_file_or_directory);
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(dir.Path()); }), std::errc::is_a_directory);
  const Bytes big(200'000, 7);
  SaveFileAtomically(file, big);
  EXPECT_EQ(ReadWholeFile(file), big);
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(file, 199'999); }), std::errc::file_too_large);
  EXPECT_EQ(ReadWholeFile(file, 200'000), big);
}

// A pipe where the workbook should be has no writer: opening it must not wait for one.
TEST(WholeFile, APipeOrDeviceIsRefusedWithoutWaiting) {
#ifdef _WIN32
  // Windows keeps no pipes in folders; its devices answer to their names in every folder.
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(u"NUL"); }), std::errc::no_such_device);
#else
  test_support::TempDir dir;
  const fs::path pipe = dir.Path() / "book.xls";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(pipe); }), std::errc::no_such_device);
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile("/dev/null"); }), std::errc::no_such_device);
#endif
}

}  // namespace
