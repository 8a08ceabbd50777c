#include "xls/layout/text_overflow.h"

namespace xls::layout {

TextPlacement PlaceText(const CellStyle& style, bool is_number) {
  HorizontalAlignment horizontal = style.horizontal;
  if (horizontal == HorizontalAlignment::kGeneral) {
    horizontal = is_number ? HorizontalAlignment::kRight : HorizontalAlignment::kLeft;
  }
  const bool wraps = style.wrap || horizontal == HorizontalAlignment::kJustify ||
                     style.vertical == VerticalAlignment::kJustify;
  return {horizontal, wraps};
}

ColumnSpan OverflowColumns(std::uint16_t column, const TextPlacement& placement, bool is_number,
                           ColumnSpan within,
                           const std::function<bool(std::uint16_t)>& column_is_free) {
  ColumnSpan span{column, column};
  if (placement.wraps || is_number) return span;
  const HorizontalAlignment horizontal = placement.horizontal;
  const bool runs_right = horizontal != HorizontalAlignment::kRight;
  const bool runs_left =
      horizontal == HorizontalAlignment::kRight || horizontal == HorizontalAlignment::kCentre;
  if (runs_right) {
    while (span.last < within.last && column_is_free(static_cast<std::uint16_t>(span.last + 1))) {
      ++span.last;
    }
  }
  if (runs_left) {
    while (span.first > within.first &&
           column_is_free(static_cast<std::uint16_t>(span.first - 1))) {
      --span.first;
    }
  }
  return span;
}

}  // namespace xls::layout
