#include "workbook/startup_load.h"

#include "workbook/cell_map.h"
#include "workbook/workbook_path.h"

namespace workbook {

// Handles are dropped in the order the automation conversation expects: the application
// right after Close, the workbook and sheet when the load ends.
ReferenceData LoadReferenceData(ApplicationFactory& factory,
                                const std::filesystem::path& program_directory) {
  std::unique_ptr<Application> app = factory.Create("Excel.application");
  std::unique_ptr<Workbook> book = app->GetWorkbooks()->Open(WorkbookPath(program_directory));
  std::unique_ptr<Worksheet> sheet = book->Worksheets(kReferenceSheet);
  app->SetVisible(false);

  ReferenceData data;
  for (int i = 0; i < kMaxBuyers; ++i) {
    std::u16string buyer = sheet->Cell(kFirstBuyerCell.row + i, kFirstBuyerCell.column);
    if (buyer.empty()) break;  // only a truly empty value ends the list; blanks are a name
    data.buyers.push_back(std::move(buyer));
  }
  data.seller = sheet->Cell(kSellerCell.row, kSellerCell.column);

  book->Save();
  book->Close();
  app.reset();
  return data;
}

}  // namespace workbook
