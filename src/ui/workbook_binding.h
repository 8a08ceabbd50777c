#pragma once

#include <filesystem>
#include <string>

#include "ui/bill_recording_step.h"
#include "ui/form_export_source.h"
#include "workbook/embedded_application.h"
#include "workbook/tally_export.h"

namespace ui {

class Form1;

// The text of the reminder shown before the first export of a run.
inline constexpr char16_t kCloseWorkbookReminder[] = u"每次打印前请先关闭*锯材账单*";

// Connects the window to its workbook: the start-up load fills the buyer list and the
// seller, and Command4 exports the tally for printing. An engine that reopens the saved
// workbook from memory (SavedWorkbookReopening::kFromMemory) shows each export's workbook
// as it saved it, without reading the file again.
class WorkbookBinding {
 public:
  WorkbookBinding(Form1& form, workbook::EmbeddedApplicationFactory& factory,
                  std::filesystem::path program_directory);
  WorkbookBinding(const WorkbookBinding&) = delete;
  WorkbookBinding& operator=(const WorkbookBinding&) = delete;

  // Reads buyers and seller from sheet "资料". Failures are thrown to the caller: before
  // the window shows, there is no tally to lose.
  void LoadReferenceData();

  // What Command4 does. A failure that survives the export's own retry is told to the
  // clerk; the window and every text in it stay as they were.
  void Export();

  // 重印 of a bill from the book: its texts written into the workbook and handed on exactly
  // as Export does, and one more print counted in the book. The window is left as it is.
  void Reprint(const std::string& number, const billbook::BillContent& content);

 private:
  Form1& form_;
  void RunExport(const workbook::ExportSource& source);

  workbook::EmbeddedApplicationFactory& factory_;
  std::filesystem::path program_directory_;
  FormExportSource source_;
  workbook::TallyExport export_;
  BillRecordingStep recording_;
};

}  // namespace ui
