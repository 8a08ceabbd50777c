#pragma once

namespace ui {

// Windows lets only the process the user last worked with bring a window to the foreground;
// another process that tries merely flashes its taskbar button. A process the user just
// started may pass that right on. Elsewhere the window manager decides, and this does nothing.
void AllowAnyProcessToTakeTheForeground();

}  // namespace ui
