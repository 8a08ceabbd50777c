// The workbook's file troubles as Windows makes them, each told with the program's own
// number and Chinese description, never the system's text (which comes in the ANSI code
// page), and the save that keeps what Windows keeps about the file.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: these rely on its types.
#include <aclapi.h>
#include <sddl.h>

#include <filesystem>
#include <functional>
#include <string>

#include "base/text_encoding.h"
#include "compound_files.h"
#include "workbook/automation_error.h"
#include "workbook/embedded_application.h"
#include "xls/xls_document.h"

namespace workbook {
namespace {

namespace fs = std::filesystem;

class WindowsFileFailures : public ::testing::Test {
 protected:
  WindowsFileFailures() : factory_([](const xls::XlsDocument&) {}) {
    path_ = temp_.Path() / u"锯材账单.xls";
    fs::copy_file(fs::path(VERDALON_TEMPLATE_DIR) / u"锯材账单.xls", path_);
  }

  std::unique_ptr<Workbook> Open() {
    return factory_.Create("Excel.Application")->GetWorkbooks()->Open(path_);
  }

  // The number of the failure, with its description checked as the clerk must see it.
  int FailureOf(const std::function<void()>& operation, const std::string& expected_words) {
    try {
      operation();
    } catch (const AutomationError& e) {
      const std::string description = e.Description();
      EXPECT_NE(description.find(expected_words), std::string::npos) << description;
      // The path as Windows writes it, in UTF-8 whatever the code page.
      EXPECT_NE(description.find(base::ToUtf8(path_.u16string())), std::string::npos)
          << description;
      EXPECT_EQ(description.find('/'), std::string::npos) << description;
      for (const DWORD code : {DWORD{ERROR_SHARING_VIOLATION}, DWORD{ERROR_ACCESS_DENIED},
                               DWORD{ERROR_FILE_NOT_FOUND}}) {
        EXPECT_EQ(description.find(SystemText(code)), std::string::npos)
            << "the system's own text for " << code << ": " << description;
      }
      return e.Number();
    }
    ADD_FAILURE() << "no failure";
    return 0;
  }

  // What FormatMessage says for a code, as the ANSI code page spells it.
  static std::string SystemText(DWORD code) {
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
      message.pop_back();
    }
    return message.empty() ? std::string("\x01") : message;
  }

  // Holds the workbook open as a spreadsheet program does while it shows it.
  HANDLE Hold(DWORD share) {
    return CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                       0, nullptr);
  }

  test_support::TempDir temp_;
  fs::path path_;
  EmbeddedApplicationFactory factory_;
};

TEST_F(WindowsFileFailures, AWorkbookHeldOpenByAnotherProgramIs70ForReadingAndSaving) {
  HANDLE exclusive = Hold(0);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FailureOf([&] { Open(); }, "正被其他程序使用"), 70);
  CloseHandle(exclusive);

  const test_support::Bytes before = test_support::LoadFile(path_);
  std::unique_ptr<Workbook> workbook = Open();
  workbook->Worksheets(u"码单")->SetCell(3, 2, u"新买方");
  // Excel and WPS let others read the file they show, not replace it.
  HANDLE shown = Hold(FILE_SHARE_READ);
  ASSERT_NE(shown, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FailureOf([&] { workbook->Save(); }, "正被其他程序使用"), 70);
  CloseHandle(shown);
  EXPECT_EQ(test_support::LoadFile(path_), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(temp_.Path()), fs::directory_iterator()), 1)
      << "no temporary is left behind";
}

TEST_F(WindowsFileFailures, AReadOnlyWorkbookIs70MissingIs53AFolderIs75) {
  std::unique_ptr<Workbook> workbook = Open();
  ASSERT_TRUE(SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(FailureOf([&] { workbook->Save(); }, "没有写入权限"), 70);
  ASSERT_TRUE(SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL));

  fs::remove(path_);
  EXPECT_EQ(FailureOf([&] { Open(); }, "找不到文件"), 53);
  fs::create_directory(path_);
  EXPECT_EQ(FailureOf([&] { Open(); }, "不是普通文件"), 75);
}

std::wstring AccessList(const fs::path& file) {
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(file.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, &list, nullptr, &descriptor) != ERROR_SUCCESS) {
    return L"?";
  }
  LPWSTR text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                       DACL_SECURITY_INFORMATION, &text, nullptr);
  std::wstring result = text != nullptr ? text : L"?";
  LocalFree(text);
  LocalFree(descriptor);
  return result;
}

TEST_F(WindowsFileFailures, TheSavedWorkbookKeepsItsAttributesAndAccessList) {
  // Everyone may do everything: not what a new file in this folder gets.
  PSECURITY_DESCRIPTOR open_to_all = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      L"D:P(A;;FA;;;WD)", SDDL_REVISION_1, &open_to_all, nullptr));
  ASSERT_TRUE(SetFileSecurityW(path_.c_str(), DACL_SECURITY_INFORMATION, open_to_all));
  LocalFree(open_to_all);
  ASSERT_TRUE(SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  const std::wstring access_before = AccessList(path_);
  const DWORD attributes_before = GetFileAttributesW(path_.c_str());

  std::unique_ptr<Workbook> workbook = Open();
  workbook->Worksheets(u"码单")->SetCell(3, 2, u"新买方");
  workbook->Save();
  EXPECT_EQ(Open()->Worksheets(u"码单")->Cell(3, 2), u"新买方");
  EXPECT_EQ(GetFileAttributesW(path_.c_str()), attributes_before);
  EXPECT_EQ(AccessList(path_), access_before);
}

}  // namespace
}  // namespace workbook
