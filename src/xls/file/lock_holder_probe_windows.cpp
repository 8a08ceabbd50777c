#include <windows.h>
// windows.h first: tlhelp32.h relies on its types.
#include <tlhelp32.h>

#include <cwchar>
#include <string>

#include "base/text_encoding.h"
#include "xls/file/lock_holder_probe.h"

namespace xls::file {

namespace fs = std::filesystem;

std::string LoginName() {
  wchar_t name[256] = {};
  DWORD size = 256;
  if (!GetUserNameW(name, &size) || size == 0) return {};
  return base::ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(name), size - 1));
}

bool LibreOfficeRunsHere() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return true;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
       more = Process32NextW(snapshot, &entry)) {
    found = _wcsicmp(entry.szExeFile, L"soffice.bin") == 0;
  }
  CloseHandle(snapshot);
  return found;
}

// Asking for the file with no sharing at all fails while any program has it open.
bool HeldOpen(const fs::path& owner_file) {
  HANDLE file = CreateFileW(owner_file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_FILE_NOT_FOUND;
  CloseHandle(file);
  return false;
}

bool MayRemove(const fs::path& file) {
  HANDLE handle =
      CreateFileW(file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  CloseHandle(handle);
  return true;
}

}  // namespace xls::file
