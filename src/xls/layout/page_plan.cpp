#include "xls/layout/page_plan.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <utility>

#include "xls/layout/paper_codes.h"

namespace xls::layout {

namespace {

bool Shows(const SheetLayout& layout, const PrintCell& cell) {
  if (!cell.text.empty()) return true;
  const CellStyle& style = layout.styles[cell.style];
  return style.fill.has_value() || style.left.style != BorderStyle::kNone ||
         style.right.style != BorderStyle::kNone || style.top.style != BorderStyle::kNone ||
         style.bottom.style != BorderStyle::kNone;
}

using Runs = std::vector<std::pair<std::uint16_t, std::uint16_t>>;

// Cuts [first, last] into runs that fit `room` points each, also before every break. From
// the first run that starts past the titles' first line on, the titles are printed again
// above (or left of) each run and take their room; no run starts inside them.
template <typename SizeOf>
Runs CutIntoRuns(std::uint16_t first, std::uint16_t last, double room,
                 const std::vector<std::uint16_t>& breaks, const std::optional<LineSpan>& titles,
                 SizeOf size_of) {
  Runs runs;
  std::uint32_t start = first;
  double used = 0;
  bool titles_taken = false;
  for (std::uint32_t i = first; i <= last; ++i) {
    const double size = size_of(static_cast<std::uint16_t>(i));
    const bool in_titles = titles && i > titles->first && i <= titles->last;
    const bool manual = i > start && std::binary_search(breaks.begin(), breaks.end(), i);
    // A single row or column taller than the page still gets a page of its own.
    if (manual || (used + size > room + 1e-6 && i > start && !in_titles)) {
      runs.emplace_back(static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(i - 1));
      start = i;
      used = 0;
    }
    if (i == start && titles && !titles_taken && i > titles->first) {
      for (std::uint32_t t = titles->first; t <= titles->last; ++t) {
        room -= size_of(static_cast<std::uint16_t>(t));
      }
      titles_taken = true;
    }
    used += size;
  }
  runs.emplace_back(static_cast<std::uint16_t>(start), last);
  return runs;
}

// The run that holds `index`, or nothing when it lies outside them all.
std::optional<std::size_t> RunOf(const Runs& runs, std::uint16_t index) {
  const auto after =
      std::upper_bound(runs.begin(), runs.end(), index,
                       [](std::uint16_t i, const std::pair<std::uint16_t, std::uint16_t>& run) {
                         return i < run.first;
                       });
  if (after == runs.begin()) return std::nullopt;
  const auto run = std::prev(after);
  if (index > run->second) return std::nullopt;
  return static_cast<std::size_t>(run - runs.begin());
}

// Which of the column-run by row-run pages have something on them, indexed
// column_run * rows + row_run. Spreadsheet programs leave the others out, so that one
// stray cell far away prints one more page rather than every page between.
std::vector<bool> PagesWithContent(const SheetLayout& layout, const Runs& column_runs,
                                   const Runs& row_runs) {
  std::vector<bool> used(column_runs.size() * row_runs.size(), false);
  for (const PrintCell& cell : layout.cells) {
    if (!Shows(layout, cell)) continue;
    const auto column_run = RunOf(column_runs, cell.column);
    const auto row_run = RunOf(row_runs, cell.row);
    if (column_run && row_run) used[*column_run * row_runs.size() + *row_run] = true;
  }
  // A merged range shows on every page it crosses, as one cell drawn in pieces.
  for (const CellRange& merge : layout.merges) {
    for (std::size_t c = 0; c < column_runs.size(); ++c) {
      if (column_runs[c].second < merge.first_column || column_runs[c].first > merge.last_column) {
        continue;
      }
      for (std::size_t r = 0; r < row_runs.size(); ++r) {
        if (row_runs[r].second < merge.first_row || row_runs[r].first > merge.last_row) continue;
        used[c * row_runs.size() + r] = true;
      }
    }
  }
  return used;
}

// The column runs and the row runs a sheet is cut into.
using RunsAcrossAndDown = std::pair<Runs, Runs>;

// Cuts the range to print into pages at a scale.
class PageCutter {
 public:
  PageCutter(const SheetLayout& layout, const CellRange& range, const PaperSize& paper,
             double digit_width_points)
      : layout_(layout),
        range_(range),
        digit_width_points_(digit_width_points),
        width_(std::max(
            paper.width - (layout.page.left_margin + layout.page.right_margin) * kPointsPerInch,
            1.0)),
        height_(std::max(
            paper.height - (layout.page.top_margin + layout.page.bottom_margin) * kPointsPerInch,
            1.0)) {}

  // The room on the sheet at a scale: the paper inside the margins grows as the sheet
  // shrinks, the headings shrink with the sheet. Headers and footers stand in the margins
  // and take nothing, as Excel prints them; LibreOffice takes their height off only after
  // scaling, so that a sheet printed smaller with a header gets more rows a page there.
  RunsAcrossAndDown Cut(double scale) const {
    const PageSetup& setup = layout_.page;
    const double headings_width = setup.print_headings ? kRowHeadingWidth : 0;
    const double headings_height = setup.print_headings ? kColumnHeadingHeight : 0;
    auto column_width = [this](std::uint16_t c) {
      return ColumnWidthPoints(layout_, c, digit_width_points_);
    };
    auto row_height = [this](std::uint16_t r) { return RowHeightPoints(layout_, r); };
    return {CutIntoRuns(range_.first_column, range_.last_column,
                        std::max(width_ / scale - headings_width, 1.0), Breaks(setup.column_breaks),
                        setup.title_columns, column_width),
            CutIntoRuns(range_.first_row, range_.last_row,
                        std::max(height_ / scale - headings_height, 1.0), Breaks(setup.row_breaks),
                        setup.title_rows, row_height)};
  }

 private:
  // Fit to pages ignores the manual page breaks, as Excel says it does; LibreOffice keeps
  // them in a direction the fit leaves free (pages down when it is "1 wide by any tall").
  const std::vector<std::uint16_t>& Breaks(const std::vector<std::uint16_t>& manual) const {
    return layout_.page.fit_to_pages ? no_breaks_ : manual;
  }

  const SheetLayout& layout_;
  CellRange range_;
  double digit_width_points_;
  double width_;  // the paper inside the margins, in points
  double height_;
  const std::vector<std::uint16_t> no_breaks_;
};

// The largest whole percent, 10 % at least, at which the sheet cut into pages takes no more
// of them across and down than asked: both spreadsheet programs cut at whole columns and
// rows, so the total size over the pages asked for is only a bound. Fit to width alone,
// LibreOffice also tries 2 % less and keeps that when it saves a page down (its own rows
// come out a little taller than Excel's); Excel keeps the scale that fits the width, and so
// does this.
int FittingPercent(const PageCutter& cutter, const PageSetup& setup) {
  const bool fit_across = setup.fit_width > 0;
  const bool fit_down = setup.fit_height > 0;
  auto fits = [&](double scale) {
    const RunsAcrossAndDown runs = cutter.Cut(scale);
    return (!fit_across || runs.first.size() <= setup.fit_width) &&
           (!fit_down || runs.second.size() <= setup.fit_height);
  };
  if (fits(1.0)) return 100;
  int fitting = 10;  // the smallest there is, fitting or not
  int too_big = 100;
  while (too_big - fitting > 1) {
    const int middle = (fitting + too_big) / 2;
    if (fits(middle / 100.0)) {
      fitting = middle;
    } else {
      too_big = middle;
    }
  }
  return fitting;
}

// Where a page's run starts past the titles' first line, the titles are printed, whole,
// before its own cells; these then begin after them (a print area that begins inside the
// titles), unless the titles fill the run. Whether the titles are printed before it.
bool StartAfterTitles(std::pair<std::uint16_t, std::uint16_t>& run,
                      const std::optional<LineSpan>& titles) {
  if (!titles || run.first <= titles->first) return false;
  if (run.first > titles->last) return true;
  if (titles->last >= run.second) return false;
  run.first = static_cast<std::uint16_t>(titles->last + 1);
  return true;
}

// The pages of the runs that have something on them, down each column of pages first.
void AddPagesWithContent(const SheetLayout& layout, const RunsAcrossAndDown& runs, PagePlan& plan) {
  const auto& [column_runs, row_runs] = runs;
  const std::vector<bool> used = PagesWithContent(layout, column_runs, row_runs);
  for (std::size_t c = 0; c < column_runs.size(); ++c) {
    for (std::size_t r = 0; r < row_runs.size(); ++r) {
      if (!used[c * row_runs.size() + r]) continue;
      auto rows = row_runs[r];
      auto columns = column_runs[c];
      const bool title_rows = StartAfterTitles(rows, plan.title_rows);
      const bool title_columns = StartAfterTitles(columns, plan.title_columns);
      plan.pages.push_back(
          {rows.first, rows.second, columns.first, columns.second, title_rows, title_columns});
    }
  }
}

}  // namespace

PaperSize PaperForCode(std::uint16_t code) {
  if (const std::optional<CodedPaper> paper = PaperOfCode(code)) {
    return PaperSize{paper->width, paper->height};
  }
  return PaperSize{};  // A4, as LibreOffice takes a code it does not know
}

double ColumnWidthPoints(const SheetLayout& layout, std::uint16_t column,
                         double digit_width_points) {
  if (layout.ColumnHidden(column)) return 0;
  return layout.ColumnWidth(column) / 256.0 * digit_width_points;
}

double RowHeightPoints(const SheetLayout& layout, std::uint16_t row) {
  if (layout.RowHidden(row)) return 0;
  return layout.RowHeight(row) / 20.0;
}

std::optional<CellRange> UsedRange(const SheetLayout& layout) {
  std::optional<CellRange> used;
  auto cover = [&used](std::uint16_t row, std::uint16_t column) {
    if (!used) {
      used = CellRange{0, row, 0, column};
      return;
    }
    used->last_row = std::max(used->last_row, row);
    used->last_column = std::max(used->last_column, column);
  };
  for (const PrintCell& cell : layout.cells) {
    if (Shows(layout, cell)) cover(cell.row, cell.column);
  }
  for (const CellRange& merge : layout.merges) cover(merge.last_row, merge.last_column);
  return used;
}

PagePlan PlanPages(const SheetLayout& layout, double digit_width_points) {
  const PageSetup& setup = layout.page;
  PagePlan plan;
  plan.paper = PaperForCode(setup.paper_size);
  if (setup.orientation == Orientation::kLandscape) std::swap(plan.paper.width, plan.paper.height);
  const std::optional<CellRange> range = setup.print_area ? setup.print_area : UsedRange(layout);
  if (!range) return plan;
  plan.range = *range;
  plan.title_rows = setup.title_rows;
  plan.title_columns = setup.title_columns;
  plan.headings = setup.print_headings;

  const PageCutter cutter(layout, plan.range, plan.paper, digit_width_points);
  plan.scale = (setup.fit_to_pages ? FittingPercent(cutter, setup) : setup.scale_percent) / 100.0;
  AddPagesWithContent(layout, cutter.Cut(plan.scale), plan);
  return plan;
}

}  // namespace xls::layout
