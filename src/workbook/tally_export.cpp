#include "workbook/tally_export.h"

#include <exception>
#include <new>
#include <utility>

#include "workbook/automation_error.h"
#include "workbook/cell_map.h"
#include "workbook/failure_descriptions.h"
#include "workbook/workbook_path.h"

namespace workbook {
namespace {

constexpr const char* kProgId = "Excel.Application";

void Write(Worksheet& sheet, CellRef cell, const std::u16string& text) {
  sheet.SetCell(cell.row, cell.column, text);
}

}  // namespace

TallyExport::TallyExport(ApplicationFactory& factory, std::filesystem::path program_directory,
                         std::function<void()> show_reminder)
    : factory_(factory),
      program_directory_(std::move(program_directory)),
      show_reminder_(std::move(show_reminder)) {}

void TallyExport::Run(const ExportSource& source) {
  saved_ = false;
  try {
    Attempt(source);
    return;
  } catch (...) {
    // The handles of the failed attempt are gone with its stack; start again from the top.
  }
  try {
    Attempt(source);
  } catch (const AutomationError&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw;  // the program-wide description of running out of memory says it best
  } catch (...) {
    // Whatever it said was for developers, and maybe not even text: the clerk gets a
    // number and words of his own language.
    throw UnexpectedExportError();
  }
}

void TallyExport::Attempt(const ExportSource& source) {
  if (!reminded_) {
    reminded_ = true;
    if (show_reminder_) show_reminder_();
  }
  WriteAndSave(source);
  OpenForDisplay();
}

void TallyExport::WriteAndSave(const ExportSource& source) {
  std::unique_ptr<Application> app = factory_.Create(kProgId);
  std::unique_ptr<Workbook> book = app->GetWorkbooks()->Open(WorkbookPath(program_directory_));
  std::unique_ptr<Worksheet> sheet = book->Worksheets(kTallySheet);

  Write(*sheet, kSellerScratchCell, source.Seller());
  Write(*sheet, kBuyerCell, source.Buyer());
  for (int row = 0; row < tally::kRowCount; ++row) {
    for (int column = 0; column < tally::kColumnCount; ++column) {
      const tally::FieldId field(static_cast<tally::TallyColumn>(column), row);
      Write(*sheet, ItemCell(field.Column(), row), source.Text(field));
    }
  }
  Write(*sheet, kScalerCell, source.Text(tally::SingleField::Text9));
  Write(*sheet, kTotalVolumeCell, source.Text(tally::SingleField::Text10));
  Write(*sheet, kTotalAmountCell, source.Text(tally::SingleField::Text11));

  book->Save([this] { AfterFirstSave(); });
  app->GetWorkbooks()->Close();
  app->Quit();
  sheet.reset();
  book.reset();
  app.reset();
}

void TallyExport::AfterFirstSave() {
  if (saved_) return;
  saved_ = true;
  if (after_save_) after_save_();
}

void TallyExport::OpenForDisplay() {
  const std::filesystem::path path = WorkbookPath(program_directory_);
  std::unique_ptr<Application> app = factory_.Create(kProgId);
  std::unique_ptr<Workbook> book = app->GetWorkbooks()->Open(path);
  std::unique_ptr<Worksheet> sheet = book->Worksheets(kTallySheet);
  app->SetVisible(true);
  // The handles go now; the shown workbook belongs to the user.
}

}  // namespace workbook
