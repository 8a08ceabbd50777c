#pragma once

#include <QString>

class QWidget;

namespace ui {

// Every message of the program: no icon, one OK button, the caption "Verdalon". The text is
// broken into lines at separators only, so no file name is split. Returns when the user has
// dismissed it, whichever way.
void ShowMessage(QWidget* parent, const QString& text);

// The least width of a message box whose title bar shows `caption` whole.
int MessageBoxMinimumWidth(const QString& caption);

}  // namespace ui
