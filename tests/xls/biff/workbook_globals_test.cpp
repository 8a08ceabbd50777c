#include "xls/biff/workbook_globals.h"

#include <gtest/gtest.h>

#include "biff_streams.h"
#include "xls/biff/biff_workbook.h"
#include "xls/biff/byte_io.h"
#include "xls/biff/record_fields.h"

namespace xls::biff {
namespace {

using test_support::Bytes;

BiffWorkbook BookWithGlobals(const std::vector<Record>& globals) {
  const test_support::SheetSpec sheet{u"S", {test_support::Dimensions(0, 1, 0, 1)}};
  return BiffWorkbook::Parse(test_support::BuildStream(globals, {sheet}));
}

TEST(WorkbookGlobals, TheDateSystemIsWhatTheLastDateModeSays) {
  struct Case {
    const char* what;
    std::vector<Bytes> date_modes;
    bool date1904;
  };
  const Case cases[] = {
      {"none", {}, false},
      {"1904", {{1, 0}}, true},
      {"1900", {{0, 0}}, false},
      {"too short to say", {{1}}, false},
      {"a later one replaces", {{1, 0}, {0, 0}}, false},
  };
  for (const Case& c : cases) {
    std::vector<Record> globals;
    for (const Bytes& body : c.date_modes) globals.push_back({record_type::kDateMode, body});
    EXPECT_EQ(BookWithGlobals(globals).Globals().Date1904(), c.date1904) << c.what;
  }
}

TEST(WorkbookGlobals, CellFormatsLeadToTheirOwnRecords) {
  const BiffWorkbook book = BookWithGlobals(
      {test_support::Xf(49), test_support::Format(164, u"0.0"), test_support::Xf(164),
       test_support::Format(164, u"@"), test_support::Xf(0)});
  const WorkbookGlobals& globals = book.Globals();
  std::vector<std::size_t> xf_records;
  for (std::size_t i = 0; i < book.GlobalsRecords().size(); ++i) {
    if (book.GlobalsRecords()[i].type == record_type::kXf) xf_records.push_back(i);
  }
  ASSERT_EQ(globals.CellFormats().size(), xf_records.size());
  for (std::size_t i = 0; i < xf_records.size(); ++i) {
    const XfEntry& xf = globals.CellFormats()[i];
    EXPECT_EQ(xf.record_index, xf_records[i]);
    EXPECT_EQ(xf.number_format,
              GetU16(book.GlobalsRecords()[xf_records[i]].body, xf_record::kFormat));
  }
  ASSERT_EQ(globals.NumberFormats().count(164), 1u);
  EXPECT_EQ(globals.NumberFormats().at(164), u"@");
  // The three given last, after the sixteen every stream starts with.
  const std::size_t first = xf_records.size() - 3;
  EXPECT_TRUE(globals.IsTextFormat(static_cast<std::uint16_t>(first)));
  EXPECT_TRUE(globals.IsTextFormat(static_cast<std::uint16_t>(first + 1)));
  EXPECT_FALSE(globals.IsTextFormat(static_cast<std::uint16_t>(first + 2)));
}

}  // namespace
}  // namespace xls::biff
