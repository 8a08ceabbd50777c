#pragma once

class QComboBox;

namespace ui {

// A turn of the mouse wheel over a closed combo box would put a listed entry in place of what
// the clerk typed, unseen while the pointer merely passes over the box on its way to the
// grid. The closed box ignores the wheel; its open list scrolls as usual (the list is a
// window of its own and does not pass through here).
void IgnoreWheelWhileClosed(QComboBox& combo);

}  // namespace ui
