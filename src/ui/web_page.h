#pragma once

namespace ui {

// The program's own web page.
inline constexpr char kWebPageAddress[] = "https://verdalon.example.com/";

// Hands the page to the desktop's default browser and returns at once: no console shows and
// the program does not wait for the browser. False when the desktop has nothing to open the
// page with.
bool OpenWebPage();

}  // namespace ui
