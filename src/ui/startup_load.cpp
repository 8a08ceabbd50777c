#include "startup_load.h"

#include "form1.h"

namespace ui {

// The workbook reader is not wired in yet: the window starts with an empty buyer list and
// "Label4" as the seller.
void RunStartupLoad(Form1&) {}

}  // namespace ui
