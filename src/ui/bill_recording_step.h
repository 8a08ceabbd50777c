#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "billbook/bill.h"
#include "ui/book_backup_runner.h"
#include "workbook/tally_export.h"

namespace ui {

class Form1;

// Who records a bill now: the PC's clock, its name and the signed-in user.
billbook::Recorder RecorderNow();

// Makes an export record the window's current bill in the book once its workbook save
// succeeded, and starts the book's daily copy after it. What the book says is kept for TellOutcome,
// so that the message comes after the export, never between its save and the hand-off to printing.
class BillRecordingStep {
 public:
  BillRecordingStep(Form1& form, const workbook::ExportSource& source,
                    std::filesystem::path program_directory, workbook::TallyExport& export_step);
  BillRecordingStep(const BillRecordingStep&) = delete;
  BillRecordingStep& operator=(const BillRecordingStep&) = delete;

  // Shows the book's failure of the last export, if there was one.
  void TellOutcome();

  // The next export reprints bill `number` from the book, whose `content` it writes, instead
  // of recording the window's tally; after that export, saved or not, the window's tally is
  // recorded again.
  void ReprintNext(std::string number, billbook::BillContent content);
  void ReprintDone() { reprint_.reset(); }

 private:
  void Record();

  Form1& form_;
  const workbook::ExportSource& source_;
  std::filesystem::path program_directory_;
  std::optional<std::string> failure_;
  struct Reprint {
    std::string number;
    billbook::BillContent content;
  };
  std::optional<Reprint> reprint_;
  BookBackupRunner backup_;
};

}  // namespace ui
