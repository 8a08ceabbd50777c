#pragma once

#include <filesystem>

namespace ui {

// Hands a saved workbook to the desktop's spreadsheet application, the way a double click
// in the file manager would, without waiting for it. Throws AutomationError when the
// desktop has nothing to open it with.
void OpenWithDesktop(const std::filesystem::path& workbook);

}  // namespace ui
