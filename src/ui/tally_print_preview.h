#pragma once

#include <filesystem>

class QWidget;

namespace ui {

// The sheet of the workbook that holds the printed tally.
inline constexpr char16_t kTallySheet[] = u"码单";

// Shows Verdalon's print preview of sheet "码单" of the saved workbook. Throws
// AutomationError when the workbook cannot be read.
void PreviewTallySheet(QWidget* parent, const std::filesystem::path& workbook);

// What the export does with the saved workbook: hands it to the desktop's spreadsheet
// program where there is one, and shows Verdalon's own print preview where there is none
// or the hand-off fails, so that the tally can always be printed.
void OpenForPrinting(const std::filesystem::path& workbook);

}  // namespace ui
