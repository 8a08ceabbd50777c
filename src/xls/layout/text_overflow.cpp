#include "xls/layout/text_overflow.h"

namespace xls::layout {

namespace {

constexpr std::uint16_t kLastSheetColumn = 255;  // IV: a BIFF8 sheet has 256 columns

bool RunsRight(HorizontalAlignment horizontal) {
  return horizontal != HorizontalAlignment::kRight;
}
bool RunsLeft(HorizontalAlignment horizontal) {
  return horizontal == HorizontalAlignment::kRight || horizontal == HorizontalAlignment::kCentre;
}

}  // namespace

TextPlacement PlaceText(const CellStyle& style, bool is_number, bool is_logical_or_error) {
  HorizontalAlignment horizontal = style.horizontal;
  if (horizontal == HorizontalAlignment::kGeneral) {
    horizontal = is_logical_or_error ? HorizontalAlignment::kCentre
                 : is_number         ? HorizontalAlignment::kRight
                                     : HorizontalAlignment::kLeft;
  }
  const bool wraps = style.wrap || horizontal == HorizontalAlignment::kJustify ||
                     style.vertical == VerticalAlignment::kJustify;
  return {horizontal, wraps, style.shrink_to_fit && !wraps};
}

ColumnSpan OverflowColumns(std::uint16_t column, const TextPlacement& placement, bool is_number,
                           ColumnSpan within,
                           const std::function<bool(std::uint16_t)>& column_is_free) {
  ColumnSpan span{column, column};
  if (placement.wraps || placement.shrinks || is_number) return span;
  if (RunsRight(placement.horizontal)) {
    while (span.last < within.last && column_is_free(static_cast<std::uint16_t>(span.last + 1))) {
      ++span.last;
    }
  }
  if (RunsLeft(placement.horizontal)) {
    while (span.first > within.first &&
           column_is_free(static_cast<std::uint16_t>(span.first - 1))) {
      --span.first;
    }
  }
  return span;
}

ColumnSpan CentreAcrossColumns(std::uint16_t column,
                               const std::function<bool(std::uint16_t)>& joins) {
  ColumnSpan span{column, column};
  while (span.last < kLastSheetColumn && joins(static_cast<std::uint16_t>(span.last + 1))) {
    ++span.last;
  }
  return span;
}

PageEdges RunsOffPage(ColumnSpan span, const TextPlacement& placement, bool is_number,
                      ColumnSpan within, const std::function<bool(std::uint16_t)>& column_is_free) {
  PageEdges edges;
  if (placement.wraps || placement.shrinks || is_number) return edges;
  edges.right = RunsRight(placement.horizontal) && span.last == within.last &&
                within.last < kLastSheetColumn &&
                column_is_free(static_cast<std::uint16_t>(within.last + 1));
  edges.left = RunsLeft(placement.horizontal) && span.first == within.first && within.first > 0 &&
               column_is_free(static_cast<std::uint16_t>(within.first - 1));
  return edges;
}

}  // namespace xls::layout
