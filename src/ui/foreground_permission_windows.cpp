#include <windows.h>

#include "ui/foreground_permission.h"

namespace ui {

void AllowAnyProcessToTakeTheForeground() {
  // The running copy's process id is not known here; the right lasts only until the user's
  // next input, so granting it to any process gives nothing lasting away.
  AllowSetForegroundWindow(ASFW_ANY);
}

}  // namespace ui
