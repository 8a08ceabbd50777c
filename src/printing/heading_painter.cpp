#include "printing/heading_painter.h"

#include <QPen>

#include "printing/print_fonts.h"

namespace printing {

namespace {

// Headings and their frame are drawn in the thinnest line a printer draws, as the grid is.
constexpr double kHeadingLineWidth = 0.25;

QRectF Box(double left, double top, double right, double bottom, double k) {
  return QRectF(QPointF(left * k, top * k), QPointF(right * k, bottom * k));
}

}  // namespace

QString ColumnLetters(std::uint16_t column) {
  QString letters;
  for (unsigned c = column + 1u; c > 0; c = (c - 1) / 26) {
    letters.prepend(QChar(static_cast<char16_t>(u'A' + (c - 1) % 26)));
  }
  return letters;
}

void PaintHeadings(QPainter& painter, const PageHeadings& headings, const xls::layout::Font& font,
                   double scale, double cells_right, double cells_bottom, double k) {
  painter.save();
  painter.setPen(QPen(Qt::black, kHeadingLineWidth * k));
  painter.setBrush(Qt::NoBrush);
  xls::layout::Font plain = font;
  plain.bold = plain.italic = plain.strikeout = false;
  plain.underline = xls::layout::Underline::kNone;
  painter.setFont(CellFont(plain, font.points * scale));

  const double letters_bottom = headings.top + headings.height;
  for (const HeadingRun& run : headings.columns) {
    for (std::size_t i = 0; i + 1 < run.edges.size(); ++i) {
      if (run.edges[i + 1] <= run.edges[i]) continue;  // hidden
      const QRectF box = Box(run.edges[i], headings.top, run.edges[i + 1], letters_bottom, k);
      painter.drawRect(box);
      painter.drawText(box, Qt::AlignCenter,
                       ColumnLetters(static_cast<std::uint16_t>(run.first + i)));
    }
  }
  const double numbers_right = headings.left + headings.width;
  for (const HeadingRun& run : headings.rows) {
    for (std::size_t i = 0; i + 1 < run.edges.size(); ++i) {
      if (run.edges[i + 1] <= run.edges[i]) continue;
      const QRectF box = Box(headings.left, run.edges[i], numbers_right, run.edges[i + 1], k);
      painter.drawRect(box);
      painter.drawText(box, Qt::AlignCenter, QString::number(run.first + i + 1));
    }
  }
  painter.drawRect(Box(headings.left, headings.top, cells_right, cells_bottom, k));
  painter.restore();
}

}  // namespace printing
