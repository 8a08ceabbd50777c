#include "xls/layout/paper_codes.h"

#include <array>

#include "xls/layout/sheet_layout.h"

namespace xls::layout {

namespace {

enum class Unit : std::uint8_t { kMm, kInch };

struct Entry {
  double width;
  double height;
  Unit unit;
};

constexpr Entry Mm(double w, double h) {
  return {w, h, Unit::kMm};
}
constexpr Entry In(double w, double h) {
  return {w, h, Unit::kInch};
}

// Indexed by code - 1. The sizes are the printer driver's (the file format's own list copies
// it, but misprints "9½" as "9.275" for the Extra papers: Excel means 9½ inches). B4 and
// B5 without a prefix are JIS sizes, as in Excel; the ISO ones are codes 33, 34 and 42.
constexpr std::array<Entry, 118> kPapers = {
    In(8.5, 11),        // 1 Letter
    In(8.5, 11),        // 2 Letter Small
    In(11, 17),         // 3 Tabloid
    In(17, 11),         // 4 Ledger
    In(8.5, 14),        // 5 Legal
    In(5.5, 8.5),       // 6 Statement
    In(7.25, 10.5),     // 7 Executive
    Mm(297, 420),       // 8 A3
    Mm(210, 297),       // 9 A4
    Mm(210, 297),       // 10 A4 Small
    Mm(148, 210),       // 11 A5
    Mm(257, 364),       // 12 B4 (JIS)
    Mm(182, 257),       // 13 B5 (JIS)
    In(8.5, 13),        // 14 Folio
    Mm(215, 275),       // 15 Quarto
    In(10, 14),         // 16 10 x 14
    In(11, 17),         // 17 11 x 17
    In(8.5, 11),        // 18 Note
    In(3.875, 8.875),   // 19 Envelope #9
    In(4.125, 9.5),     // 20 Envelope #10
    In(4.5, 10.375),    // 21 Envelope #11
    In(4.75, 11),       // 22 Envelope #12
    In(5, 11.5),        // 23 Envelope #14
    In(17, 22),         // 24 C
    In(22, 34),         // 25 D
    In(34, 44),         // 26 E
    Mm(110, 220),       // 27 Envelope DL
    Mm(162, 229),       // 28 Envelope C5
    Mm(324, 458),       // 29 Envelope C3
    Mm(229, 324),       // 30 Envelope C4
    Mm(114, 162),       // 31 Envelope C6
    Mm(114, 229),       // 32 Envelope C65
    Mm(250, 353),       // 33 Envelope B4 (ISO)
    Mm(176, 250),       // 34 Envelope B5 (ISO)
    Mm(176, 125),       // 35 Envelope B6 (ISO)
    Mm(110, 230),       // 36 Envelope Italy
    In(3.875, 7.5),     // 37 Envelope Monarch
    In(3.625, 6.5),     // 38 6 3/4 Envelope
    In(14.875, 11),     // 39 US Std Fanfold
    In(8.5, 12),        // 40 German Std Fanfold
    In(8.5, 13),        // 41 German Legal Fanfold
    Mm(250, 353),       // 42 B4 (ISO)
    Mm(100, 148),       // 43 Japanese Postcard
    In(9, 11),          // 44 9 x 11
    In(10, 11),         // 45 10 x 11
    In(15, 11),         // 46 15 x 11
    Mm(220, 220),       // 47 Envelope Invite
    {0, 0, Unit::kMm},  // 48 reserved
    {0, 0, Unit::kMm},  // 49 reserved
    In(9.5, 12),        // 50 Letter Extra
    In(9.5, 15),        // 51 Legal Extra
    In(11.69, 18),      // 52 Tabloid Extra
    Mm(235, 322),       // 53 A4 Extra
    In(8.5, 11),        // 54 Letter Transverse
    Mm(210, 297),       // 55 A4 Transverse
    In(9.5, 12),        // 56 Letter Extra Transverse
    Mm(227, 356),       // 57 Super A / A4
    Mm(305, 487),       // 58 Super B / A3
    In(8.5, 12.69),     // 59 Letter Plus
    Mm(210, 330),       // 60 A4 Plus
    Mm(148, 210),       // 61 A5 Transverse
    Mm(182, 257),       // 62 B5 (JIS) Transverse
    Mm(322, 445),       // 63 A3 Extra
    Mm(174, 235),       // 64 A5 Extra
    Mm(201, 276),       // 65 B5 (ISO) Extra
    Mm(420, 594),       // 66 A2
    Mm(297, 420),       // 67 A3 Transverse
    Mm(322, 445),       // 68 A3 Extra Transverse
    Mm(200, 148),       // 69 Japanese Double Postcard
    Mm(105, 148),       // 70 A6
    Mm(240, 332),       // 71 Japanese Envelope Kaku #2
    Mm(216, 277),       // 72 Japanese Envelope Kaku #3
    Mm(120, 235),       // 73 Japanese Envelope Chou #3
    Mm(90, 205),        // 74 Japanese Envelope Chou #4
    In(11, 8.5),        // 75 Letter Rotated
    Mm(420, 297),       // 76 A3 Rotated
    Mm(297, 210),       // 77 A4 Rotated
    Mm(210, 148),       // 78 A5 Rotated
    Mm(364, 257),       // 79 B4 (JIS) Rotated
    Mm(257, 182),       // 80 B5 (JIS) Rotated
    Mm(148, 100),       // 81 Japanese Postcard Rotated
    Mm(148, 200),       // 82 Double Japanese Postcard Rotated
    Mm(148, 105),       // 83 A6 Rotated
    Mm(332, 240),       // 84 Japanese Envelope Kaku #2 Rotated
    Mm(277, 216),       // 85 Japanese Envelope Kaku #3 Rotated
    Mm(235, 120),       // 86 Japanese Envelope Chou #3 Rotated
    Mm(205, 90),        // 87 Japanese Envelope Chou #4 Rotated
    Mm(128, 182),       // 88 B6 (JIS)
    Mm(182, 128),       // 89 B6 (JIS) Rotated
    In(12, 11),         // 90 12 x 11
    Mm(105, 235),       // 91 Japanese Envelope You #4
    Mm(235, 105),       // 92 Japanese Envelope You #4 Rotated
    Mm(146, 215),       // 93 PRC 16K
    Mm(97, 151),        // 94 PRC 32K
    Mm(97, 151),        // 95 PRC 32K (Big)
    Mm(102, 165),       // 96 PRC Envelope #1
    Mm(102, 176),       // 97 PRC Envelope #2
    Mm(125, 176),       // 98 PRC Envelope #3
    Mm(110, 208),       // 99 PRC Envelope #4
    Mm(110, 220),       // 100 PRC Envelope #5
    Mm(120, 230),       // 101 PRC Envelope #6
    Mm(160, 230),       // 102 PRC Envelope #7
    Mm(120, 309),       // 103 PRC Envelope #8
    Mm(229, 324),       // 104 PRC Envelope #9
    Mm(324, 458),       // 105 PRC Envelope #10
    Mm(215, 146),       // 106 PRC 16K Rotated
    Mm(151, 97),        // 107 PRC 32K Rotated
    Mm(151, 97),        // 108 PRC 32K (Big) Rotated
    Mm(165, 102),       // 109 PRC Envelope #1 Rotated
    Mm(176, 102),       // 110 PRC Envelope #2 Rotated
    Mm(176, 125),       // 111 PRC Envelope #3 Rotated
    Mm(208, 110),       // 112 PRC Envelope #4 Rotated
    Mm(220, 110),       // 113 PRC Envelope #5 Rotated
    Mm(230, 120),       // 114 PRC Envelope #6 Rotated
    Mm(230, 160),       // 115 PRC Envelope #7 Rotated
    Mm(309, 120),       // 116 PRC Envelope #8 Rotated
    Mm(324, 229),       // 117 PRC Envelope #9 Rotated
    Mm(458, 324),       // 118 PRC Envelope #10 Rotated
};

}  // namespace

std::optional<CodedPaper> PaperOfCode(std::uint16_t code) {
  if (code == 0 || code > kPapers.size()) return std::nullopt;
  const Entry& entry = kPapers[code - 1];
  if (entry.width == 0) return std::nullopt;
  const double points_per_unit = entry.unit == Unit::kInch ? kPointsPerInch : kPointsPerInch / 25.4;
  return CodedPaper{entry.width * points_per_unit, entry.height * points_per_unit};
}

}  // namespace xls::layout
