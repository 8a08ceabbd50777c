#include "ui/workbook_binding.h"

#include "ui/failure_report.h"
#include "ui/form1.h"
#include "ui/message_box.h"
#include "workbook/bill_content_source.h"
#include "workbook/startup_load.h"

namespace ui {

WorkbookBinding::WorkbookBinding(Form1& form, workbook::EmbeddedApplicationFactory& factory,
                                 std::filesystem::path program_directory)
    : form_(form),
      factory_(factory),
      program_directory_(std::move(program_directory)),
      source_(form),
      export_(factory, program_directory_,
              [&form] { ShowMessage(&form, QString::fromUtf16(kCloseWorkbookReminder)); }),
      recording_(form, source_, program_directory_, export_) {
  form_.SetExportHandler([this] { Export(); });
}

void WorkbookBinding::LoadReferenceData() {
  const workbook::ReferenceData data = workbook::LoadReferenceData(factory_, program_directory_);
  form_.SetBuyerList(data.buyers);
  form_.SetSellerCaption(data.seller);
}

void WorkbookBinding::Export() {
  RunExport(source_);
  recording_.TellOutcome();
}

void WorkbookBinding::Reprint(const std::string& number, const billbook::BillContent& content) {
  const workbook::BillContentSource source(content);
  recording_.ReprintNext(number, content);
  RunExport(source);
  recording_.ReprintDone();
  recording_.TellOutcome();
}

void WorkbookBinding::RunExport(const workbook::ExportSource& source) {
  // The workbook kept from an earlier save may since have been changed in its file: each
  // export reads it afresh, and only its own display step takes what its save kept.
  factory_.ForgetSaved();
  ReportFailure(&form_, [&] { export_.Run(source); });
  factory_.ForgetSaved();
}

}  // namespace ui
