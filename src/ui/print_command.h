#pragma once

#include <QShortcut>
#include <filesystem>

#include "ui/bill_recording_step.h"
#include "ui/form_export_source.h"
#include "workbook/embedded_application.h"
#include "workbook/tally_export.h"

namespace ui {

class Form1;

// Ctrl+P in the window: writes and saves the tally into the workbook exactly as the export
// does (with its one retry), then shows Verdalon's print preview of sheet "码单", from
// which the clerk prints or saves a PDF. No spreadsheet program is started, so the
// reminder to close the workbook is not needed here.
class PrintCommand {
 public:
  PrintCommand(Form1& form, std::filesystem::path program_directory);
  PrintCommand(const PrintCommand&) = delete;
  PrintCommand& operator=(const PrintCommand&) = delete;

  // What Ctrl+P runs. A failure that survives the retry is told to the clerk; the tally
  // stays on screen as it was.
  void Run();

 private:
  Form1& form_;
  workbook::EmbeddedApplicationFactory factory_;
  FormExportSource source_;
  workbook::TallyExport export_;
  BillRecordingStep recording_;
  QShortcut shortcut_;
};

}  // namespace ui
