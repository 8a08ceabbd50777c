#include "xls/layout/workbook_styles.h"

#include <array>

#include "base/ascii_case.h"
#include "xls/biff/byte_io.h"
#include "xls/biff/continued_reader.h"
#include "xls/biff/record.h"
#include "xls/biff/record_fields.h"
#include "xls/number_format/number_format.h"

namespace xls::layout {

namespace {

namespace font_record = biff::font_record;
namespace xf_record = biff::xf_record;
using biff::GetU16;
using biff::GetU32;
using biff::GetU8;

constexpr std::size_t kFirstPaletteIndex = 8;  // indexes 0-7 are the eight fixed colours

Font ReadFont(const std::vector<std::uint8_t>& body, const std::vector<Rgb>& palette) {
  Font font;
  font.points = GetU16(body, font_record::kHeight) / 20.0;
  const std::uint16_t flags = GetU16(body, font_record::kOptions);
  font.italic = (flags & font_record::kItalic) != 0;
  font.strikeout = (flags & font_record::kStrikeout) != 0;
  font.colour = PaletteColour(palette, GetU16(body, font_record::kColour));
  font.bold = GetU16(body, font_record::kWeight) >= font_record::kBoldWeight;
  switch (GetU8(body, font_record::kUnderline)) {
    case font_record::kSingleUnderline:
    case font_record::kSingleAccountingUnderline:
      font.underline = Underline::kSingle;
      break;
    case font_record::kDoubleUnderline:
    case font_record::kDoubleAccountingUnderline:
      font.underline = Underline::kDouble;
      break;
    default:
      break;
  }
  font.name = biff::ReadShortUnicodeString(body, font_record::kName);
  return font;
}

CellFormat ReadXf(const biff::XfEntry& xf, const std::vector<std::uint8_t>& body,
                  const std::vector<Rgb>& palette) {
  CellFormat f;
  f.style.font = GetU16(body, xf_record::kFont);
  f.number_format = xf.number_format;
  const std::uint8_t alignment = GetU8(body, xf_record::kAlignment);
  f.style.horizontal =
      static_cast<HorizontalAlignment>(std::min(alignment & xf_record::kHorizontalMask, 7));
  f.style.wrap = (alignment & xf_record::kWrap) != 0;
  const int vertical = (alignment >> xf_record::kVerticalShift) & xf_record::kVerticalMask;
  f.style.vertical = static_cast<VerticalAlignment>(std::min(vertical, 4));
  f.style.rotation = GetU8(body, xf_record::kRotation);
  const std::uint8_t indent = GetU8(body, xf_record::kIndent);
  f.style.indent = indent & xf_record::kIndentMask;
  f.style.shrink_to_fit = (indent & xf_record::kShrinkToFit) != 0;
  const std::uint32_t lines = GetU32(body, xf_record::kBorders);
  const std::uint32_t more = GetU32(body, xf_record::kMoreBorders);
  auto border = [&palette](std::uint32_t word, int style_shift, std::uint32_t colour_word,
                           int colour_shift) {
    Border b;
    const std::uint32_t style = (word >> style_shift) & xf_record::kBorderStyleMask;
    b.style = static_cast<BorderStyle>(std::min<std::uint32_t>(style, 13));
    b.colour = PaletteColour(palette, static_cast<std::uint16_t>((colour_word >> colour_shift) &
                                                                 xf_record::kColourMask));
    return b;
  };
  f.style.left = border(lines, xf_record::kLeftStyleShift, lines, xf_record::kLeftColourShift);
  f.style.right = border(lines, xf_record::kRightStyleShift, lines, xf_record::kRightColourShift);
  f.style.top = border(lines, xf_record::kTopStyleShift, more, xf_record::kTopColourShift);
  f.style.bottom = border(lines, xf_record::kBottomStyleShift, more, xf_record::kBottomColourShift);
  const std::uint32_t pattern = (more >> xf_record::kPatternShift) & xf_record::kPatternMask;
  if (pattern != 0) {
    const std::uint16_t colours = GetU16(body, xf_record::kFillColours);
    // Solid fills take the pattern colour; other patterns are drawn as that colour too,
    // which is what they look like from a little way off.
    const std::uint16_t fore = colours & xf_record::kColourMask;
    if (fore != xf_record::kAutomaticColour) f.style.fill = PaletteColour(palette, fore);
  }
  return f;
}

}  // namespace

std::vector<Rgb> DefaultPalette() {
  static constexpr std::array<std::uint32_t, 56> kColours = {
      0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
      0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
      0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
      0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
      0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
      0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
      0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};
  std::vector<Rgb> palette;
  for (std::uint32_t c : kColours) {
    palette.push_back({static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                       static_cast<std::uint8_t>(c)});
  }
  return palette;
}

Rgb PaletteColour(const std::vector<Rgb>& palette, std::uint16_t index) {
  static constexpr std::array<Rgb, 8> kFixed = {{{0, 0, 0},
                                                 {255, 255, 255},
                                                 {255, 0, 0},
                                                 {0, 255, 0},
                                                 {0, 0, 255},
                                                 {255, 255, 0},
                                                 {255, 0, 255},
                                                 {0, 255, 255}}};
  if (index < kFirstPaletteIndex) return kFixed[index];
  const std::size_t slot = index - kFirstPaletteIndex;
  if (slot < palette.size()) return palette[slot];
  return {};  // automatic and system colours: black ink on white paper
}

std::u16string WorkbookStyles::NumberFormatCode(std::uint16_t index) const {
  const auto own = number_formats.find(index);
  return own != number_formats.end() ? own->second : number_format::BuiltInFormatCode(index);
}

const CellFormat& WorkbookStyles::Format(std::uint16_t xf) const {
  static const CellFormat kDefault;
  if (xf < formats.size()) return formats[xf];
  return formats.size() > 15 ? formats[15] : kDefault;
}

WorkbookStyles ReadWorkbookStyles(const biff::BiffWorkbook& book) {
  const std::vector<biff::Record>& globals = book.GlobalsRecords();
  WorkbookStyles styles;
  styles.number_formats = book.Globals().NumberFormats();
  styles.date1904 = book.Globals().Date1904();
  // The palette may come after the fonts and formats that use it: find it first.
  std::vector<Rgb> palette = DefaultPalette();
  for (const biff::Record& record : globals) {
    if (record.type != biff::record_type::kPalette) continue;
    const std::uint16_t count = GetU16(record.body, biff::palette_record::kCount);
    for (std::size_t i = 0; i < count && i < palette.size(); ++i) {
      const std::size_t at =
          biff::palette_record::kFirstColour + biff::palette_record::kColourSize * i;
      palette[i] = {biff::GetU8(record.body, at), biff::GetU8(record.body, at + 1),
                    biff::GetU8(record.body, at + 2)};
    }
  }
  for (const biff::Record& record : globals) {
    if (record.type != biff::record_type::kFont) continue;
    if (styles.fonts.size() == 4) styles.fonts.push_back(styles.fonts[0]);  // index 4
    styles.fonts.push_back(ReadFont(record.body, palette));
  }
  for (const biff::XfEntry& xf : book.Globals().CellFormats()) {
    styles.formats.push_back(ReadXf(xf, globals[xf.record_index].body, palette));
  }
  if (styles.fonts.empty()) {
    Font fallback;
    fallback.name = u"Arial";
    styles.fonts.push_back(fallback);
  }
  for (CellFormat& format : styles.formats) {
    if (format.style.font >= styles.fonts.size()) format.style.font = 0;
    const std::u16string code = styles.NumberFormatCode(format.number_format);
    format.style.general_number =
        base::EqualIgnoringAsciiCase<char16_t>(code, u"General") || code == u"G/通用格式";
  }
  return styles;
}

}  // namespace xls::layout
