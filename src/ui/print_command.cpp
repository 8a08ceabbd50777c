#include "ui/print_command.h"

#include "ui/failure_report.h"
#include "ui/form1.h"
#include "ui/tally_print_preview.h"

namespace ui {

PrintCommand::PrintCommand(Form1& form, std::filesystem::path program_directory)
    : form_(form),
      // The export's display step hands the saved workbook here instead of to the desktop,
      // as the save left it in memory: one reading of the file and one calculation per print.
      factory_([&form](const xls::XlsDocument& saved) { PreviewTallySheet(&form, saved); },
               workbook::SavedWorkbookReopening::kFromMemory),
      source_(form),
      export_(factory_, program_directory, [] {}),
      recording_(form, source_, std::move(program_directory), export_),
      shortcut_(QKeySequence::Print, &form) {
  shortcut_.setContext(Qt::WindowShortcut);
  QObject::connect(&shortcut_, &QShortcut::activated, &form, [this] { Run(); });
}

void PrintCommand::Run() {
  // A workbook kept from an earlier print may since have been changed in its file.
  factory_.ForgetSaved();
  ReportFailure(&form_, [this] { export_.Run(source_); });
  recording_.TellOutcome();
  factory_.ForgetSaved();
}

}  // namespace ui
