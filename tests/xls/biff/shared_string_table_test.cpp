#include <gtest/gtest.h>

#include "xls/biff/byte_io.h"
#include "xls/biff/shared_string_table.h"

namespace xls::biff {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Counts(std::uint32_t total, std::uint32_t unique) {
  Bytes out;
  AppendU32(out, total);
  AppendU32(out, unique);
  return out;
}

// The table's records laid out as a stream starting at offset 0.
Bytes Laid(const std::vector<Record>& records) {
  Bytes out;
  for (const Record& record : records) AppendRecord(out, record);
  return out;
}

std::vector<std::vector<std::uint8_t>> Bodies(const std::vector<Record>& records) {
  std::vector<std::vector<std::uint8_t>> bodies;
  for (const Record& record : records) bodies.push_back(record.body);
  return bodies;
}

TEST(SharedStringTable, ReadsStringsSplitAcrossContinueWithTheirFlagsResent) {
  // "ABC码" starts compressed in the SST and goes on as UTF-16 in the first CONTINUE, which
  // then starts a rich string whose formatting run crosses into a second CONTINUE (runs
  // take no flags byte), followed by a plain string.
  Bytes sst = Counts(3, 3);
  sst.insert(sst.end(), {0x04, 0x00, 0x00, 'A', 'B'});
  Bytes next{0x01, 'C', 0x00, 0x01, 0x78};  // flags: UTF-16 from here
  next.insert(next.end(), {0x02, 0x00, 0x08, 0x01, 0x00, 'x', 'y', 0x00, 0x00});
  Bytes last{0x01, 0x00};  // rest of the run
  last.insert(last.end(), {0x01, 0x00, 0x00, 'z'});
  const SharedStringTable table = SharedStringTable::Parse({sst, next, last});
  ASSERT_EQ(table.Count(), 3u);
  EXPECT_EQ(*table.Find(0), u"ABC码");
  EXPECT_EQ(*table.Find(1), u"xy");
  EXPECT_EQ(*table.Find(2), u"z");
  EXPECT_EQ(table.Find(3), nullptr);
}

TEST(SharedStringTable, DamagedTablesFailAndLeftoverBytesAreCut) {
  Bytes short_string = Counts(1, 1);
  short_string.insert(short_string.end(), {0x09, 0x00, 0x00, 'A'});
  EXPECT_THROW(SharedStringTable::Parse({short_string}), BiffFormatError);

  // One declared string, then junk: the junk goes, and an appended string follows "A".
  Bytes junk = Counts(1, 1);
  junk.insert(junk.end(), {0x01, 0x00, 0x00, 'A', 0x07});
  SharedStringTable table = SharedStringTable::Parse({junk});
  EXPECT_EQ(table.Add(u"B"), 1u);
  const SharedStringTable reread = SharedStringTable::Parse(Bodies(table.Records()));
  ASSERT_EQ(reread.Count(), 2u);
  EXPECT_EQ(*reread.Find(1), u"B");
}

TEST(SharedStringTable, KeepsOnlyUsedStringsWithTheirFormattingAndReusesPlainOnes) {
  Bytes sst = Counts(2, 2);
  sst.insert(sst.end(), {0x01, 0x00, 0x00, 'a'});
  const Bytes rich_b{0x01, 0x00, 0x08, 0x01, 0x00, 'b', 0, 0, 5, 0};  // one run: font 5
  sst.insert(sst.end(), rich_b.begin(), rich_b.end());
  SharedStringTable table = SharedStringTable::Parse({sst});
  EXPECT_EQ(table.Add(u"a"), 0u);
  EXPECT_EQ(table.Add(u"b"), 2u);  // the rich one would bring its formatting along
  EXPECT_EQ(table.Add(u"码单"), 3u);
  EXPECT_EQ(table.Add(u"码单"), 3u);
  table.SetTotalReferences(9);
  std::vector<Record> records = table.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(GetU32(records[0].body, 0), 9u);
  EXPECT_EQ(GetU32(records[0].body, 4), 4u);
  // Unchanged strings are written as they were read, formatting runs included.
  EXPECT_TRUE(std::equal(sst.begin() + 8, sst.end(), records[0].body.begin() + 8));

  // Only "b" (rich) and "码单" are still shown: "a" and the plain "b" go.
  const std::vector<std::uint32_t> renumbered = table.Compact({false, true, false, true});
  EXPECT_EQ(renumbered, (std::vector<std::uint32_t>{2, 0, 2, 1}));
  records = table.Records();
  Bytes expected = Counts(9, 2);
  expected.insert(expected.end(), rich_b.begin(), rich_b.end());
  expected.insert(expected.end(), {0x02, 0x00, 0x01, 0x01, 0x78, 0x55, 0x53});
  EXPECT_EQ(records[0].body, expected);
  EXPECT_EQ(table.Add(u"a"), 2u);  // a plain "a" again is new
}

TEST(SharedStringTable, SurrogatePairsStayInOneRecordAndLoneHalvesBecomeReplacements) {
  SharedStringTable table;
  // After this filler and the next header, 10 bytes are left: five UTF-16 units, the
  // fifth the first half of a pair.
  table.Add(std::u16string(8224 - 8 - 3 - 3 - 10, u'f'));
  std::u16string rare;
  for (int i = 0; i < 6; ++i) rare += u"\U00020BB7";  // 𠮷
  table.Add(rare);
  const std::vector<Record> records = table.Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].body.size(), 8224u - 2);  // two pairs, not two and a half
  EXPECT_EQ(records[1].body[0], 0x01);
  EXPECT_EQ(GetU16(records[1].body, 1), 0xD842);  // the third pair starts the CONTINUE
  const SharedStringTable reread = SharedStringTable::Parse(Bodies(records));
  EXPECT_EQ(*reread.Find(1), rare);

  const std::u16string lone_high{u'a', static_cast<char16_t>(0xD800), u'b'};
  const std::u16string lone_low{static_cast<char16_t>(0xDC00)};
  EXPECT_EQ(*table.Find(table.Add(lone_high)), u"a\uFFFDb");
  EXPECT_EQ(*table.Find(table.Add(lone_low)), u"\uFFFD");
  EXPECT_EQ(*table.Find(table.Add(u"\U0001F600")), u"\U0001F600");
}

// Fills the table until strings must continue, and checks every record limit and rule.
TEST(SharedStringTable, WritesAcrossThe8224ByteBoundaryByTheContinueRules) {
  SharedStringTable table;
  std::vector<std::u16string> added;
  // 8216 bytes of body before the next string: its header and two characters fit.
  const std::u16string filler(8224 - 8 - 3 - 8, u'f');
  added.push_back(filler);
  added.push_back(std::u16string(10, u'码'));   // two-byte characters across the boundary
  added.push_back(std::u16string(9000, u'x'));  // longer than one record
  added.push_back(u"tail");
  for (const auto& text : added) table.Add(text);
  table.SetTotalReferences(4);
  const std::vector<Record> records = table.Records();
  ASSERT_EQ(records.size(), 3u);
  for (const Record& record : records) EXPECT_LE(record.body.size(), kMaxRecordBody);
  EXPECT_EQ(records[0].type, record_type::kSst);
  EXPECT_EQ(records[1].type, record_type::kContinue);
  // First record ends in the middle of the Chinese string's characters: 2 of them fit.
  EXPECT_EQ(records[0].body.size(), 8224u - 1);
  // The continuation starts with the flags byte saying "UTF-16".
  EXPECT_EQ(records[1].body[0], 0x01);
  const SharedStringTable reread = SharedStringTable::Parse(Bodies(records));
  ASSERT_EQ(reread.Count(), added.size());
  for (std::size_t i = 0; i < added.size(); ++i) EXPECT_EQ(*reread.Find(i), added[i]) << i;

  // EXTSST points at the first string of each bucket, in the stream and in its record.
  const Bytes stream = Laid(records);
  const Record ext = table.ExtSstRecord(0);
  const std::uint16_t per_bucket = GetU16(ext.body, 0);
  ASSERT_EQ(ext.body.size(), 2u + 8u * ((added.size() + per_bucket - 1) / per_bucket));
  const std::uint32_t position = GetU32(ext.body, 2);
  EXPECT_EQ(GetU16(ext.body, 6), position);  // first record: stream and record offsets agree
  EXPECT_EQ(GetU16(stream, position), filler.size());
}

TEST(SharedStringTable, ExtSstIndexesEveryBucketAtItsStreamPosition) {
  SharedStringTable table;
  for (int i = 0; i < 3000; ++i)
    table.Add(u"string number " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
              std::u16string(static_cast<std::size_t>(i % 40), u'.') +
              std::u16string(1, static_cast<char16_t>(0x4E00 + i)));
  table.SetTotalReferences(3000);
  const std::size_t sst_offset = 100;
  Bytes stream(sst_offset, 0);
  const Bytes laid = Laid(table.Records());
  stream.insert(stream.end(), laid.begin(), laid.end());
  const Record ext = table.ExtSstRecord(sst_offset);
  EXPECT_LE(ext.body.size(), kMaxRecordBody);
  const std::uint16_t per_bucket = GetU16(ext.body, 0);
  for (std::size_t bucket = 0; bucket * per_bucket < 3000; ++bucket) {
    const std::size_t entry = 2 + 8 * bucket;
    const std::uint32_t position = GetU32(ext.body, entry);
    const std::uint16_t in_record = GetU16(ext.body, entry + 4);
    // The record holding the string starts in_record bytes earlier, with an SST or
    // CONTINUE header.
    const std::uint16_t type = GetU16(stream, position - in_record);
    EXPECT_TRUE(type == record_type::kSst || type == record_type::kContinue) << bucket;
    const std::size_t index = bucket * per_bucket;
    EXPECT_EQ(GetU16(stream, position), 15 + index % 40 + 1) << bucket;
  }
}

}  // namespace
}  // namespace xls::biff
