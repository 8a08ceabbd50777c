#include "xls/layout/page_setup_records.h"

#include <algorithm>
#include <cmath>

#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"

namespace xls::layout {

namespace {

constexpr std::uint16_t kVerticalPageBreaks = 0x001A;
constexpr std::uint16_t kHorizontalPageBreaks = 0x001B;
constexpr std::uint16_t kLeftMargin = 0x0026;
constexpr std::uint16_t kRightMargin = 0x0027;
constexpr std::uint16_t kTopMargin = 0x0028;
constexpr std::uint16_t kBottomMargin = 0x0029;
constexpr std::uint16_t kPrintHeaders = 0x002A;
constexpr std::uint16_t kPrintGridlines = 0x002B;
constexpr std::uint16_t kWsBool = 0x0081;
constexpr std::uint16_t kHCenter = 0x0083;
constexpr std::uint16_t kVCenter = 0x0084;
constexpr std::uint16_t kSetup = 0x00A1;
constexpr std::uint16_t kHeader = 0x0014;
constexpr std::uint16_t kFooter = 0x0015;
constexpr std::uint16_t kHeaderFooter = 0x089C;

constexpr std::uint16_t kSetupPortrait = 0x0002;
constexpr std::uint16_t kSetupNoPrinterSettings = 0x0004;  // paper, scale and orientation unset
constexpr std::uint16_t kSetupUsePageStart = 0x0080;
constexpr std::uint16_t kWsBoolFitToPage = 0x0100;

// Margins are doubles from the file: keep them to something a page can hold.
double Margin(double inches, double fallback) {
  return std::isfinite(inches) && inches >= 0 && inches < 20 ? inches : fallback;
}

std::vector<std::uint16_t> Breaks(const biff::Record& record) {
  std::vector<std::uint16_t> breaks;
  const std::uint16_t count = biff::GetU16(record.body, 0);
  for (std::size_t i = 0; i < count; ++i) breaks.push_back(biff::GetU16(record.body, 2 + 6 * i));
  std::sort(breaks.begin(), breaks.end());
  breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
  return breaks;
}

// HEADERFOOTER: a future record header (12 bytes), the custom view it belongs to (16
// bytes, all zero for the sheet itself), then the option bits.
constexpr std::size_t kHeaderFooterView = 12;
constexpr std::size_t kHeaderFooterViewSize = 16;
constexpr std::size_t kHeaderFooterFlags = 28;
constexpr std::uint16_t kHeaderFooterScalesWithSheet = 0x0004;
constexpr std::uint16_t kHeaderFooterAlignsWithMargins = 0x0008;

void ReadHeaderFooterOptions(const biff::Record& record, PageSetup& page) {
  if (record.body.size() < kHeaderFooterFlags + 2) return;
  const auto view = record.body.begin() + kHeaderFooterView;
  // A custom view's options are not the sheet's.
  if (std::any_of(view, view + kHeaderFooterViewSize, [](std::uint8_t b) { return b != 0; })) {
    return;
  }
  const std::uint16_t flags = biff::GetU16(record.body, kHeaderFooterFlags);
  page.header_footer_scales = (flags & kHeaderFooterScalesWithSheet) != 0;
  page.header_footer_on_margins = (flags & kHeaderFooterAlignsWithMargins) != 0;
}

}  // namespace

PageSetup ReadPageSetup(const std::vector<biff::Record>& sheet) {
  using biff::GetU16;
  PageSetup page;
  for (const biff::Record& record : sheet) {
    switch (record.type) {
      case kSetup: {
        const std::uint16_t flags = GetU16(record.body, 10);
        if ((flags & kSetupUsePageStart) != 0) page.first_page_number = GetU16(record.body, 4);
        page.fit_width = GetU16(record.body, 6);
        if (record.body.size() >= 32) {
          page.header_margin = Margin(biff::GetF64(record.body, 16), page.header_margin);
          page.footer_margin = Margin(biff::GetF64(record.body, 24), page.footer_margin);
        }
        page.fit_height = GetU16(record.body, 8);
        if ((flags & kSetupNoPrinterSettings) == 0) {
          if (GetU16(record.body, 0) != 0) page.paper_size = GetU16(record.body, 0);
          const std::uint16_t scale = GetU16(record.body, 2);
          page.scale_percent = scale >= 10 && scale <= 400 ? scale : 100;
          page.orientation =
              (flags & kSetupPortrait) != 0 ? Orientation::kPortrait : Orientation::kLandscape;
        }
        break;
      }
      case kWsBool:
        page.fit_to_pages = (GetU16(record.body, 0) & kWsBoolFitToPage) != 0;
        break;
      case kLeftMargin:
        page.left_margin = Margin(biff::GetF64(record.body, 0), page.left_margin);
        break;
      case kRightMargin:
        page.right_margin = Margin(biff::GetF64(record.body, 0), page.right_margin);
        break;
      case kTopMargin:
        page.top_margin = Margin(biff::GetF64(record.body, 0), page.top_margin);
        break;
      case kBottomMargin:
        page.bottom_margin = Margin(biff::GetF64(record.body, 0), page.bottom_margin);
        break;
      case kHeader:
        // An empty record has no text at all, not even the length.
        page.header =
            record.body.empty() ? std::u16string() : biff::ReadUnicodeString(record.body, 0);
        break;
      case kFooter:
        page.footer =
            record.body.empty() ? std::u16string() : biff::ReadUnicodeString(record.body, 0);
        break;
      case kHeaderFooter:
        ReadHeaderFooterOptions(record, page);
        break;
      case kHCenter:
        page.centre_horizontally = GetU16(record.body, 0) != 0;
        break;
      case kVCenter:
        page.centre_vertically = GetU16(record.body, 0) != 0;
        break;
      case kPrintHeaders:
        page.print_headings = GetU16(record.body, 0) != 0;
        break;
      case kPrintGridlines:
        page.print_gridlines = GetU16(record.body, 0) != 0;
        break;
      case kHorizontalPageBreaks:
        page.row_breaks = Breaks(record);
        break;
      case kVerticalPageBreaks:
        page.column_breaks = Breaks(record);
        break;
      default:
        break;
    }
  }
  return page;
}

}  // namespace xls::layout
