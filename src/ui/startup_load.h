#pragma once

namespace ui {

class Form1;

// The start-up load, run after the one-instance guard and before the window is first shown:
// it fills Combo1's buyer list and Label4's seller from the workbook.
void RunStartupLoad(Form1& form);

}  // namespace ui
