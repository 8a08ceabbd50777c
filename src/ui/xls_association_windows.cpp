#include <shlwapi.h>
#include <windows.h>

#include "ui/xls_association.h"

namespace ui {

bool DesktopHasXlsProgram() {
  // The program Explorer would start for a double click on a .xls file, if any.
  wchar_t executable[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  const HRESULT found = AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, L".xls", L"open",
                                          executable, &size);
  return found == S_OK && executable[0] != L'\0';
}

}  // namespace ui
