#pragma once

class QWidget;

namespace xls {
class XlsDocument;
}

namespace ui {

// The sheet of the workbook that holds the printed tally.
inline constexpr char16_t kTallySheet[] = u"码单";

// Shows Verdalon's print preview of sheet "码单" of the workbook just saved, as it stands in
// memory: the results its save stored, its file not read again. Throws AutomationError when
// the sheet cannot be laid out.
void PreviewTallySheet(QWidget* parent, const xls::XlsDocument& workbook);

// What the export does with the saved workbook: hands it to the desktop's spreadsheet
// program where there is one, and shows Verdalon's own print preview where there is none
// or the hand-off fails, so that the tally can always be printed.
void OpenForPrinting(const xls::XlsDocument& workbook);

}  // namespace ui
