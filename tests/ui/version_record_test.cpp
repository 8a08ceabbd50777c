// The version record Windows shows in the file's properties, read from the built
// verdalon.exe through the system's own version API.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

class VersionRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring file = std::filesystem::path(VERDALON_SHIPPED_EXECUTABLE).wstring();
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), nullptr);
    ASSERT_GT(size, 0u) << "verdalon.exe carries no version record";
    record_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, record_.data()));
  }

  // A text of the string table for Chinese (PRC), Unicode.
  std::wstring Text(const wchar_t* key) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + key;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(record_.data(), path.c_str(), &value, &length) || length == 0) return {};
    return std::wstring(static_cast<const wchar_t*>(value));
  }

  std::vector<unsigned char> record_;
};

TEST_F(VersionRecordTest, NamesVersionProductAndChineseLanguage) {
  EXPECT_EQ(Text(L"FileVersion"), L"1.01");
  EXPECT_EQ(Text(L"ProductVersion"), L"1.01");
  EXPECT_EQ(Text(L"ProductName"), L"Verdalon");
  EXPECT_EQ(Text(L"InternalName"), L"Verdalon");

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(record_.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_GE(length, 4u);
  const auto* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 0x0804) << "language: Chinese (PRC)";
  EXPECT_EQ(translation[1], 1200) << "code page: Unicode";

  VS_FIXEDFILEINFO* fixed = nullptr;
  ASSERT_TRUE(VerQueryValueW(record_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
