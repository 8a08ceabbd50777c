#pragma once

namespace ui {

// Whether the desktop has a program that opens .xls files: on Windows a file association
// for the extension, on Linux a default application for the type
// application/vnd.ms-excel (as xdg-mime reports it). Elsewhere the desktop is trusted to
// have one.
bool DesktopHasXlsProgram();

}  // namespace ui
