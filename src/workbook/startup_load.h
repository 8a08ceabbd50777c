#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "workbook/workbook_automation.h"

namespace workbook {

// What the window needs from the reference sheet: the buyer list and the seller's name.
struct ReferenceData {
  std::vector<std::u16string> buyers;  // in row order
  std::u16string seller;
};

// Reads the buyers (column 2 from row 3, up to the first empty cell, at most 201) and the
// seller of sheet "资料" through a hidden instance, then saves and closes the workbook
// unchanged and lets the instance go. Catches nothing: any failure reaches the caller as
// it was raised.
ReferenceData LoadReferenceData(ApplicationFactory& factory,
                                const std::filesystem::path& program_directory);

}  // namespace workbook
