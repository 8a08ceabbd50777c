#include "printing/header_footer_painter.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <vector>

#include "printing/print_fonts.h"
#include "xls/layout/header_footer.h"

namespace printing {

namespace {

using xls::layout::HeaderFooterLine;
using xls::layout::HeaderFooterParts;
using xls::layout::HeaderFooterRun;
using xls::layout::HeaderFooterSection;
using xls::layout::kPointsPerInch;
using xls::layout::Script;

// Where headers and footers not aligned with the margins end: a fixed distance from the
// paper's left and right edges, the one LibreOffice takes for every .xls file.
constexpr double kFixedSideInches = 0.75;
// Super- and subscript text is drawn this much smaller, raised or lowered by a part of
// the full size.
constexpr double kScriptSize = 0.58;
constexpr double kSuperscriptRise = 0.33;
constexpr double kSubscriptDrop = 0.08;

// A run measured for drawing; lengths in points on paper.
struct PlacedRun {
  QFont font;
  QString text;
  QColor colour;
  double width = 0;
  double rise = 0;  // of its baseline above the line's
};

struct PlacedLine {
  std::vector<PlacedRun> runs;
  double width = 0;
  double ascent = 0;
  double descent = 0;
  double Height() const { return ascent + descent; }
};

using PlacedSection = std::vector<PlacedLine>;

class Measurer {
 public:
  Measurer(const QPainter& painter, double k) : device_(painter.device()), k_(k) {}

  PlacedLine Line(const HeaderFooterLine& line, const xls::layout::Font& default_font,
                  double scale) const {
    PlacedLine placed;
    if (line.empty()) {
      // A blank line is as high as a line of the default font.
      const QFontMetricsF metrics(CellFont(default_font, default_font.points * scale), device_);
      placed.ascent = metrics.ascent() / k_;
      placed.descent = metrics.descent() / k_;
      return placed;
    }
    for (const HeaderFooterRun& run : line) {
      const double full = run.font.points * scale;
      PlacedRun out;
      out.font = CellFont(run.font, run.script == Script::kNormal ? full : full * kScriptSize);
      out.text = QString::fromStdU16String(run.text);
      out.colour = QColor(run.font.colour.red, run.font.colour.green, run.font.colour.blue);
      if (run.script == Script::kSuperscript) out.rise = full * kSuperscriptRise;
      if (run.script == Script::kSubscript) out.rise = -full * kSubscriptDrop;
      const Extent extent = Measure(out.font, out.text);
      out.width = extent.width;
      placed.ascent = std::max(placed.ascent, extent.ascent + out.rise);
      placed.descent = std::max(placed.descent, extent.descent - out.rise);
      placed.width += out.width;
      placed.runs.push_back(std::move(out));
    }
    return placed;
  }

  // A run's width, and its height above and below the baseline in whichever faces draw
  // it: Chinese text in a Latin face is drawn in a fallback face, which makes the line as
  // high as that face's lines.
  struct Extent {
    double width = 0;
    double ascent = 0;
    double descent = 0;
  };
  Extent Measure(const QFont& font, const QString& text) const {
    QTextLayout layout(text, font, device_);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    const QFontMetricsF metrics(font, device_);
    Extent extent{metrics.horizontalAdvance(text) / k_, metrics.ascent() / k_,
                  metrics.descent() / k_};
    if (!line.isValid()) return extent;
    for (const QGlyphRun& run : line.glyphRuns()) {
      extent.ascent = std::max(extent.ascent, run.rawFont().ascent() / k_);
      extent.descent = std::max(extent.descent, run.rawFont().descent() / k_);
    }
    return extent;
  }

  PlacedSection Section(const HeaderFooterSection& section, const xls::layout::Font& default_font,
                        double scale) const {
    PlacedSection placed;
    for (const HeaderFooterLine& line : section.lines) {
      placed.push_back(Line(line, default_font, scale));
    }
    return placed;
  }

 private:
  QPaintDevice* device_;
  double k_;
};

double Height(const PlacedSection& section) {
  double height = 0;
  for (const PlacedLine& line : section) height += line.Height();
  return height;
}

enum class Side { kLeft, kCentre, kRight };

// Draws a part's lines from `top` down, each line placed between left and right.
void DrawSection(QPainter& p, const PlacedSection& section, Side side, double left, double right,
                 double top, double k) {
  double y = top;
  for (const PlacedLine& line : section) {
    double x = left;
    if (side == Side::kCentre) x = (left + right - line.width) / 2;
    if (side == Side::kRight) x = right - line.width;
    const double baseline = y + line.ascent;
    for (const PlacedRun& run : line.runs) {
      p.setFont(run.font);
      p.setPen(run.colour);
      p.drawText(QPointF(x * k, (baseline - run.rise) * k), run.text);
      x += run.width;
    }
    y += line.Height();
  }
}

// What the fields of a header or footer show on the page: its number, the number of pages,
// the sheet's and the file's names, and the date and time of printing.
xls::layout::HeaderFooterContext FieldsOf(const xls::layout::SheetLayout& layout,
                                          const xls::layout::PagePlan& plan, int page_number) {
  const QDateTime now = QDateTime::currentDateTime();
  xls::layout::HeaderFooterContext context;
  context.page = page_number;
  context.pages = static_cast<int>(plan.pages.size());
  context.sheet = layout.sheet_name;
  context.file = layout.file_name;
  context.date = now.toString(QStringLiteral("yyyy/M/d")).toStdU16String();
  context.time = now.toString(QStringLiteral("H:mm")).toStdU16String();
  return context;
}

}  // namespace

void PaintHeaderFooter(QPainter& p, const xls::layout::SheetLayout& layout,
                       const xls::layout::PagePlan& plan, int page_number, double k) {
  const xls::layout::PageSetup& setup = layout.page;
  if ((setup.header.empty() && setup.footer.empty()) || layout.fonts.empty()) return;
  const xls::layout::HeaderFooterContext context = FieldsOf(layout, plan, page_number);

  const xls::layout::Font& default_font = layout.fonts.front();
  const double scale = setup.header_footer_scales ? plan.scale : 1.0;
  // On margins narrower than 0.75 inch LibreOffice moves the sides in towards that distance
  // whatever the sheet says; Excel keeps them on the margins unless told otherwise, and so
  // does Verdalon.
  const double left =
      (setup.header_footer_on_margins ? setup.left_margin : kFixedSideInches) * kPointsPerInch;
  const double right =
      plan.paper.width -
      (setup.header_footer_on_margins ? setup.right_margin : kFixedSideInches) * kPointsPerInch;
  const Measurer measure(p, k);
  auto sections = [&](const std::u16string& code) {
    const HeaderFooterParts parts = xls::layout::ParseHeaderFooter(code, context, default_font);
    return std::vector<PlacedSection>{measure.Section(parts.left, default_font, scale),
                                      measure.Section(parts.centre, default_font, scale),
                                      measure.Section(parts.right, default_font, scale)};
  };
  // The parts share one band as high as the highest of them, each part centred in it.
  auto draw = [&](const std::vector<PlacedSection>& placed, double top, double height) {
    const Side sides[] = {Side::kLeft, Side::kCentre, Side::kRight};
    for (std::size_t i = 0; i < placed.size(); ++i) {
      DrawSection(p, placed[i], sides[i], left, right, top + (height - Height(placed[i])) / 2, k);
    }
  };
  auto band_height = [](const std::vector<PlacedSection>& placed) {
    double height = 0;
    for (const PlacedSection& section : placed) height = std::max(height, Height(section));
    return height;
  };

  p.save();
  if (!setup.header.empty()) {
    // The header's band hangs from the header margin.
    const std::vector<PlacedSection> placed = sections(setup.header);
    draw(placed, setup.header_margin * kPointsPerInch, band_height(placed));
  }
  if (!setup.footer.empty()) {
    // The footer's band stands on the footer margin.
    const std::vector<PlacedSection> placed = sections(setup.footer);
    const double height = band_height(placed);
    draw(placed, plan.paper.height - setup.footer_margin * kPointsPerInch - height, height);
  }
  p.restore();
}

}  // namespace printing
