#include "xls/layout/page_plan.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <utility>

#include "xls/layout/paper_codes.h"

namespace xls::layout {

namespace {

constexpr double kPointsPerInch = 72.0;

bool Shows(const SheetLayout& layout, const PrintCell& cell) {
  if (!cell.text.empty()) return true;
  const CellStyle& style = layout.styles[cell.style];
  return style.fill.has_value() || style.left.style != BorderStyle::kNone ||
         style.right.style != BorderStyle::kNone || style.top.style != BorderStyle::kNone ||
         style.bottom.style != BorderStyle::kNone;
}

// Cuts [first, last] into runs that fit `room` points each, also before every break.
template <typename SizeOf>
std::vector<std::pair<std::uint16_t, std::uint16_t>> Cut(std::uint16_t first, std::uint16_t last,
                                                         double room,
                                                         const std::vector<std::uint16_t>& breaks,
                                                         SizeOf size_of) {
  std::vector<std::pair<std::uint16_t, std::uint16_t>> runs;
  std::uint32_t start = first;
  double used = 0;
  for (std::uint32_t i = first; i <= last; ++i) {
    const double size = size_of(static_cast<std::uint16_t>(i));
    const bool manual = i > start && std::binary_search(breaks.begin(), breaks.end(), i);
    // A single row or column taller than the page still gets a page of its own.
    if (manual || (used + size > room + 1e-6 && i > start)) {
      runs.emplace_back(static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(i - 1));
      start = i;
      used = 0;
    }
    used += size;
  }
  runs.emplace_back(static_cast<std::uint16_t>(start), last);
  return runs;
}

using Runs = std::vector<std::pair<std::uint16_t, std::uint16_t>>;

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

  const double room_width =
      std::max(plan.paper.width - (setup.left_margin + setup.right_margin) * kPointsPerInch, 1.0);
  const double room_height =
      std::max(plan.paper.height - (setup.top_margin + setup.bottom_margin) * kPointsPerInch, 1.0);
  auto column_width = [&](std::uint16_t c) {
    return ColumnWidthPoints(layout, c, digit_width_points);
  };
  auto row_height = [&](std::uint16_t r) { return RowHeightPoints(layout, r); };

  if (setup.fit_to_pages) {
    double total_width = 0;
    double total_height = 0;
    for (std::uint32_t c = range->first_column; c <= range->last_column; ++c) {
      total_width += column_width(static_cast<std::uint16_t>(c));
    }
    for (std::uint32_t r = range->first_row; r <= range->last_row; ++r) {
      total_height += row_height(static_cast<std::uint16_t>(r));
    }
    double fit = 1.0;
    if (setup.fit_width > 0 && total_width > 0) {
      fit = std::min(fit, room_width * setup.fit_width / total_width);
    }
    if (setup.fit_height > 0 && total_height > 0) {
      fit = std::min(fit, room_height * setup.fit_height / total_height);
    }
    // Spreadsheets scale in whole percent, and never below 10 %.
    plan.scale = std::max(std::floor(fit * 100.0 + 1e-9), 10.0) / 100.0;
  } else {
    plan.scale = setup.scale_percent / 100.0;
  }

  const auto column_runs =
      Cut(range->first_column, range->last_column, room_width / plan.scale,
          setup.fit_to_pages ? std::vector<std::uint16_t>{} : setup.column_breaks, column_width);
  const auto row_runs =
      Cut(range->first_row, range->last_row, room_height / plan.scale,
          setup.fit_to_pages ? std::vector<std::uint16_t>{} : setup.row_breaks, row_height);
  const std::vector<bool> used = PagesWithContent(layout, column_runs, row_runs);
  for (std::size_t c = 0; c < column_runs.size(); ++c) {
    for (std::size_t r = 0; r < row_runs.size(); ++r) {
      if (!used[c * row_runs.size() + r]) continue;
      plan.pages.push_back(
          {row_runs[r].first, row_runs[r].second, column_runs[c].first, column_runs[c].second});
    }
  }
  return plan;
}

}  // namespace xls::layout
