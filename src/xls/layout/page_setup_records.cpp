#include "xls/layout/page_setup_records.h"

#include <algorithm>
#include <cmath>

#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/record.h"
#include "xls/biff/record_fields.h"

namespace xls::layout {

namespace {

using biff::single_field_record::kValue;

// Margins are doubles from the file: keep them to something a page can hold.
double Margin(double inches, double fallback) {
  return std::isfinite(inches) && inches >= 0 && inches < 20 ? inches : fallback;
}

double MarginOf(const biff::Record& record, double fallback) {
  return Margin(biff::GetF64(record.body, kValue), fallback);
}

bool YesOf(const biff::Record& record) {
  return biff::GetU16(record.body, kValue) != 0;
}

// An empty record has no text at all, not even the length.
std::u16string TextOf(const biff::Record& record) {
  return record.body.empty() ? std::u16string() : biff::ReadUnicodeString(record.body, kValue);
}

std::vector<std::uint16_t> Breaks(const biff::Record& record) {
  std::vector<std::uint16_t> breaks;
  using namespace biff::page_breaks_record;
  const std::uint16_t count = biff::GetU16(record.body, kCount);
  for (std::size_t i = 0; i < count; ++i) {
    breaks.push_back(biff::GetU16(record.body, kFirstBreak + kBreakSize * i));
  }
  std::sort(breaks.begin(), breaks.end());
  breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
  return breaks;
}

void ReadHeaderFooterOptions(const biff::Record& record, PageSetup& page) {
  using namespace biff::header_footer_record;
  if (record.body.size() < kFlags + 2) return;
  const auto view = record.body.begin() + kView;
  // A custom view's options are not the sheet's.
  if (std::any_of(view, view + kViewSize, [](std::uint8_t b) { return b != 0; })) {
    return;
  }
  const std::uint16_t flags = biff::GetU16(record.body, kFlags);
  page.header_footer_scales = (flags & kScalesWithSheet) != 0;
  page.header_footer_on_margins = (flags & kAlignsWithMargins) != 0;
}

void ReadSetup(const biff::Record& record, PageSetup& page) {
  using biff::GetU16;
  using namespace biff::setup_record;
  const std::uint16_t flags = GetU16(record.body, kOptions);
  if ((flags & kUsePageStart) != 0) page.first_page_number = GetU16(record.body, kPageStart);
  page.fit_width = GetU16(record.body, kFitWidth);
  if (record.body.size() >= kWithMarginsSize) {
    page.header_margin = Margin(biff::GetF64(record.body, kHeaderMargin), page.header_margin);
    page.footer_margin = Margin(biff::GetF64(record.body, kFooterMargin), page.footer_margin);
  }
  page.fit_height = GetU16(record.body, kFitHeight);
  if ((flags & kNoPrinterSettings) == 0) {
    if (GetU16(record.body, kPaperSize) != 0) page.paper_size = GetU16(record.body, kPaperSize);
    const std::uint16_t scale = GetU16(record.body, kScale);
    page.scale_percent = scale >= 10 && scale <= 400 ? scale : 100;
    page.orientation = (flags & kPortrait) != 0 ? Orientation::kPortrait : Orientation::kLandscape;
  }
}

}  // namespace

PageSetup ReadPageSetup(const std::vector<biff::Record>& sheet) {
  using biff::GetU16;
  namespace record_type = biff::record_type;
  PageSetup page;
  for (const biff::Record& record : sheet) {
    switch (record.type) {
      case record_type::kSetup:
        ReadSetup(record, page);
        break;
      case record_type::kWsBool:
        page.fit_to_pages = (GetU16(record.body, biff::ws_bool_record::kOptions) &
                             biff::ws_bool_record::kFitToPage) != 0;
        break;
      case record_type::kLeftMargin:
        page.left_margin = MarginOf(record, page.left_margin);
        break;
      case record_type::kRightMargin:
        page.right_margin = MarginOf(record, page.right_margin);
        break;
      case record_type::kTopMargin:
        page.top_margin = MarginOf(record, page.top_margin);
        break;
      case record_type::kBottomMargin:
        page.bottom_margin = MarginOf(record, page.bottom_margin);
        break;
      case record_type::kHeader:
        page.header = TextOf(record);
        break;
      case record_type::kFooter:
        page.footer = TextOf(record);
        break;
      case record_type::kHeaderFooter:
        ReadHeaderFooterOptions(record, page);
        break;
      case record_type::kHCenter:
        page.centre_horizontally = YesOf(record);
        break;
      case record_type::kVCenter:
        page.centre_vertically = YesOf(record);
        break;
      case record_type::kPrintHeaders:
        page.print_headings = YesOf(record);
        break;
      case record_type::kPrintGridlines:
        page.print_gridlines = YesOf(record);
        break;
      case record_type::kHorizontalPageBreaks:
        page.row_breaks = Breaks(record);
        break;
      case record_type::kVerticalPageBreaks:
        page.column_breaks = Breaks(record);
        break;
      default:
        break;
    }
  }
  return page;
}

}  // namespace xls::layout
