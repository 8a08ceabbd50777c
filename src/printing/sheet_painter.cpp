#include "printing/sheet_painter.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPen>
#include <algorithm>

#include "printing/header_footer_painter.h"
#include "printing/print_fonts.h"
#include "xls/layout/narrow_number.h"
#include "xls/layout/text_overflow.h"

namespace printing {

namespace {

using xls::layout::Border;
using xls::layout::BorderStyle;
using xls::layout::CellRange;
using xls::layout::HorizontalAlignment;
using xls::layout::PrintCell;
using xls::layout::Rgb;
using xls::layout::TextPlacement;
using xls::layout::VerticalAlignment;

constexpr double kPointsPerInch = 72.0;
// Room between a cell's edge and its text, in points on the sheet, as spreadsheets leave it.
constexpr double kTextPadding = 2.0;
constexpr double kGridlineWidth = 0.25;
// How far, in ems, a face without bold is drawn again to make it bold.
constexpr double kSyntheticBoldShift = 0.04;

QColor ToColor(const Rgb& rgb) {
  return {rgb.red, rgb.green, rgb.blue};
}

QRectF Scaled(const QRectF& r, double k) {
  return {r.x() * k, r.y() * k, r.width() * k, r.height() * k};
}

// Pen width in points and dash pattern of each border style, as LibreOffice prints them:
// thin lines 0.72 pt, medium 1.68 pt, thick 2.4 pt; a hair line is a thinner solid line
// (Excel draws it dotted on screen only).
constexpr double kThinBorder = 0.72;
constexpr double kMediumBorder = 1.68;
constexpr double kThickBorder = 2.4;
constexpr double kHairBorder = 0.25;

QPen BorderPen(const Border& border, double k) {
  double width = kThinBorder;
  Qt::PenStyle style = Qt::SolidLine;
  switch (border.style) {
    case BorderStyle::kHair:
      width = kHairBorder;
      break;
    case BorderStyle::kThin:
      break;
    case BorderStyle::kDotted:
      style = Qt::DotLine;
      break;
    case BorderStyle::kDashed:
      style = Qt::DashLine;
      break;
    case BorderStyle::kDashDot:
      style = Qt::DashDotLine;
      break;
    case BorderStyle::kDashDotDot:
      style = Qt::DashDotDotLine;
      break;
    case BorderStyle::kMedium:
      width = kMediumBorder;
      break;
    case BorderStyle::kMediumDashed:
      width = kMediumBorder;
      style = Qt::DashLine;
      break;
    case BorderStyle::kMediumDashDot:
    case BorderStyle::kSlantedDashDot:
      width = kMediumBorder;
      style = Qt::DashDotLine;
      break;
    case BorderStyle::kMediumDashDotDot:
      width = kMediumBorder;
      style = Qt::DashDotDotLine;
      break;
    case BorderStyle::kThick:
      width = kThickBorder;
      break;
    case BorderStyle::kDouble:
      width = 0.5;
      break;
    case BorderStyle::kNone:
      break;
  }
  QPen pen(ToColor(border.colour), width * k, style, Qt::FlatCap);
  return pen;
}

void DrawBorderLine(QPainter& p, const Border& border, QPointF from, QPointF to, bool horizontal,
                    double k) {
  if (border.style == BorderStyle::kNone) return;
  p.setPen(BorderPen(border, k));
  if (border.style == BorderStyle::kDouble) {
    const double gap = 0.75 * k;
    const QPointF shift = horizontal ? QPointF(0, gap) : QPointF(gap, 0);
    p.drawLine(from - shift, to - shift);
    p.drawLine(from + shift, to + shift);
    return;
  }
  p.drawLine(from, to);
}

// Where a text is drawn inside its cell and how Qt aligns it there: inside the padding,
// moved in by the indent on the side it stands, and, unless it wraps, as wide as it needs
// to be on the side it runs to, so that only the clip ends it.
struct TextBox {
  QRectF rect;
  int flags = 0;
};

TextBox PlaceTextBox(const QRectF& cell_rect, const TextPlacement& placement,
                     VerticalAlignment vertical, double padding, double indent) {
  TextBox box{cell_rect.adjusted(padding, 0, -padding, 0)};
  QRectF& rect = box.rect;
  switch (placement.horizontal) {
    case HorizontalAlignment::kRight:
      box.flags |= Qt::AlignRight;
      rect.setRight(rect.right() - indent);
      break;
    case HorizontalAlignment::kCentre:
    case HorizontalAlignment::kCentreAcrossSelection:
    case HorizontalAlignment::kDistributed:
      box.flags |= Qt::AlignHCenter;
      break;
    default:
      box.flags |= Qt::AlignLeft;
      rect.setLeft(rect.left() + indent);
      break;
  }
  switch (vertical) {
    case VerticalAlignment::kTop:
      box.flags |= Qt::AlignTop;
      rect.setTop(rect.top() + padding / 2);
      break;
    case VerticalAlignment::kCentre:
    case VerticalAlignment::kDistributed:
    case VerticalAlignment::kJustify:
      box.flags |= Qt::AlignVCenter;
      break;
    case VerticalAlignment::kBottom:
      box.flags |= Qt::AlignBottom;
      rect.setBottom(rect.bottom() - padding / 2);
      break;
  }
  if (placement.wraps) {
    box.flags |= Qt::TextWordWrap;
  } else {
    const double spare = 10000;
    if (box.flags & Qt::AlignRight) {
      rect.setLeft(rect.left() - spare);
    } else if (box.flags & Qt::AlignHCenter) {
      rect.adjust(-spare, 0, spare, 0);
    } else {
      rect.setRight(rect.right() + spare);
    }
  }
  return box;
}

// Whether the face comes in a bold of its own. Where it does not, fontconfig reports the
// font bold all the same, and the glyphs it emboldens on screen reach a PDF unemboldened.
bool HasBoldFace(const QString& family) {
  const QStringList styles = QFontDatabase::styles(family);
  return std::any_of(styles.begin(), styles.end(), [&family](const QString& style) {
    return QFontDatabase::bold(family, style);
  });
}

// The number's text as it fits its cell of `room` points on paper in the painter's font, k
// device dots to the point.
QString NumberTextFitting(const QPainter& p, const PrintCell& cell, bool general, double room,
                          double k) {
  const QFontMetricsF metrics(p.font(), p.device());
  auto width_of = [&metrics, k](std::u16string_view text) {
    return metrics.horizontalAdvance(
               QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()))) /
           k;
  };
  xls::layout::NumberGlyphWidths glyphs;
  for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
    glyphs.widest_digit = std::max(glyphs.widest_digit, width_of(std::u16string(1, digit)));
  }
  glyphs.point = width_of(u".");
  glyphs.minus = width_of(u"-");
  glyphs.exponent = width_of(u"E");
  return QString::fromStdU16String(
      xls::layout::FitNumberText(cell.text, general, room, glyphs, width_of));
}

}  // namespace

SheetPainter::SheetPainter(const xls::layout::SheetLayout& layout, xls::layout::PagePlan plan,
                           double digit_width_points)
    : layout_(layout), plan_(std::move(plan)), digit_width_(digit_width_points) {}

SheetPainter::PageGrid SheetPainter::GridFor(std::size_t page) const {
  const xls::layout::PageSetup& setup = layout_.page;
  PageGrid grid;
  grid.slice = plan_.pages.at(page);
  const double s = plan_.scale;
  double width = 0;
  for (std::uint32_t c = grid.slice.first_column; c <= grid.slice.last_column; ++c) {
    width +=
        xls::layout::ColumnWidthPoints(layout_, static_cast<std::uint16_t>(c), digit_width_) * s;
  }
  double height = 0;
  for (std::uint32_t r = grid.slice.first_row; r <= grid.slice.last_row; ++r) {
    height += xls::layout::RowHeightPoints(layout_, static_cast<std::uint16_t>(r)) * s;
  }
  double left = setup.left_margin * kPointsPerInch;
  double top = setup.top_margin * kPointsPerInch;
  const double room_width =
      plan_.paper.width - (setup.left_margin + setup.right_margin) * kPointsPerInch;
  const double room_height =
      plan_.paper.height - (setup.top_margin + setup.bottom_margin) * kPointsPerInch;
  if (setup.centre_horizontally && width < room_width) left += (room_width - width) / 2;
  if (setup.centre_vertically && height < room_height) top += (room_height - height) / 2;

  grid.column_left.push_back(left);
  for (std::uint32_t c = grid.slice.first_column; c <= grid.slice.last_column; ++c) {
    left +=
        xls::layout::ColumnWidthPoints(layout_, static_cast<std::uint16_t>(c), digit_width_) * s;
    grid.column_left.push_back(left);
  }
  grid.row_top.push_back(top);
  for (std::uint32_t r = grid.slice.first_row; r <= grid.slice.last_row; ++r) {
    top += xls::layout::RowHeightPoints(layout_, static_cast<std::uint16_t>(r)) * s;
    grid.row_top.push_back(top);
  }
  return grid;
}

QRectF SheetPainter::CellRect(const PageGrid& grid, std::uint16_t first_row, std::uint16_t last_row,
                              std::uint16_t first_column, std::uint16_t last_column) const {
  const auto& slice = grid.slice;
  const std::size_t c0 = std::max(first_column, slice.first_column) - slice.first_column;
  const std::size_t c1 = std::min(last_column, slice.last_column) - slice.first_column + 1u;
  const std::size_t r0 = std::max(first_row, slice.first_row) - slice.first_row;
  const std::size_t r1 = std::min(last_row, slice.last_row) - slice.first_row + 1u;
  return QRectF(QPointF(grid.column_left[c0], grid.row_top[r0]),
                QPointF(grid.column_left[c1], grid.row_top[r1]));
}

const CellRange* SheetPainter::MergeAt(std::uint16_t row, std::uint16_t column) const {
  for (const CellRange& merge : layout_.merges) {
    if (merge.Contains(row, column)) return &merge;
  }
  return nullptr;
}

bool SheetPainter::HasText(std::uint16_t row, std::uint16_t column) const {
  const auto found = std::lower_bound(
      layout_.cells.begin(), layout_.cells.end(), std::make_pair(row, column),
      [](const PrintCell& cell, const std::pair<std::uint16_t, std::uint16_t>& key) {
        return std::make_pair(cell.row, cell.column) < key;
      });
  return found != layout_.cells.end() && found->row == row && found->column == column &&
         !found->text.empty();
}

void SheetPainter::PaintPage(QPainter& painter, std::size_t page, double dots_per_point,
                             int first_page_number) const {
  const PageGrid grid = GridFor(page);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  PaintFills(painter, grid, dots_per_point);
  if (layout_.page.print_gridlines) PaintGridlines(painter, grid, dots_per_point);
  PaintTexts(painter, grid, dots_per_point);
  PaintBorders(painter, grid, dots_per_point);
  const int first = layout_.page.first_page_number.value_or(first_page_number);
  PaintHeaderFooter(painter, layout_, plan_, first + static_cast<int>(page), dots_per_point);
  painter.restore();
}

void SheetPainter::PaintFills(QPainter& p, const PageGrid& grid, double k) const {
  const auto& slice = grid.slice;
  for (const PrintCell& cell : layout_.cells) {
    if (cell.row < slice.first_row || cell.row > slice.last_row ||
        cell.column < slice.first_column || cell.column > slice.last_column) {
      continue;
    }
    const auto& fill = layout_.styles[cell.style].fill;
    if (!fill) continue;
    const CellRange* merge = MergeAt(cell.row, cell.column);
    const QRectF rect = merge ? CellRect(grid, merge->first_row, merge->last_row,
                                         merge->first_column, merge->last_column)
                              : CellRect(grid, cell.row, cell.row, cell.column, cell.column);
    p.fillRect(Scaled(rect, k), ToColor(*fill));
  }
}

void SheetPainter::PaintGridlines(QPainter& p, const PageGrid& grid, double k) const {
  p.setPen(QPen(Qt::black, kGridlineWidth * k));
  const auto& slice = grid.slice;
  // Cell by cell, so that no line runs through a merged range.
  auto same_merge = [this](std::uint16_t r1, std::uint16_t c1, std::uint16_t r2, std::uint16_t c2) {
    const CellRange* merge = MergeAt(r1, c1);
    return merge != nullptr && merge->Contains(r2, c2);
  };
  const std::size_t rows = grid.row_top.size() - 1;
  const std::size_t columns = grid.column_left.size() - 1;
  for (std::size_t r = 0; r <= rows; ++r) {
    const auto row = static_cast<std::uint16_t>(slice.first_row + r);
    const double y = grid.row_top[r] * k;
    for (std::size_t c = 0; c < columns; ++c) {
      const auto column = static_cast<std::uint16_t>(slice.first_column + c);
      if (r > 0 && r < rows &&
          same_merge(static_cast<std::uint16_t>(row - 1), column, row, column)) {
        continue;
      }
      p.drawLine(QPointF(grid.column_left[c] * k, y), QPointF(grid.column_left[c + 1] * k, y));
    }
  }
  for (std::size_t c = 0; c <= columns; ++c) {
    const auto column = static_cast<std::uint16_t>(slice.first_column + c);
    const double x = grid.column_left[c] * k;
    for (std::size_t r = 0; r < rows; ++r) {
      const auto row = static_cast<std::uint16_t>(slice.first_row + r);
      if (c > 0 && c < columns &&
          same_merge(row, static_cast<std::uint16_t>(column - 1), row, column)) {
        continue;
      }
      p.drawLine(QPointF(x, grid.row_top[r] * k), QPointF(x, grid.row_top[r + 1] * k));
    }
  }
}

bool SheetPainter::DrawsTextOf(const PageGrid& grid, const PrintCell& cell,
                               const CellRange* merge) const {
  const auto& slice = grid.slice;
  if (cell.text.empty()) return false;
  if (cell.row < slice.first_row || cell.row > slice.last_row || cell.column < slice.first_column ||
      cell.column > slice.last_column) {
    return false;
  }
  // A merged range's text is its first cell's.
  if (merge) return merge->first_row == cell.row && merge->first_column == cell.column;
  // A hidden cell's text would otherwise run on over its empty neighbours.
  return !layout_.RowHidden(cell.row) && !layout_.ColumnHidden(cell.column);
}

QRectF SheetPainter::OverflowClip(const PageGrid& grid, const PrintCell& cell,
                                  const TextPlacement& placement) const {
  const auto column_is_free = [&](std::uint16_t column) {
    return !HasText(cell.row, column) && !MergeAt(cell.row, column);
  };
  const xls::layout::ColumnSpan span = xls::layout::OverflowColumns(
      cell.column, placement, cell.is_number, {grid.slice.first_column, grid.slice.last_column},
      column_is_free);
  return CellRect(grid, cell.row, cell.row, span.first, span.last);
}

void SheetPainter::PaintTexts(QPainter& p, const PageGrid& grid, double k) const {
  const double s = plan_.scale;
  for (const PrintCell& cell : layout_.cells) {
    const CellRange* merge = cell.text.empty() ? nullptr : MergeAt(cell.row, cell.column);
    if (!DrawsTextOf(grid, cell, merge)) continue;
    const xls::layout::CellStyle& style = layout_.styles[cell.style];
    const xls::layout::Font& font = layout_.fonts[style.font];
    const QRectF cell_rect = merge ? CellRect(grid, merge->first_row, merge->last_row,
                                              merge->first_column, merge->last_column)
                                   : CellRect(grid, cell.row, cell.row, cell.column, cell.column);
    const TextPlacement placement = xls::layout::PlaceText(style, cell.is_number);
    const TextBox box = PlaceTextBox(cell_rect, placement, style.vertical, kTextPadding * s,
                                     style.indent * 3 * digit_width_ * s);
    p.save();
    // A merged range's text keeps to its range; another may run on over empty neighbours.
    p.setClipRect(Scaled(merge ? cell_rect : OverflowClip(grid, cell, placement), k));
    p.setFont(CellFont(font, font.points * s));
    p.setPen(ToColor(cell.text_colour.value_or(font.colour)));
    QString text = QString::fromStdU16String(cell.text);
    if (cell.is_number && !placement.wraps) {
      // A number must fit inside the padding, as spreadsheet programs decide it.
      const double room =
          cell_rect.width() - 2 * kTextPadding * s - style.indent * 3 * digit_width_ * s;
      text = NumberTextFitting(p, cell, style.general_number, room, k);
    }
    p.drawText(Scaled(box.rect, k), box.flags, text);
    if (font.bold && !HasBoldFace(QFontInfo(p.font()).family())) {
      // The face has no bold of its own (AR PL UMing has none): drawn again a little to the
      // right, as programs embolden such faces, so that titles and totals stand out.
      const double shift = font.points * s * kSyntheticBoldShift * k;
      p.drawText(Scaled(box.rect, k).translated(shift, 0), box.flags, text);
    }
    p.restore();
  }
}

void SheetPainter::PaintBorders(QPainter& p, const PageGrid& grid, double k) const {
  const auto& slice = grid.slice;
  for (const PrintCell& cell : layout_.cells) {
    if (cell.row < slice.first_row || cell.row > slice.last_row ||
        cell.column < slice.first_column || cell.column > slice.last_column) {
      continue;
    }
    const xls::layout::CellStyle& style = layout_.styles[cell.style];
    const QRectF r = Scaled(CellRect(grid, cell.row, cell.row, cell.column, cell.column), k);
    DrawBorderLine(p, style.top, r.topLeft(), r.topRight(), true, k);
    DrawBorderLine(p, style.bottom, r.bottomLeft(), r.bottomRight(), true, k);
    DrawBorderLine(p, style.left, r.topLeft(), r.bottomLeft(), false, k);
    DrawBorderLine(p, style.right, r.topRight(), r.bottomRight(), false, k);
  }
}

}  // namespace printing
