#include "printing/wrapped_text.h"

#include <QByteArray>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace printing {

namespace {

struct LineExtent {
  double ascent = 0;
  double descent = 0;
};

int TableU16(const QByteArray& table, int at) {
  return (static_cast<std::uint8_t>(table[at]) << 8) | static_cast<std::uint8_t>(table[at + 1]);
}

// The face's ascender and descender from its hhea table, scaled to its size. A face without
// the table (Type 1, as Nimbus Sans for Arial often is) stands one em tall, four fifths of it
// above the baseline, as LibreOffice sets it; Qt takes its bounding box.
LineExtent FaceExtent(const QRawFont& font) {
  constexpr int kHeadUnitsPerEm = 18;
  constexpr int kHheaAscender = 4;
  constexpr int kHheaDescender = 6;
  const QByteArray head = font.fontTable("head");
  const QByteArray hhea = font.fontTable("hhea");
  constexpr double kAscentWithoutTables = 0.8;
  if (head.size() < kHeadUnitsPerEm + 2 || hhea.size() < kHheaDescender + 2) {
    return {font.pixelSize() * kAscentWithoutTables, font.pixelSize() * (1 - kAscentWithoutTables)};
  }
  const int units = TableU16(head, kHeadUnitsPerEm);
  const auto ascender = static_cast<std::int16_t>(TableU16(hhea, kHheaAscender));
  const auto descender = static_cast<std::int16_t>(TableU16(hhea, kHheaDescender));
  if (units == 0 || ascender - descender <= 0) return {font.ascent(), font.descent()};
  const double k = font.pixelSize() / units;
  return {ascender * k, -descender * k};
}

}  // namespace

void DrawWrappedText(QPainter& p, const QRectF& box, int flags, const QString& text,
                     double bold_shift) {
  // A line break typed into the cell (Alt+Enter) ends its line; QTextLayout would take a
  // bare \n for a space.
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QChar(QChar::LineSeparator));
  lines.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
  lines.replace(QLatin1Char('\r'), QChar(QChar::LineSeparator));
  QTextLayout layout(lines, p.font(), p.device());
  QTextOption option(Qt::Alignment(flags & Qt::AlignHorizontal_Mask));
  // A word longer than the cell is broken inside, as spreadsheet programs break it.
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(box.width());
  }
  layout.endLayout();

  std::vector<LineExtent> extents;
  double height = 0;
  for (int i = 0; i < layout.lineCount(); ++i) {
    const QTextLine line = layout.lineAt(i);
    LineExtent extent;
    for (const QGlyphRun& run : line.glyphRuns()) {
      const LineExtent face = FaceExtent(run.rawFont());
      extent.ascent = std::max(extent.ascent, face.ascent);
      extent.descent = std::max(extent.descent, face.descent);
    }
    if (extent.ascent + extent.descent <= 0) extent = {line.ascent(), line.descent()};
    extents.push_back(extent);
    height += extent.ascent + extent.descent;
  }
  double top = 0;
  if (flags & Qt::AlignBottom) {
    top = box.height() - height;
  } else if (flags & Qt::AlignVCenter) {
    top = (box.height() - height) / 2;
  }
  for (int i = 0; i < layout.lineCount(); ++i) {
    QTextLine line = layout.lineAt(i);
    const LineExtent& extent = extents[static_cast<std::size_t>(i)];
    // The baseline stands the face's ascent below the line's top.
    line.setPosition(QPointF(0, top + extent.ascent - line.ascent()));
    top += extent.ascent + extent.descent;
  }
  layout.draw(&p, box.topLeft());
  if (bold_shift > 0) layout.draw(&p, box.topLeft() + QPointF(bold_shift, 0));
}

}  // namespace printing
