#include "printing/sheet_printer.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "printing/print_fonts.h"
#include "printing/sheet_painter.h"

namespace printing {

namespace {

// Fine enough that text lands within a hundredth of a millimetre of where it belongs.
constexpr int kPdfResolution = 1200;

QPageSize PageSizeFor(std::uint16_t code, const xls::layout::PaperSize& upright) {
  switch (code) {
    case 1:
      return QPageSize(QPageSize::Letter);
    case 5:
      return QPageSize(QPageSize::Legal);
    case 7:
      return QPageSize(QPageSize::Executive);
    case 8:
      return QPageSize(QPageSize::A3);
    case 9:
      return QPageSize(QPageSize::A4);
    case 11:
      return QPageSize(QPageSize::A5);
    case 12:
      return QPageSize(QPageSize::JisB4);
    case 13:
      return QPageSize(QPageSize::JisB5);
    case 70:
      return QPageSize(QPageSize::A6);
    default:
      return QPageSize(QSizeF(upright.width, upright.height), QPageSize::Point);
  }
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
  return QPageLayout(PageSizeFor(layout.page.paper_size, upright),
                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

int PrintSheet(const xls::layout::SheetLayout& layout, QPagedPaintDevice& device,
               int first_page_number) {
  // A layout without its default font and format has nothing to be drawn with.
  if (layout.fonts.empty() || layout.styles.empty()) return 0;
  const double digit_width = DigitWidthPoints(layout.fonts.front());
  const SheetPainter painter_plan(layout, xls::layout::PlanPages(layout, digit_width), digit_width);
  const xls::layout::PagePlan& plan = painter_plan.Plan();
  if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->setFullPage(true);
  device.setPageLayout(PaperLayout(layout, plan));

  QPainter painter;
  if (!painter.begin(&device)) return 0;
  const double dots_per_point = device.logicalDpiY() / 72.0;
  for (std::size_t page = 0; page < plan.pages.size(); ++page) {
    if (page > 0) device.newPage();
    painter_plan.PaintPage(painter, page, dots_per_point, first_page_number);
  }
  painter.end();
  return static_cast<int>(plan.pages.size());
}

bool WriteSheetPdf(const xls::layout::SheetLayout& layout, const QString& path,
                   int first_page_number) {
  // Opened for writing first: the PDF writer itself does not say when it cannot write, and
  // a file left from an earlier save must not be taken for this one.
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  }
  {
    QPdfWriter writer(path);
    writer.setResolution(kPdfResolution);
    writer.setCreator(QStringLiteral("Verdalon"));
    PrintSheet(layout, writer, first_page_number);
  }
  QFile written(path);
  return written.exists() && written.size() > 0;
}

}  // namespace printing
