#pragma once

#include <QString>

class QWidget;

namespace ui {

// Every message of the program: no icon, one OK button, the caption "Verdalon". Returns when
// the user has dismissed it, whichever way.
void ShowMessage(QWidget* parent, const QString& text);

}  // namespace ui
