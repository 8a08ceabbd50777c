#include "ui/foreground_permission.h"

namespace ui {

// X11 and Wayland compositors have no such right to pass on.
void AllowAnyProcessToTakeTheForeground() {}

}  // namespace ui
