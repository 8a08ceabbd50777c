#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "workbook/workbook_automation.h"

namespace xls {
class XlsDocument;
}

namespace workbook {

// Hands a saved workbook to whatever shows it to the user (the desktop's "open this
// file" service or Verdalon's print preview in the program; a recorder in tests): the
// workbook as the engine holds it, its file at its Path().
using WorkbookOpener = std::function<void(const xls::XlsDocument&)>;

// Where the engine's next opening of the workbook it last saved comes from.
enum class SavedWorkbookReopening {
  kFromFile,
  // The saved workbook as it stands in memory, its file not read again: for a print right
  // after the save, which then shows exactly what was stored. Only the next Open of that
  // path takes it; any other Open, or ForgetSaved, drops it.
  kFromMemory,
};

// The spreadsheet engine built into the program: each instance edits .xls workbooks in
// memory and writes them back on Save. It starts no process and shows no window; making
// an instance visible passes its open workbooks to the opener.
//
// ProgIDs are matched without regard to case: "Excel.Application" names this engine, and
// any other ProgID fails with error 429.
class EmbeddedApplicationFactory : public ApplicationFactory {
 public:
  explicit EmbeddedApplicationFactory(
      WorkbookOpener opener, SavedWorkbookReopening reopening = SavedWorkbookReopening::kFromFile);
  std::unique_ptr<Application> Create(std::string_view prog_id) override;

  // Drops the workbook kept from the last save, so that the next Open reads its file.
  void ForgetSaved();

  struct SavedWorkbook;

 private:
  WorkbookOpener opener_;
  // Null when saved workbooks are reopened from their files.
  std::shared_ptr<SavedWorkbook> saved_;
};

}  // namespace workbook
