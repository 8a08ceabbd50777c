// Times Verdalon's own printing against LibreOffice in the same run:
//   print_timing [RUNS] [PREVIEW.png] [WORKBOOK.xls]...
// - Ctrl+P to preview shown: the window's print command writes the tally into a copy of the
//   sample workbook, saves it, reads sheet 码单 back and shows the print preview, painted;
// - the PDF: sheet 码单 of the saved workbook read and written as a PDF file;
// - LibreOffice: soffice --headless --convert-to pdf of the same saved workbook.
// Medians over RUNS (default 10; LibreOffice 3 times). Needs a display or
// QT_QPA_PLATFORM=offscreen. With PREVIEW.png the preview is also saved as a picture.
// Each further WORKBOOK is timed the same way on its first sheet: read and previewed, read
// and written as a PDF, against LibreOffice converting the whole workbook.
#include <QApplication>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "printing/print_preview.h"
#include "printing/sheet_printer.h"
#include "ui/form1.h"
#include "ui/print_command.h"
#include "workbook/sheet_print_source.h"
#include "xls/xls_document.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void TypeSample(ui::Form1& form) {
  const char16_t* lines[][6] = {{u"4", u"200", u"50", u"1", u"10", u"1850"},
                                {u"4", u"117.25", u"50", u"3", u"12", u"1850"},
                                {u"6", u"150", u"30", u"2", u"20", u"2100"}};
  for (int row = 0; row < 3; ++row) {
    for (int k = 0; k < 6; ++k) form.sheet().SetText(tally::kTypedColumns[k], row, lines[row][k]);
  }
  form.sheet().SetText(tally::SingleField::Text9, u"王师傅");
  form.Combo1()->setEditText(QStringLiteral("东风木业有限公司"));
  form.SetSellerCaption(u"绿源木材加工厂");
  form.OnTimer1Tick();
  form.OnTimer1Tick();
}

// Closes every print preview as soon as it has been shown and painted, noting when.
class PreviewCloser : public QObject {
 public:
  explicit PreviewCloser(QString picture) : picture_(std::move(picture)) {}
  Clock::time_point shown;
  void StopSaving() { picture_.clear(); }

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* dialog = qobject_cast<QPrintPreviewDialog*>(object);
    if (dialog != nullptr && event->type() == QEvent::Show) {
      QTimer::singleShot(0, dialog, [this, dialog] {
        shown = Clock::now();
        if (!picture_.isEmpty()) dialog->grab().save(picture_);
        dialog->reject();
      });
    }
    return false;
  }

 private:
  QString picture_;
};

// Medians of LibreOffice converting `file` (a name in `folder`) to PDF, 3 times; empty when
// LibreOffice is not there.
std::vector<double> LibreOfficeTimes(const QString& folder, const std::string& file) {
  std::vector<double> times;
  const std::string command =
      "cd '" + folder.toStdString() + "' && soffice --headless -env:UserInstallation=file://" +
      folder.toStdString() + "/profile --convert-to pdf --outdir lo '" + file + "' >/dev/null 2>&1";
  for (int i = 0; i < 3; ++i) {
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) break;
    times.push_back(Milliseconds(Clock::now() - start));
  }
  return times;
}

void Report(const char* what, double preview, double pdf, const std::vector<double>& libreoffice,
            int runs) {
  std::printf("%s\n  preview shown: %.1f ms, PDF written: %.1f ms (medians of %d)\n", what, preview,
              pdf, runs);
  if (libreoffice.empty()) {
    std::printf("  LibreOffice: not available\n");
    return;
  }
  const double lo = Median(libreoffice);
  std::printf("  LibreOffice to PDF: %.1f ms (median of %zu); faster: preview %.0fx, PDF %.0fx\n",
              lo, libreoffice.size(), lo / preview, lo / pdf);
}

// A further workbook: its first sheet read and previewed, and read and written as a PDF.
void TimeWorkbook(const std::filesystem::path& source, const QTemporaryDir& folder,
                  const PreviewCloser& closer, int runs) {
  const std::filesystem::path workbook =
      std::filesystem::path(folder.path().toStdU16String()) / source.filename();
  std::filesystem::copy_file(source, workbook, std::filesystem::copy_options::overwrite_existing);
  const std::u16string sheet = xls::XlsDocument::Open(workbook)->SheetName(0);
  std::vector<double> preview;
  std::vector<double> pdf;
  const QString pdf_path = folder.filePath(QStringLiteral("sample.pdf"));
  for (int i = 0; i < runs; ++i) {
    Clock::time_point start = Clock::now();
    printing::ShowPrintPreview(nullptr, workbook::LoadSheetLayout(workbook, sheet));
    preview.push_back(Milliseconds(closer.shown - start));
    start = Clock::now();
    printing::WriteSheetPdf(workbook::LoadSheetLayout(workbook, sheet), pdf_path);
    pdf.push_back(Milliseconds(Clock::now() - start));
  }
  Report(source.filename().string().c_str(), Median(preview), Median(pdf),
         LibreOfficeTimes(folder.path(), workbook.filename().string()), runs);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  QString picture;
  std::vector<std::filesystem::path> workbooks;
  for (int i = 2; i < argc; ++i) {
    const QString argument = QString::fromLocal8Bit(argv[i]);
    if (argument.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
      picture = argument;
    } else {
      workbooks.emplace_back(argument.toStdU16String());
    }
  }

  QTemporaryDir folder;
  const std::filesystem::path directory = folder.path().toStdU16String();
  const std::filesystem::path workbook = directory / u"锯材账单.xls";
  std::filesystem::copy_file(
      std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String()) /
          u"锯材账单.xls",
      workbook);

  ui::Form1 form;
  TypeSample(form);
  form.ShowCentred();
  ui::PrintCommand print(form, directory);
  PreviewCloser closer(picture);
  app.installEventFilter(&closer);

  std::vector<double> preview;
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    print.Run();
    preview.push_back(Milliseconds(closer.shown - start));
  }

  std::vector<double> pdf;
  const QString pdf_path = folder.filePath(QStringLiteral("码单.pdf"));
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    printing::WriteSheetPdf(workbook::LoadSheetLayout(workbook, u"码单"), pdf_path);
    pdf.push_back(Milliseconds(Clock::now() - start));
  }

  Report("Ctrl+P on the sample template (sheet 码单)", Median(preview), Median(pdf),
         LibreOfficeTimes(folder.path(), "锯材账单.xls"), runs);
  closer.StopSaving();  // the picture is the tally's preview
  for (const std::filesystem::path& source : workbooks) TimeWorkbook(source, folder, closer, runs);
  return 0;
}
