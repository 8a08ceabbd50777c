#pragma once

#include <QString>

class QWidget;

namespace ui {

// Every message of the program: no icon, one OK button, the caption "Verdalon". Returns when
// the user has dismissed it, whichever way.
//
// Automated runs set VERDALON_AUTO_ACCEPT_MESSAGES=1: the box still shows, but closes by
// itself at once, and its text is also written to standard error for the run to check.
void ShowMessage(QWidget* parent, const QString& text);

}  // namespace ui
