// What the lock files of other spreadsheet programs say, how much of it reaches the clerk,
// and which of them stop a save: only those whose holder may still be there.
#include "xls/file/lock_files.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <string>

#include "compound_files.h"
#include "lock_file_bytes.h"
#include "xls/file/file_operations.h"
#include "xls/file/lock_holder_probe.h"

namespace {

namespace fs = std::filesystem;
using test_support::Bytes;
using test_support::ExcelOwnerFile;
using test_support::Utf8;

TEST(LockFileContents, LibreOfficeLockNamesUserAndMachine) {
  // As LibreOffice 7 writes it for a user without a full name in its settings.
  xls::file::LockHolder holder = xls::file::ReadLibreOfficeLock(
      Utf8(",clerk,office-pc,07.12.2026 13:05,file:///home/clerk/.config/"
           "libreoffice/4;"));
  EXPECT_EQ(holder.user, u"clerk");
  EXPECT_EQ(holder.machine, u"office-pc");
  // The full name, where given, wins; commas and semicolons in it come escaped.
  holder = xls::file::ReadLibreOfficeLock(
      Utf8("王\\,小明\\;,wang,财务室,07.12.2026 13:05,file:///C:/Users/wang/AppData;"));
  EXPECT_EQ(holder.user, u"王,小明;");
  EXPECT_EQ(holder.machine, u"财务室");
  // Damaged or foreign contents name nobody rather than fail.
  holder = xls::file::ReadLibreOfficeLock(Utf8("garbage"));
  EXPECT_EQ(holder.user, u"garbage");
  EXPECT_EQ(holder.machine, u"");
  holder = xls::file::ReadLibreOfficeLock(Bytes{0xFF, ',', 0xFE, ',', 0x80});
  EXPECT_EQ(holder.machine, u"\uFFFD");
}

TEST(LockFileContents, OwnerFileNameComesFromItsUtf16Part) {
  const Bytes gbk{0xD5, 0xC5, 0xC8, 0xFD};  // 张三 in the code page of a Chinese Windows
  EXPECT_EQ(xls::file::ReadOwnerFile(ExcelOwnerFile(u"张三", gbk)).user, u"张三");
  EXPECT_EQ(xls::file::ReadOwnerFile(ExcelOwnerFile(u"Li Si", Utf8("Li Si"))).user, u"Li Si");
  // Cut after the code-page part: an ASCII name is still readable, any other is not guessed.
  Bytes short_file = ExcelOwnerFile(u"Li", Utf8("Li"));
  short_file.resize(54);
  EXPECT_EQ(xls::file::ReadOwnerFile(short_file).user, u"Li");
  short_file = ExcelOwnerFile(u"张三", gbk);
  short_file.resize(54);
  EXPECT_EQ(xls::file::ReadOwnerFile(short_file).user, u"");
  EXPECT_EQ(xls::file::ReadOwnerFile({}).user, u"");
  // A length past the end of the file, and an unpaired surrogate, do not get through.
  Bytes lying = ExcelOwnerFile(u"ab", Utf8("ab"));
  lying[54] = 200;
  EXPECT_EQ(xls::file::ReadOwnerFile(lying).user, u"ab");
  EXPECT_EQ(xls::file::ReadOwnerFile(ExcelOwnerFile(u"x\xD800y", Utf8("x?y"))).user, u"x\uFFFDy");
}

TEST(LockFileContents, NamesAreCutAndCleanedOfControlAndDirectionCharacters) {
  struct Case {
    std::u16string given;
    std::u16string shown;
  };
  const Case cases[] = {
      {u"\x1B[31m张三\x1B[0m", u"[31m张三[0m"},
      {u"Li\aSi\r\n", u"LiSi"},
      {u"\u202Eevil.exe\u202C", u"evil.exe"},
      {u"\u2066a\u2069\u200Eb\u200F\u061C", u"ab"},
      {u"\u0085\u009Bx", u"x"},
      {std::u16string(60000, u'王'), std::u16string(64, u'王')},
      // A pair is never cut in half.
      {std::u16string(63, u'a') + u"\U0001F600", std::u16string(63, u'a')},
  };
  for (const Case& c : cases) EXPECT_EQ(xls::file::ShownName(c.given), c.shown);
  const std::string long_lock = "," + std::string(60000, 'u') + ",\x1B]0:pc\x07,x,y;";
  const xls::file::LockHolder holder = xls::file::ReadLibreOfficeLock(Utf8(long_lock));
  EXPECT_EQ(holder.user, std::u16string(xls::file::kMaxHolderNameLength, u'u'));
  EXPECT_EQ(holder.machine, u"]0:pc");
}

// Which lock files beside a workbook stop its save. A LibreOffice lock this user made here
// while no LibreOffice of theirs runs is a leftover; one of another user or machine, or an
// owner file (which only Windows can tell is held), may be in use.
TEST(LockFileRules, OnlyAHolderThatMayStillBeThereCounts) {
  const std::string login = xls::file::LoginName();
  const std::string host = xls::file::HostName();
  if (login.empty() || host.empty()) GTEST_SKIP() << "this user or machine has no name";
  const bool office_runs = xls::file::LibreOfficeRunsHere();
  std::string upper_host = host;
  for (char& c : upper_host) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
  struct Case {
    const char* what;
    std::string libre_office;  // the lock's contents, or nothing
    bool owner_file;
    bool counts;
  };
  const Case cases[] = {
      {"left by this user's LibreOffice here", "," + login + "," + host + ",x,y;", false,
       office_runs},
      {"the same, the machine's name in capitals", "," + login + "," + upper_host + ",x,y;", false,
       office_runs},
      {"of this user on another machine", "," + login + ",other-pc,x,y;", false, true},
      {"of another user here", ",someone-else," + host + ",x,y;", false, true},
#ifdef _WIN32
      {"owner file no program holds", "", true, false},
#else
      {"owner file, which may be held", "", true, true},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test_support::TempDir temp;
    const fs::path workbook = temp.Path() / u"锯材账单.xls";
    test_support::SaveFile(workbook, Utf8("x"));
    if (!c.libre_office.empty()) {
      test_support::SaveFile(temp.Path() / u".~lock.锯材账单.xls#", Utf8(c.libre_office));
    }
    if (c.owner_file) {
      test_support::SaveFile(temp.Path() / u"~$锯材账单.xls", ExcelOwnerFile(u"Li", Utf8("Li")));
    }
    EXPECT_EQ(xls::file::FindLockHolder(workbook).has_value(), c.counts);
  }
}

#ifdef _WIN32
// Excel and WPS keep their owner file open while they show the workbook.
TEST(LockFileRules, AnOwnerFileAProgramHoldsOpenCounts) {
  test_support::TempDir temp;
  const fs::path workbook = temp.Path() / u"锯材账单.xls";
  const fs::path owner_file = temp.Path() / u"~$锯材账单.xls";
  test_support::SaveFile(workbook, Utf8("x"));
  test_support::SaveFile(owner_file, ExcelOwnerFile(u"张三", {0xD5, 0xC5, 0xC8, 0xFD}));
  HANDLE held = CreateFileW(owner_file.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const auto holder = xls::file::FindLockHolder(workbook);
  CloseHandle(held);
  ASSERT_TRUE(holder.has_value());
  EXPECT_EQ(holder->user, u"张三");
  EXPECT_FALSE(xls::file::FindLockHolder(workbook).has_value()) << "let go, it no longer counts";
}
#endif

}  // namespace
