#include "ui/bill_recording_step.h"

#include <QDateTime>
#include <QSysInfo>
#include <utility>

#include "base/text_encoding.h"
#include "ui/form1.h"
#include "ui/message_box.h"
#include "workbook/bill_recording.h"

namespace ui {

billbook::Recorder RecorderNow() {
  const QDateTime now = QDateTime::currentDateTime();
  billbook::Recorder recorder;
  recorder.time = {now.date().year(), now.date().month(),  now.date().day(),
                   now.time().hour(), now.time().minute(), now.time().second()};
  recorder.pc_name = QSysInfo::machineHostName().toStdString();
  // Windows names the signed-in user in USERNAME, the POSIX systems in USER; each system
  // lacks the other's, so asking for both needs no code per system.
  QString user = qEnvironmentVariable("USERNAME");
  if (user.isEmpty()) user = qEnvironmentVariable("USER");
  recorder.user = user.toStdString();
  return recorder;
}

BillRecordingStep::BillRecordingStep(Form1& form, const workbook::ExportSource& source,
                                     std::filesystem::path program_directory,
                                     workbook::TallyExport& export_step)
    : form_(form), source_(source), program_directory_(std::move(program_directory)) {
  export_step.SetAfterSave([this] { Record(); });
}

void BillRecordingStep::ReprintNext(std::string number, billbook::BillContent content) {
  reprint_ = Reprint{std::move(number), std::move(content)};
}

void BillRecordingStep::Record() {
  const std::filesystem::path book = workbook::BookPath(program_directory_);
  const billbook::Recorder recorder = RecorderNow();
  if (reprint_) {
    failure_ = workbook::RecordReprint(book, reprint_->number, reprint_->content, recorder);
  } else {
    workbook::CurrentBill& bill = form_.current_bill();
    failure_ = bill.Record(book, workbook::BillContentOf(source_), recorder);
    form_.ShowBillNumber(bill.number());
  }
  if (!failure_) backup_.Start(book, recorder.time);
}

void BillRecordingStep::TellOutcome() {
  if (!failure_) return;
  const std::string text = *std::exchange(failure_, std::nullopt);
  ShowMessage(&form_, QString::fromStdString(text));
}

}  // namespace ui
