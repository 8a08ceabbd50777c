#include "printing/sheet_painter.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPen>
#include <algorithm>
#include <optional>

#include "printing/header_footer_painter.h"
#include "printing/print_fonts.h"
#include "printing/wrapped_text.h"
#include "xls/layout/merged_outline.h"
#include "xls/layout/narrow_number.h"
#include "xls/layout/text_overflow.h"

namespace printing {

namespace {

using xls::layout::Border;
using xls::layout::BorderStyle;
using xls::layout::CellRange;
using xls::layout::HorizontalAlignment;
using xls::layout::kPointsPerInch;
using xls::layout::PrintCell;
using xls::layout::Rgb;
using xls::layout::TextPlacement;
using xls::layout::VerticalAlignment;

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

// The border lines of a page, gathered by pen and drawn in one call per pen: a PDF then holds
// one path per pen rather than a pen change and a path for every side of every cell.
class BorderLines {
 public:
  void Add(const Border& border, QPointF from, QPointF to, bool horizontal, double k) {
    if (border.style == BorderStyle::kNone) return;
    std::vector<QLineF>& lines = LinesFor(BorderPen(border, k));
    if (border.style == BorderStyle::kDouble) {
      const double gap = 0.75 * k;
      const QPointF shift = horizontal ? QPointF(0, gap) : QPointF(gap, 0);
      lines.emplace_back(from - shift, to - shift);
      lines.emplace_back(from + shift, to + shift);
      return;
    }
    lines.emplace_back(from, to);
  }
  void Draw(QPainter& p) const {
    for (const auto& [pen, lines] : by_pen_) {
      p.setPen(pen);
      p.drawLines(lines.data(), static_cast<int>(lines.size()));
    }
  }

 private:
  std::vector<QLineF>& LinesFor(const QPen& pen) {
    for (auto& [known, lines] : by_pen_) {
      if (known == pen) return lines;
    }
    return by_pen_.emplace_back(pen, std::vector<QLineF>{}).second;
  }
  std::vector<std::pair<QPen, std::vector<QLineF>>> by_pen_;
};

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
                          const xls::layout::NumberGlyphWidths& glyphs, double k) {
  const QFontMetricsF metrics(p.font(), p.device());
  auto width_of = [&metrics, k](std::u16string_view text) {
    return metrics.horizontalAdvance(
               QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()))) /
           k;
  };
  return QString::fromStdU16String(
      xls::layout::FitNumberText(cell.text, general, room, glyphs, width_of));
}

// How much smaller than `face` a shrink-to-fit text is drawn (1 where it fits already: it is
// never enlarged) so that it fits `room` points on paper, k device dots to the point. Glyph
// widths do not fall exactly with the size, so the size is measured again until it fits.
double ShrinkFactor(const QFont& face, const QString& text, double room, QPaintDevice* device,
                    double k) {
  constexpr double kSmallest = 0.05;  // a cell narrower than its padding still shows a speck
  constexpr int kTries = 4;
  double factor = 1;
  QFont shrunk = face;
  for (int tries = 0; tries < kTries; ++tries) {
    const double width = QFontMetricsF(shrunk, device).horizontalAdvance(text) / k;
    if (width <= room || factor <= kSmallest) break;
    factor = std::max(kSmallest, factor * std::max(room, 0.0) / width * (tries == 0 ? 1 : 0.98));
    shrunk.setPointSizeF(face.pointSizeF() * factor);
  }
  return factor;
}

// Edge `index` along one axis of a page whose grid runs from `first` to `last`: the grid's
// own where the page has it, measured on from the page's first or last edge beyond it.
template <typename SizeOf>
double EdgeAt(const std::vector<double>& edges, std::uint32_t first, std::uint32_t last,
              std::uint32_t index, const SizeOf& size_of) {
  if (index < first) {
    double at = edges.front();
    for (std::uint32_t i = index; i < first; ++i) at -= size_of(i);
    return at;
  }
  if (index <= last + 1u) return edges[index - first];
  double at = edges.back();
  for (std::uint32_t i = last + 1u; i < index; ++i) at += size_of(i);
  return at;
}

// The cell at row and column among cells sorted by row, then column; null where none is.
const PrintCell* FindCell(const std::vector<PrintCell>& cells, std::uint16_t row,
                          std::uint16_t column) {
  const auto found = std::lower_bound(
      cells.begin(), cells.end(), std::make_pair(row, column),
      [](const PrintCell& cell, const std::pair<std::uint16_t, std::uint16_t>& key) {
        return std::make_pair(cell.row, cell.column) < key;
      });
  return found != cells.end() && found->row == row && found->column == column ? &*found : nullptr;
}

// How far runs of rows or columns laid one after the other reach from start.
template <typename SizeOf>
double LengthOfRuns(double start, const std::vector<xls::layout::LineSpan>& runs, SizeOf size_of) {
  for (const auto& run : runs) {
    for (std::uint32_t i = run.first; i <= run.last; ++i) start += size_of(i);
  }
  return start;
}

// The edges of the lines of runs laid one after the other from start, each run's from its
// first line's leading edge to its last line's trailing one.
template <typename SizeOf>
std::vector<HeadingRun> EdgesOfRuns(double start, const std::vector<xls::layout::LineSpan>& runs,
                                    SizeOf size_of) {
  std::vector<HeadingRun> edges;
  for (const auto& run : runs) {
    HeadingRun& of_run = edges.emplace_back(HeadingRun{run.first, {start}});
    for (std::uint32_t i = run.first; i <= run.last; ++i)
      of_run.edges.push_back(start += size_of(i));
  }
  return edges;
}

}  // namespace

const SheetPainter::FontFacts& SheetPainter::FactsOf(std::size_t font, const QPaintDevice* device,
                                                     double k) const {
  const auto key = std::make_tuple(font, device, k);
  if (const auto found = font_facts_.find(key); found != font_facts_.end()) return found->second;
  const xls::layout::Font& cell_font = layout_.fonts[font];
  FontFacts facts;
  facts.face = CellFont(cell_font, cell_font.points * plan_.scale);
  const QFontMetricsF metrics(facts.face, const_cast<QPaintDevice*>(device));
  auto width_of = [&metrics, k](const QString& text) {
    return metrics.horizontalAdvance(text) / k;
  };
  for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
    facts.glyphs.widest_digit = std::max(facts.glyphs.widest_digit, width_of(QChar(digit)));
  }
  facts.glyphs.point = width_of(QStringLiteral("."));
  facts.glyphs.minus = width_of(QStringLiteral("-"));
  facts.glyphs.exponent = width_of(QStringLiteral("E"));
  facts.line_height = metrics.height() / k;
  // The face has no bold of its own (AR PL UMing has none): drawn again a little to the
  // right, as programs embolden such faces, so that titles and totals stand out.
  facts.synthetic_bold = cell_font.bold && !HasBoldFace(QFontInfo(facts.face).family());
  return font_facts_.emplace(key, std::move(facts)).first->second;
}

SheetPainter::SheetPainter(const xls::layout::SheetLayout& layout, xls::layout::PagePlan plan,
                           double digit_width_points)
    : layout_(layout), plan_(std::move(plan)), digit_width_(digit_width_points) {}

SheetPainter::PageFrame SheetPainter::FrameFor(std::size_t page) const {
  const xls::layout::PageSetup& setup = layout_.page;
  const xls::layout::PageSlice& slice = plan_.pages.at(page);
  const double s = plan_.scale;
  auto column_width = [&](std::uint32_t c) {
    return xls::layout::ColumnWidthPoints(layout_, static_cast<std::uint16_t>(c), digit_width_) * s;
  };
  auto row_height = [&](std::uint32_t r) {
    return xls::layout::RowHeightPoints(layout_, static_cast<std::uint16_t>(r)) * s;
  };
  // Title columns stand left of the page's own, title rows above; headings outside both.
  std::vector<xls::layout::LineSpan> column_runs;
  std::vector<xls::layout::LineSpan> row_runs;
  if (slice.title_columns) column_runs.push_back(*plan_.title_columns);
  column_runs.push_back({slice.first_column, slice.last_column});
  if (slice.title_rows) row_runs.push_back(*plan_.title_rows);
  row_runs.push_back({slice.first_row, slice.last_row});

  PageFrame frame;
  PageHeadings& headings = frame.headings;
  headings.width = plan_.headings ? xls::layout::kRowHeadingWidth * s : 0;
  headings.height = plan_.headings ? xls::layout::kColumnHeadingHeight * s : 0;
  const double width = LengthOfRuns(headings.width, column_runs, column_width);
  const double height = LengthOfRuns(headings.height, row_runs, row_height);
  double left = setup.left_margin * kPointsPerInch;
  double top = setup.top_margin * kPointsPerInch;
  const double room_width =
      plan_.paper.width - (setup.left_margin + setup.right_margin) * kPointsPerInch;
  const double room_height =
      plan_.paper.height - (setup.top_margin + setup.bottom_margin) * kPointsPerInch;
  if (setup.centre_horizontally && width < room_width) left += (room_width - width) / 2;
  if (setup.centre_vertically && height < room_height) top += (room_height - height) / 2;
  headings.left = left;
  headings.top = top;
  headings.columns = EdgesOfRuns(left + headings.width, column_runs, column_width);
  headings.rows = EdgesOfRuns(top + headings.height, row_runs, row_height);
  for (std::size_t r = 0; r < row_runs.size(); ++r) {
    for (std::size_t c = 0; c < column_runs.size(); ++c) {
      PageGrid& grid = frame.blocks.emplace_back();
      grid.column_left = headings.columns[c].edges;
      grid.row_top = headings.rows[r].edges;
      grid.slice = {row_runs[r].first, row_runs[r].last, column_runs[c].first, column_runs[c].last};
    }
  }
  return frame;
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

QRectF SheetPainter::RangeRect(const PageGrid& grid, const CellRange& range) const {
  const auto& slice = grid.slice;
  const double s = plan_.scale;
  auto column_width = [&](std::uint32_t c) {
    return xls::layout::ColumnWidthPoints(layout_, static_cast<std::uint16_t>(c), digit_width_) * s;
  };
  auto row_height = [&](std::uint32_t r) {
    return xls::layout::RowHeightPoints(layout_, static_cast<std::uint16_t>(r)) * s;
  };
  const auto x_of = [&](std::uint32_t c) {  // left edge of column c
    return EdgeAt(grid.column_left, slice.first_column, slice.last_column, c, column_width);
  };
  const auto y_of = [&](std::uint32_t r) {  // top edge of row r
    return EdgeAt(grid.row_top, slice.first_row, slice.last_row, r, row_height);
  };
  return QRectF(QPointF(x_of(range.first_column), y_of(range.first_row)),
                QPointF(x_of(range.last_column + 1u), y_of(range.last_row + 1u)));
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
  const PageFrame frame = FrameFor(page);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  for (const PageGrid& grid : frame.blocks) {
    PaintFills(painter, grid, dots_per_point);
    if (layout_.page.print_gridlines) PaintGridlines(painter, grid, dots_per_point);
    PaintTexts(painter, grid, dots_per_point);
    PaintBorders(painter, grid, dots_per_point);
  }
  if (plan_.headings) {
    const PageGrid& cells = frame.blocks.back();
    PaintHeadings(painter, frame.headings, layout_.fonts.front(), plan_.scale,
                  cells.column_left.back(), cells.row_top.back(), dots_per_point);
  }
  const int first = layout_.page.first_page_number.value_or(first_page_number);
  PaintHeaderFooter(painter, layout_, plan_, first + static_cast<int>(page), dots_per_point);
  painter.restore();
}

void SheetPainter::PaintFills(QPainter& p, const PageGrid& grid, double k) const {
  const auto& slice = grid.slice;
  // A merged range is filled as its first cell is, on the part of it the page shows.
  auto fill_range = [&](const CellRange& range, const xls::layout::CellStyle& style) {
    if (!style.fill) return;
    const QRectF rect =
        CellRect(grid, range.first_row, range.last_row, range.first_column, range.last_column);
    p.fillRect(Scaled(rect, k), ToColor(*style.fill));
  };
  for (const PrintCell& cell : layout_.cells) {
    if (cell.row < slice.first_row || cell.row > slice.last_row ||
        cell.column < slice.first_column || cell.column > slice.last_column ||
        !layout_.styles[cell.style].fill) {
      continue;
    }
    const CellRange* merge = MergeAt(cell.row, cell.column);
    if (merge && (merge->first_row != cell.row || merge->first_column != cell.column)) continue;
    fill_range(merge ? *merge : CellRange{cell.row, cell.row, cell.column, cell.column},
               layout_.styles[cell.style]);
  }
  // Ranges reaching onto the page from a first cell on another.
  for (const CellRange& merge : layout_.merges) {
    const bool first_on_page =
        merge.first_row >= slice.first_row && merge.first_row <= slice.last_row &&
        merge.first_column >= slice.first_column && merge.first_column <= slice.last_column;
    if (first_on_page || !xls::layout::Overlaps(merge, slice.first_row, slice.last_row,
                                                slice.first_column, slice.last_column)) {
      continue;
    }
    if (const PrintCell* first = FindCell(layout_.cells, merge.first_row, merge.first_column)) {
      fill_range(merge, layout_.styles[first->style]);
    }
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
  // Gathered into one path, a line that no merged range breaks as one segment.
  std::vector<QLineF> lines;
  auto add = [&lines](QPointF from, QPointF to) {
    if (!lines.empty() && lines.back().p2() == from) {
      lines.back().setP2(to);
    } else {
      lines.emplace_back(from, to);
    }
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
      add(QPointF(grid.column_left[c] * k, y), QPointF(grid.column_left[c + 1] * k, y));
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
      add(QPointF(x, grid.row_top[r] * k), QPointF(x, grid.row_top[r + 1] * k));
    }
  }
  p.drawLines(lines.data(), static_cast<int>(lines.size()));
}

bool SheetPainter::DrawsTextOf(const PageGrid& grid, const PrintCell& cell,
                               const CellRange* merge) const {
  const auto& slice = grid.slice;
  if (cell.text.empty()) return false;
  // A merged range's text is its first cell's (a range centred across starts with its text),
  // and shows on every page the range reaches, even where its first cell stands on another.
  if (merge) {
    return merge->first_row == cell.row && merge->first_column == cell.column &&
           xls::layout::Overlaps(*merge, slice.first_row, slice.last_row, slice.first_column,
                                 slice.last_column);
  }
  if (cell.row < slice.first_row || cell.row > slice.last_row || cell.column < slice.first_column ||
      cell.column > slice.last_column) {
    return false;
  }
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
  QRectF clip = CellRect(grid, cell.row, cell.row, span.first, span.last);
  // Text that runs off the page's columns goes on to the edge of the printable area.
  const xls::layout::PageEdges off =
      xls::layout::RunsOffPage(span, placement, cell.is_number,
                               {grid.slice.first_column, grid.slice.last_column}, column_is_free);
  const xls::layout::PageSetup& setup = layout_.page;
  if (off.right) {
    clip.setRight(std::max(clip.right(), plan_.paper.width - setup.right_margin * kPointsPerInch));
  }
  if (off.left) clip.setLeft(std::min(clip.left(), setup.left_margin * kPointsPerInch));
  return clip;
}

std::optional<CellRange> SheetPainter::TextRangeOf(const PrintCell& cell) const {
  if (const CellRange* merge = MergeAt(cell.row, cell.column)) return *merge;
  if (layout_.styles[cell.style].horizontal != HorizontalAlignment::kCentreAcrossSelection) {
    return std::nullopt;
  }
  const xls::layout::ColumnSpan across =
      xls::layout::CentreAcrossColumns(cell.column, [&](std::uint16_t column) {
        const PrintCell* next = FindCell(layout_.cells, cell.row, column);
        return next != nullptr && next->text.empty() &&
               layout_.styles[next->style].horizontal ==
                   HorizontalAlignment::kCentreAcrossSelection &&
               MergeAt(cell.row, column) == nullptr;
      });
  if (across.last > across.first) return CellRange{cell.row, cell.row, across.first, across.last};
  return std::nullopt;
}

void SheetPainter::PaintTexts(QPainter& p, const PageGrid& grid, double k) const {
  p.save();
  for (const PrintCell& cell : layout_.cells) {
    if (cell.text.empty()) continue;
    const std::optional<CellRange> range = TextRangeOf(cell);
    const CellRange* merge = range ? &*range : nullptr;
    if (DrawsTextOf(grid, cell, merge)) PaintText(p, grid, cell, merge, k);
  }
  p.restore();
}

void SheetPainter::PaintText(QPainter& p, const PageGrid& grid, const PrintCell& cell,
                             const CellRange* merge, double k) const {
  const double s = plan_.scale;
  const xls::layout::CellStyle& style = layout_.styles[cell.style];
  const xls::layout::Font& font = layout_.fonts[style.font];
  // Such a range's text is placed on the whole range, also where a page break cuts it.
  const QRectF cell_rect = merge ? RangeRect(grid, *merge)
                                 : CellRect(grid, cell.row, cell.row, cell.column, cell.column);
  const TextPlacement placement =
      xls::layout::PlaceText(style, cell.is_number, cell.is_logical_or_error);
  const TextBox box = PlaceTextBox(cell_rect, placement, style.vertical, kTextPadding * s,
                                   style.indent * 3 * digit_width_ * s);
  const FontFacts& facts = FactsOf(style.font, p.device(), k);
  // A number never runs over its neighbours: fitted to its cell below, it needs no clip
  // unless the row is lower than its font. Clips are most of what a PDF page holds.
  const bool clipped =
      merge || !cell.is_number || placement.wraps || facts.line_height > cell_rect.height();
  if (clipped) {
    p.save();
    // A merged range's text keeps to its range; another may run on over empty neighbours.
    p.setClipRect(Scaled(merge ? CellRect(grid, merge->first_row, merge->last_row,
                                          merge->first_column, merge->last_column)
                               : OverflowClip(grid, cell, placement),
                         k));
  }
  p.setFont(facts.face);
  p.setPen(ToColor(cell.text_colour.value_or(font.colour)));
  QString text = QString::fromStdU16String(cell.text);
  // The room inside the padding and the indent.
  const double room =
      cell_rect.width() - 2 * kTextPadding * s - style.indent * 3 * digit_width_ * s;
  double shrink = 1;
  if (placement.shrinks) {
    // Shrunk whole, a number needs no shortening to fit.
    shrink = ShrinkFactor(facts.face, text, room, p.device(), k);
    if (shrink < 1) {
      QFont shrunk = facts.face;
      shrunk.setPointSizeF(facts.face.pointSizeF() * shrink);
      p.setFont(shrunk);
    }
  } else if (cell.is_number && !placement.wraps) {
    // A number must fit inside the padding, as spreadsheet programs decide it.
    text = NumberTextFitting(p, cell, style.general_number, room, facts.glyphs, k);
  }
  const double bold_shift =
      facts.synthetic_bold ? font.points * s * shrink * kSyntheticBoldShift * k : 0;
  if (placement.wraps) {
    DrawWrappedText(p, Scaled(box.rect, k), box.flags, text, bold_shift);
  } else {
    p.drawText(Scaled(box.rect, k), box.flags, text);
    if (bold_shift > 0) {
      p.drawText(Scaled(box.rect, k).translated(bold_shift, 0), box.flags, text);
    }
  }
  if (clipped) p.restore();
}

void SheetPainter::PaintBorders(QPainter& p, const PageGrid& grid, double k) const {
  const auto& slice = grid.slice;
  BorderLines lines;
  for (const PrintCell& cell : layout_.cells) {
    if (cell.row < slice.first_row || cell.row > slice.last_row ||
        cell.column < slice.first_column || cell.column > slice.last_column) {
      continue;
    }
    const xls::layout::CellStyle& style = layout_.styles[cell.style];
    const QRectF r = Scaled(CellRect(grid, cell.row, cell.row, cell.column, cell.column), k);
    // Inside a merged range only the range's outline prints.
    const xls::layout::CellSides sides =
        xls::layout::OutlineSides(MergeAt(cell.row, cell.column), cell.row, cell.column);
    if (sides.top) lines.Add(style.top, r.topLeft(), r.topRight(), true, k);
    if (sides.bottom) lines.Add(style.bottom, r.bottomLeft(), r.bottomRight(), true, k);
    if (sides.left) lines.Add(style.left, r.topLeft(), r.bottomLeft(), false, k);
    if (sides.right) lines.Add(style.right, r.topRight(), r.bottomRight(), false, k);
  }
  lines.Draw(p);
}

}  // namespace printing
