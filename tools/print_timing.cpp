// Times Verdalon's own printing against LibreOffice in the same run:
//   print_timing [RUNS] [PREVIEW.png]
// - Ctrl+P to preview shown: the window's print command writes the tally into a copy of the
//   sample workbook, saves it, reads sheet 码单 back and shows the print preview, painted;
// - the PDF: sheet 码单 of the saved workbook read and written as a PDF file;
// - LibreOffice: soffice --headless --convert-to pdf of the same saved workbook.
// Medians over RUNS (default 10; LibreOffice 3 times). Needs a display or
// QT_QPA_PLATFORM=offscreen. With PREVIEW.png the preview is also saved as a picture.
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

#include "printing/sheet_printer.h"
#include "ui/form1.h"
#include "ui/print_command.h"
#include "workbook/sheet_print_source.h"

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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const QString picture = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

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

  std::vector<double> libreoffice;
  const std::string command = "cd '" + folder.path().toStdString() +
                              "' && soffice --headless -env:UserInstallation=file://" +
                              folder.path().toStdString() +
                              "/profile --convert-to pdf --outdir lo 锯材账单.xls >/dev/null 2>&1";
  for (int i = 0; i < 3; ++i) {
    const Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0) break;
    libreoffice.push_back(Milliseconds(Clock::now() - start));
  }

  std::printf("Ctrl+P to preview shown: %.1f ms (median of %d)\n", Median(preview), runs);
  std::printf("PDF of 码单 written:     %.1f ms (median of %d)\n", Median(pdf), runs);
  if (libreoffice.empty()) {
    std::printf("LibreOffice: not available\n");
  } else {
    const double lo = Median(libreoffice);
    std::printf("LibreOffice to PDF:      %.1f ms (median of %zu)\n", lo, libreoffice.size());
    std::printf("faster: preview %.0fx, PDF %.0fx\n", lo / Median(preview), lo / Median(pdf));
  }
  return 0;
}
