#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "workbook/workbook_automation.h"

namespace workbook {

// Hands a saved workbook to whatever shows it to the user (the desktop's "open this
// file" service in the program; a recorder in tests).
using WorkbookOpener = std::function<void(const std::filesystem::path&)>;

// The spreadsheet engine built into the program: each instance edits .xls workbooks in
// memory and writes them back on Save. It starts no process and shows no window; making
// an instance visible passes its open workbooks to the opener.
//
// ProgIDs are matched without regard to case: "Excel.Application" names this engine, and
// any other ProgID fails with error 429.
class EmbeddedApplicationFactory : public ApplicationFactory {
 public:
  explicit EmbeddedApplicationFactory(WorkbookOpener opener);
  std::unique_ptr<Application> Create(std::string_view prog_id) override;

 private:
  WorkbookOpener opener_;
};

}  // namespace workbook
