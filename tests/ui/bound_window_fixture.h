#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "ui/workbook_binding.h"
#include "window_fixture.h"
#include "workbook/bill_recording.h"
#include "workbook/embedded_application.h"
#include "workbook/workbook_path.h"

namespace ui::testing {

// A shown Form1 bound to a copy of the sample workbook in a folder of its own, as the
// program starts: Command4 exports through the embedded engine, which counts the hand-offs.
class BoundWindowTest : public WindowTest {
 protected:
  void BeforeShow(Form1& window) override {
    ASSERT_TRUE(folder_.isValid());
    program_dir_ = std::filesystem::path(folder_.path().toStdU16String());
    std::filesystem::copy_file(VERDALON_TEMPLATE, workbook::WorkbookPath(program_dir_));
    binding_ = std::make_unique<WorkbookBinding>(window, engine_, program_dir_);
    binding_->LoadReferenceData();
  }

  void Export() {
    QTest::mouseClick(Control("Command4"), Qt::LeftButton);
    Settle();
  }
  std::filesystem::path Book() const { return workbook::BookPath(program_dir_); }

  QTemporaryDir folder_;
  std::filesystem::path program_dir_;
  int opened_ = 0;
  workbook::EmbeddedApplicationFactory engine_{[this](const xls::XlsDocument&) { ++opened_; }};
  std::unique_ptr<WorkbookBinding> binding_;
};

}  // namespace ui::testing
