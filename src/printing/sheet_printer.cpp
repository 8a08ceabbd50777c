#include "printing/sheet_printer.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "printing/exact_pdf_paper.h"
#include "printing/print_fonts.h"
#include "printing/sheet_painter.h"

namespace printing {

namespace {

// Fine enough that text lands within a hundredth of a millimetre of where it belongs.
constexpr int kPdfResolution = 1200;

// The named paper where Qt knows one of the same size, so that a printer is asked for the
// paper by its name; otherwise a paper of the exact size.
QPageSize PageSizeFor(const xls::layout::PaperSize& upright) {
  return QPageSize(QSizeF(upright.width, upright.height), QPageSize::Point, QString(),
                   QPageSize::ExactMatch);
}

}  // namespace

xls::layout::PagePlan PlanFor(const xls::layout::SheetLayout& layout) {
  if (layout.fonts.empty()) return xls::layout::PagePlan{};
  return xls::layout::PlanPages(layout, DigitWidthPoints(layout.fonts.front()));
}

QPageLayout PaperLayout(const xls::layout::SheetLayout& layout, const xls::layout::PagePlan& plan) {
  const bool landscape = layout.page.orientation == xls::layout::Orientation::kLandscape;
  const xls::layout::PaperSize upright =
      landscape ? xls::layout::PaperSize{plan.paper.height, plan.paper.width} : plan.paper;
  return QPageLayout(PageSizeFor(upright),
                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

namespace {

// PrintSheet, also telling the exact paper it printed on (turned for landscape): Qt keeps
// only whole points of it.
int PrintOnto(const xls::layout::SheetLayout& layout, QPagedPaintDevice& device,
              int first_page_number, xls::layout::PaperSize& paper) {
  // A layout without its default font and format has nothing to be drawn with.
  if (layout.fonts.empty() || layout.styles.empty()) return 0;
  const double digit_width = DigitWidthPoints(layout.fonts.front());
  const SheetPainter painter_plan(layout, xls::layout::PlanPages(layout, digit_width), digit_width);
  const xls::layout::PagePlan& plan = painter_plan.Plan();
  paper = plan.paper;
  if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->setFullPage(true);
  device.setPageLayout(PaperLayout(layout, plan));

  QPainter painter;
  if (!painter.begin(&device)) return 0;
  const double dots_per_point = device.logicalDpiY() / xls::layout::kPointsPerInch;
  for (std::size_t page = 0; page < plan.pages.size(); ++page) {
    if (page > 0) device.newPage();
    painter_plan.PaintPage(painter, page, dots_per_point, first_page_number);
  }
  painter.end();
  return static_cast<int>(plan.pages.size());
}

}  // namespace

int PrintSheet(const xls::layout::SheetLayout& layout, QPagedPaintDevice& device,
               int first_page_number) {
  xls::layout::PaperSize paper;
  return PrintOnto(layout, device, first_page_number, paper);
}

bool WriteSheetPdf(const xls::layout::SheetLayout& layout, const QString& path,
                   int first_page_number) {
  // Opened for writing first, so that a file that cannot be written is told before any page
  // is drawn, and a file left from an earlier save is never taken for this one.
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  }
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  xls::layout::PaperSize paper;
  {
    QPdfWriter writer(&pdf);
    writer.setResolution(kPdfResolution);
    writer.setCreator(QStringLiteral("Verdalon"));
    PrintOnto(layout, writer, first_page_number, paper);
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QByteArray exact = WithExactPaper(pdf.data(), QSizeF(paper.width, paper.height));
  // Nothing written (a layout with nothing to draw it with) is no PDF either.
  return !exact.isEmpty() && file.write(exact) == exact.size() && file.flush();
}

}  // namespace printing
