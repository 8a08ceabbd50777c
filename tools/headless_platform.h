#pragma once

namespace tools {

// Chooses, before the Qt application is made, a Qt platform that needs no display, unless
// the caller named one in QT_QPA_PLATFORM. On Windows the native platform needs no display
// either, and it is the one that sees the installed fonts (offscreen would print boxes), so
// there it is kept.
void PreferHeadlessPlatform();

}  // namespace tools
