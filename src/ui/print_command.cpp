#include "ui/print_command.h"

#include "ui/failure_report.h"
#include "ui/form1.h"
#include "ui/tally_print_preview.h"

namespace ui {

PrintCommand::PrintCommand(Form1& form, std::filesystem::path program_directory)
    : form_(form),
      // The export's display step hands the saved workbook here instead of to the desktop.
      factory_([&form](const std::filesystem::path& saved) { PreviewTallySheet(&form, saved); }),
      source_(form),
      export_(factory_, program_directory, [] {}),
      recording_(form, source_, std::move(program_directory), export_),
      shortcut_(QKeySequence::Print, &form) {
  shortcut_.setContext(Qt::WindowShortcut);
  QObject::connect(&shortcut_, &QShortcut::activated, &form, [this] { Run(); });
}

void PrintCommand::Run() {
  ReportFailure(&form_, [this] { export_.Run(source_); });
  recording_.TellOutcome();
}

}  // namespace ui
