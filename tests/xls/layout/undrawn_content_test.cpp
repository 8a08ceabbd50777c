#include "xls/layout/undrawn_content.h"

#include <gtest/gtest.h>

#include <string>

#include "layout_records.h"

namespace xls::layout {
namespace {

using test_support::PutU16;
using test_support::PutU32;
using test_support::Record;

// A shared string table of Latin-1 strings, each with its runs (character, font) if any.
Record RichSst(const std::vector<std::pair<std::string, std::vector<std::uint16_t>>>& strings) {
  Record record{biff::record_type::kSst, {}};
  PutU32(record.body, static_cast<std::uint32_t>(strings.size()));
  PutU32(record.body, static_cast<std::uint32_t>(strings.size()));
  for (const auto& [text, runs] : strings) {
    PutU16(record.body, static_cast<std::uint16_t>(text.size()));
    record.body.push_back(runs.empty() ? 0x00 : 0x08);
    if (!runs.empty()) PutU16(record.body, static_cast<std::uint16_t>(runs.size() / 2));
    record.body.insert(record.body.end(), text.begin(), text.end());
    for (std::uint16_t value : runs) PutU16(record.body, value);
  }
  return record;
}

// An OBJ record with its common part (ftCmo) and its end.
Record Obj(std::uint16_t object_type, bool printed = true) {
  Record record{0x005D, {}};
  PutU16(record.body, 0x15);
  PutU16(record.body, 0x12);
  PutU16(record.body, object_type);
  PutU16(record.body, 1);                     // id
  PutU16(record.body, printed ? 0x0011 : 1);  // locked, and fPrint
  record.body.resize(record.body.size() + 12, 0);
  PutU32(record.body, 0);  // ftEnd
  return record;
}

TEST(UndrawnContentTest, FindsWhatThePrintoutDrawsOtherwise) {
  SheetLayout layout;
  Font plain{u"Arial", 10, false, false, false, Underline::kNone, {}};
  Font bold = plain;
  bold.bold = true;
  Font song = plain;
  song.name = u"宋体";
  layout.fonts = {plain, bold, song};
  CellStyle turned;
  turned.rotation = 90;
  CellStyle shrunk;
  shrunk.shrink_to_fit = true;
  layout.styles = {CellStyle{}, turned, shrunk};
  layout.cells = {
      {0, 0, u"turned", false, 1, {}}, {0, 1, u"", false, 1, {}},  // an empty cell says nothing
      {1, 0, u"shrunk", false, 2, {}},                             // drawn shrunk: nothing to say
      {2, 0, u"AB", false, 0, {}},                                 // B in bold
      {2, 1, u"CD", false, 0, {}},                                 // D in another face only
      {3, 0, u"plain", false, 0, {}},  {4, 0, u"turned", false, 1, {}},
  };
  const std::vector<Record> globals = {RichSst({{"plain", {}}, {"AB", {1, 1}}, {"CD", {1, 2}}})};
  const std::vector<Record> sheet = {
      test_support::LabelSst(2, 0, 0, 1),
      test_support::LabelSst(2, 1, 0, 2),
      test_support::LabelSst(3, 0, 0, 0),
      Obj(0x08),         // a picture
      Obj(0x19),         // a comment, which does not print
      Obj(0x05),         // a chart
      Obj(0x14, false),  // a filter's arrow
  };
  FindUndrawnContent(globals, sheet, layout);

  struct Expected {
    UndrawnFeature feature;
    std::uint16_t row;
    std::uint16_t column;
  };
  const Expected expected[] = {
      {UndrawnFeature::kRotatedText, 0, 0},
      {UndrawnFeature::kRichText, 2, 0},
      {UndrawnFeature::kRotatedText, 4, 0},
  };
  ASSERT_EQ(layout.undrawn.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(layout.undrawn[i].feature, expected[i].feature) << i;
    EXPECT_EQ(layout.undrawn[i].row, expected[i].row) << i;
    EXPECT_EQ(layout.undrawn[i].column, expected[i].column) << i;
  }
  EXPECT_EQ(layout.drawings, 2u);
}

}  // namespace
}  // namespace xls::layout
