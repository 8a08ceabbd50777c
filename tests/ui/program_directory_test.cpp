// Where the program looks for its workbook, as Windows writes it: the folder of the
// running .exe with backslashes, joined with "\锯材账单.xls" as they stand.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "desktop_opener.h"
#include "workbook/workbook_path.h"

namespace {

// The folder of this test program, asked of Windows itself rather than of Qt.
std::wstring FolderOfThisProgram() {
  wchar_t name[32768];
  const DWORD length = GetModuleFileNameW(nullptr, name, static_cast<DWORD>(std::size(name)));
  std::wstring path(name, length);
  return path.substr(0, path.rfind(L'\\'));
}

TEST(ProgramDirectoryTest, IsTheExecutablesFolderWithBackslashes) {
  const std::wstring folder = ui::ProgramDirectory().native();
  EXPECT_EQ(folder, FolderOfThisProgram());
  EXPECT_EQ(folder.find(L'/'), std::wstring::npos);
  EXPECT_EQ(workbook::WorkbookPath(ui::ProgramDirectory()).native(),
            FolderOfThisProgram() + L"\\锯材账单.xls");
}

}  // namespace
