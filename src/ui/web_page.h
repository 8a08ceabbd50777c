#pragma once

namespace ui {

// The program's own web page.
inline constexpr char kWebPageAddress[] = "https://verdalon.example.com/";

// Hands the page to the desktop's default browser and returns at once: no console shows and
// the program neither waits for the browser nor looks at the outcome.
void OpenWebPage();

}  // namespace ui
