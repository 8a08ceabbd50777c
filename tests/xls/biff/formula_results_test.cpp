#include "xls/biff/formula_results.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xls/biff/record.h"

namespace {

using xls::biff::Record;
using xls::biff::StringRecords;
namespace record_type = xls::biff::record_type;

// A text result longer than one record: the STRING holds what fits, and the CONTINUE says
// again that its characters are two bytes each. Where the cut falls inside a surrogate
// pair, the whole pair moves on (xlrd and Excel refuse a pair cut in two).
TEST(FormulaResults, LongTextResultContinuesWithoutCuttingASurrogatePair) {
  // 3 header bytes and 4,109 wide characters leave 3 bytes of the 8,224: room for one
  // unit, the first half of 𠀀 (U+20000).
  std::u16string text(4109, u'码');
  text += u"\U00020000x";
  const std::vector<Record> records = StringRecords(text);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].type, record_type::kString);
  EXPECT_EQ(records[0].body.size(), 3u + 4109 * 2);
  EXPECT_EQ(records[0].body[0], 4112 & 0xFF);
  EXPECT_EQ(records[0].body[1], 4112 >> 8);
  EXPECT_EQ(records[0].body[2], 0x01);
  EXPECT_EQ(records[1].type, record_type::kContinue);
  EXPECT_EQ(records[1].body, (std::vector<std::uint8_t>{0x01, 0x40, 0xD8, 0x00, 0xDC, 0x78, 0x00}));

  // One-byte characters are split anywhere, each CONTINUE flagged as one-byte.
  const std::vector<Record> plain = StringRecords(std::u16string(8224 - 3 + 2, u'a'));
  ASSERT_EQ(plain.size(), 2u);
  EXPECT_EQ(plain[0].body.size(), 8224u);
  EXPECT_EQ(plain[1].body, (std::vector<std::uint8_t>{0x00, 'a', 'a'}));
}

}  // namespace
