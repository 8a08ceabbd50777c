// The version record Windows shows in the file's properties, read from the built
// verdalon.exe through the system's own version API.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <tuple>
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

// The languages a resource of verdalon.exe is filed under.
std::vector<WORD> ResourceLanguages(LPCWSTR type, LPCWSTR name) {
  const std::wstring file = std::filesystem::path(VERDALON_SHIPPED_EXECUTABLE).wstring();
  HMODULE module = LoadLibraryExW(file.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  std::vector<WORD> languages;
  if (module == nullptr) return languages;
  EnumResourceLanguagesW(
      module, type, name,
      [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) -> BOOL {
        reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&languages));
  FreeLibrary(module);
  return languages;
}

TEST_F(VersionRecordTest, NamesVersionProductAndChineseLanguage) {
  EXPECT_EQ(Text(L"FileVersion"), L"1.01");
  EXPECT_EQ(Text(L"ProductVersion"), L"1.01");
  EXPECT_EQ(Text(L"ProductName"), L"Verdalon");
  EXPECT_EQ(Text(L"InternalName"), L"Verdalon");
  // What Task Manager and Explorer show for the program.
  EXPECT_EQ(Text(L"FileDescription"), L"锯材码单计算器");
  EXPECT_FALSE(Text(L"CompanyName").empty());
  EXPECT_NE(Text(L"LegalCopyright").find(L"Verdalon"), std::wstring::npos);

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

  // Explorer shows the numeric version as 文件版本: it reads as the text does, digit for
  // digit (1.01 is 1.0.1.0; 1.1.0.0 would read as 1.10).
  for (const auto& [numeric_high, numeric_low, text] :
       {std::tuple{fixed->dwFileVersionMS, fixed->dwFileVersionLS, Text(L"FileVersion")},
        std::tuple{fixed->dwProductVersionMS, fixed->dwProductVersionLS,
                   Text(L"ProductVersion")}}) {
    const std::wstring shown = std::to_wstring(HIWORD(numeric_high)) + L"." +
                               std::to_wstring(LOWORD(numeric_high)) +
                               std::to_wstring(HIWORD(numeric_low));
    EXPECT_EQ(shown, text);
    EXPECT_LE(LOWORD(numeric_high), 9) << "one digit of the minor number per field";
    EXPECT_EQ(LOWORD(numeric_low), 0);
  }
}

// The resources are filed under the language of their texts, Chinese (PRC), as Explorer
// and the resource tools list them.
TEST(VersionRecordResourcesTest, AreFiledAsChinesePrc) {
  constexpr WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
  static_assert(kChinesePrc == 0x0804);
  EXPECT_EQ(ResourceLanguages(RT_VERSION, MAKEINTRESOURCEW(1)), std::vector<WORD>{kChinesePrc});
  EXPECT_EQ(ResourceLanguages(RT_GROUP_ICON, MAKEINTRESOURCEW(1)), std::vector<WORD>{kChinesePrc});
}

// The program's icon as Explorer picks from it: besides 16, 32 and 48 px it holds a 256 px
// image for the large views, stored as PNG (the directory writes 256 as 0).
TEST(VersionRecordResourcesTest, TheIconHasA256PixelPngImage) {
  const std::wstring file = std::filesystem::path(VERDALON_SHIPPED_EXECUTABLE).wstring();
  HMODULE module = LoadLibraryExW(file.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  auto resource = [&](LPCWSTR type, LPCWSTR name) -> std::string {
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) return {};
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(data, SizeofResource(module, found));
  };
  // GRPICONDIR: reserved, type, count; then 14-byte entries: width, height, colours, reserved,
  // planes, bits, size (4), id (2).
  const std::string group = resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1));
  ASSERT_GE(group.size(), 6u);
  const int count = static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5])
                                                               << 8;
  ASSERT_EQ(group.size(), 6u + 14u * static_cast<std::size_t>(count));
  std::vector<int> sides;
  for (int i = 0; i < count; ++i) {
    const char* entry = group.data() + 6 + 14 * i;
    const int side = static_cast<unsigned char>(entry[0]);
    sides.push_back(side == 0 ? 256 : side);
    if (side != 0) continue;
    const int id = static_cast<unsigned char>(entry[12]) | static_cast<unsigned char>(entry[13])
                                                               << 8;
    const std::string image = resource(RT_ICON, MAKEINTRESOURCEW(id));
    EXPECT_EQ(image.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  }
  FreeLibrary(module);
  EXPECT_EQ(sides, (std::vector<int>{16, 32, 48, 256}));
}

}  // namespace
