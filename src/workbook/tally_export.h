#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "tally/field_id.h"
#include "workbook/workbook_automation.h"

namespace workbook {

// The window's texts as the export reads them, live, at the moment of each write.
class ExportSource {
 public:
  virtual std::u16string Buyer() const = 0;   // the buyer box's text
  virtual std::u16string Seller() const = 0;  // the seller caption
  virtual std::u16string Text(tally::FieldId field) const = 0;

 protected:
  ~ExportSource() = default;
};

// Writes the tally into sheet "码单", saves the workbook and lets that instance quit, then
// opens the workbook in a second instance and shows it for printing.
//
// The first attempt of the program's run is preceded by the reminder to close the
// workbook. A failure anywhere in an attempt starts the whole export once more from the
// top; if that fails too, the error reaches the caller, which tells the clerk and keeps
// running: the tally is never lost to a locked or missing workbook.
class TallyExport {
 public:
  TallyExport(ApplicationFactory& factory, std::filesystem::path program_directory,
              std::function<void()> show_reminder);

  // Throws AutomationError when the retry fails as well.
  void Run(const ExportSource& source);

  // Runs once per Run, right after the first save of the workbook that succeeded (the
  // retry does not run it again) and while that save still keeps every other save of the
  // workbook waiting, so that exports from several PCs run it one at a time; before the
  // workbook is shown. It must not throw.
  void SetAfterSave(std::function<void()> after_save) { after_save_ = std::move(after_save); }

 private:
  void Attempt(const ExportSource& source);
  void WriteAndSave(const ExportSource& source);
  void AfterFirstSave();
  void OpenForDisplay();

  ApplicationFactory& factory_;
  std::filesystem::path program_directory_;
  std::function<void()> show_reminder_;
  std::function<void()> after_save_;
  bool reminded_ = false;  // the reminder comes once per run of the program
  bool saved_ = false;     // in this Run
};

}  // namespace workbook
