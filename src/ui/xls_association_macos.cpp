#include "ui/xls_association.h"

namespace ui {

// macOS has no freedesktop tools to ask; its desktop is trusted to open .xls files.
bool DesktopHasXlsProgram() {
  return true;
}

}  // namespace ui
