// How the writer lays files out (mini stream cutoff, DIFAT, sector size) and what the
// reader refuses, on hand-made and hand-damaged files.
#include <gtest/gtest.h>

#include <numeric>

#include "compound_files.h"
#include "xls/cfb/compound_file.h"
#include "xls/cfb/entry_name.h"

namespace {

using test_support::Bytes;
using test_support::U32At;
using xls::cfb::CompareEntryNames;
using xls::cfb::CompoundFile;
using xls::cfb::FormatError;

Bytes Pattern(std::size_t size, std::uint8_t seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 31);
  return bytes;
}

Bytes SmallFile() {
  return test_support::BuildCompoundFile(3, {{u"Workbook", Pattern(1000, 1)},
                                             {u"\x05SummaryInformation", Pattern(300, 2)},
                                             {u"Big", Pattern(9000, 3)}});
}

// The raw directory entry of that name in a written file (tests the bytes, not our reader).
std::array<std::uint8_t, 128> RawEntry(const Bytes& file, std::u16string_view name) {
  for (const auto& entry : test_support::RawDirectory(file)) {
    if (test_support::EntryName(entry) == name) return entry;
  }
  ADD_FAILURE() << "no entry";
  return {};
}

std::uint32_t RawSize(const std::array<std::uint8_t, 128>& entry) {
  return static_cast<std::uint32_t>(entry[120] | (entry[121] << 8) | (entry[122] << 16) |
                                    (entry[123] << 24));
}

TEST(CompoundFileWriter, StreamsMoveInAndOutOfTheMiniStreamAcrossTheCutoff) {
  CompoundFile file = CompoundFile::Read(SmallFile());
  for (const std::size_t size : {4095u, 4096u, 20000u, 64u, 0u, 1u, 3000u}) {
    file.ReplaceStream(u"Workbook", Pattern(size, 7));
    const Bytes written = file.Write();
    const CompoundFile reread = CompoundFile::Read(written);
    EXPECT_EQ(reread.ReadStream(u"Workbook"), Pattern(size, 7)) << size;
    EXPECT_EQ(reread.ReadStream(u"Big"), Pattern(9000, 3)) << size;
    EXPECT_EQ(reread.ReadStream(u"\x05SummaryInformation"), Pattern(300, 2)) << size;
    // The root's size is the mini stream's: only streams under 4096 bytes are in it.
    const std::size_t expected_mini = (size < 4096 ? (size + 63) / 64 * 64 : 0) + 320;
    EXPECT_EQ(RawSize(RawEntry(written, u"Root Entry")), expected_mini) << size;
    EXPECT_EQ(RawSize(RawEntry(written, u"Workbook")), size);
  }
}

TEST(CompoundFileWriter, DirectoryEntriesKeepEverythingButTheirPlace) {
  Bytes original = SmallFile();
  // Give the entries metadata a careless writer would lose: CLSID, state bits, timestamps.
  const std::size_t directory = (U32At(original, 48) + 1) * 512;
  for (std::size_t at = 80; at < 116; ++at)
    original[directory + 128 + at] = static_cast<std::uint8_t>(at);
  CompoundFile file = CompoundFile::Read(original);
  file.ReplaceStream(u"Workbook", Pattern(5000, 9));
  const auto before = test_support::RawDirectory(original);
  const auto after = test_support::RawDirectory(file.Write());
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    // Bytes 116..127 are the start sector and size, which a new layout must change.
    EXPECT_TRUE(std::equal(before[i].begin(), before[i].begin() + 116, after[i].begin())) << i;
  }
}

TEST(CompoundFileWriter, HugeStreamsListTheirFatSectorsInDifatSectors) {
  CompoundFile file = CompoundFile::Read(SmallFile());
  // 109 FAT sectors in the header cover 109 * 128 sectors of 512 bytes, just under 7 MiB.
  const Bytes huge = Pattern(9'000'000, 5);
  file.ReplaceStream(u"Big", huge);
  const Bytes written = file.Write();
  EXPECT_GT(U32At(written, 72), 0u) << "DIFAT sector count";
  EXPECT_GT(U32At(written, 44), 109u) << "FAT sector count";
  const CompoundFile reread = CompoundFile::Read(written);
  EXPECT_EQ(reread.ReadStream(u"Big"), huge);
  EXPECT_EQ(reread.ReadStream(u"Workbook"), Pattern(1000, 1));
  // The independent directory walk must also find its way through the DIFAT.
  EXPECT_EQ(RawSize(RawEntry(written, u"Big")), huge.size());
}

TEST(CompoundFileWriter, VersionFourFilesKeepTheirLargeSectors) {
  const Bytes original = test_support::BuildCompoundFile(
      4, {{u"Workbook", Pattern(700, 1)}, {u"Big", Pattern(10000, 2)}});
  CompoundFile file = CompoundFile::Read(original);
  EXPECT_EQ(file.MajorVersion(), 4);
  EXPECT_EQ(file.ReadStream(u"Workbook"), Pattern(700, 1));
  EXPECT_EQ(file.ReadStream(u"Big"), Pattern(10000, 2));

  file.ReplaceStream(u"Workbook", Pattern(6000, 3));
  const Bytes written = file.Write();
  EXPECT_EQ(test_support::U16At(written, 26), 4);
  EXPECT_EQ(test_support::U16At(written, 30), 12);
  EXPECT_EQ(written.size() % 4096, 0u);
  EXPECT_EQ(U32At(written, 40), 1u) << "version 4 counts its directory sectors";
  const CompoundFile reread = CompoundFile::Read(written);
  EXPECT_EQ(reread.ReadStream(u"Workbook"), Pattern(6000, 3));
  EXPECT_EQ(reread.ReadStream(u"Big"), Pattern(10000, 2));
}

TEST(CompoundFileWriter, StreamsAreFoundByNameWithoutRegardToCase) {
  CompoundFile file = CompoundFile::Read(SmallFile());
  EXPECT_EQ(file.ReadStream(u"WORKBOOK"), Pattern(1000, 1));
  EXPECT_FALSE(file.ReadStream(u"Workbook2"));
  EXPECT_FALSE(file.ReadStream(u"Root Entry")) << "the root is a storage, not a stream";
  EXPECT_THROW(file.ReplaceStream(u"Book", {}), std::invalid_argument);
}

TEST(CompoundFileWriter, NamesSortShorterFirstThenByUpperCase) {
  EXPECT_LT(CompareEntryNames(u"Zz", u"aaa"), 0);
  EXPECT_EQ(CompareEntryNames(u"workbook", u"WorkBook"), 0);
  EXPECT_LT(CompareEntryNames(u"Book", u"Bool"), 0);
  EXPECT_GT(CompareEntryNames(u"_", u"a"), 0) << "'_' sorts after 'A' once upper-cased";
  EXPECT_EQ(CompareEntryNames(u"\u00e9t\u00e9", u"\u00c9T\u00c9"), 0);
  EXPECT_EQ(CompareEntryNames(u"\u0434\u0430", u"\u0414\u0410"), 0);
  EXPECT_EQ(CompareEntryNames(u"\u03c3\u03c2", u"\u03a3\u03a3"), 0);
  EXPECT_NE(CompareEntryNames(u"\u8d44\u6599", u"\u7801\u5355"), 0);
}

void ExpectRefused(const Bytes& bytes, const std::string& message_part) {
  try {
    CompoundFile::Read(bytes);
    ADD_FAILURE() << "accepted; expected: " << message_part;
  } catch (const FormatError& error) {
    EXPECT_NE(std::string(error.what()).find(message_part), std::string::npos) << error.what();
  }
}

TEST(CompoundFileWriter, OtherFormatsAndBrokenHeadersAreRefused) {
  const Bytes good = SmallFile();
  ExpectRefused({'P', 'K', 3, 4, 20, 0, 6, 0}, "zip");
  const std::string html = "<!DOCTYPE html><html><body>Workbook</body></html>";
  ExpectRefused(Bytes(html.begin(), html.end()), "not a compound file");
  ExpectRefused({}, "not a compound file");
  ExpectRefused(Bytes(good.begin(), good.begin() + 300), "truncated");

  auto with = [&](std::size_t at, std::uint8_t value) {
    Bytes bytes = good;
    bytes[at] = value;
    return bytes;
  };
  ExpectRefused(with(26, 5), "version");
  ExpectRefused(with(30, 12), "sector size");  // version 3 with 4096-byte sectors
  ExpectRefused(with(28, 0xFF), "byte order");
  ExpectRefused(with(32, 7), "mini sector");
}

TEST(CompoundFileWriter, BrokenChainsAndTreesAreRefused) {
  const Bytes good = SmallFile();
  const std::size_t fat = (U32At(good, 76) + 1) * 512;
  const std::uint32_t directory_sector = U32At(good, 48);
  const std::size_t directory = (directory_sector + 1) * 512;

  Bytes looping = good;  // the directory chain leads back to itself
  test_support::PutU32(looping, fat + 4 * directory_sector, directory_sector);
  ExpectRefused(looping, "used twice");

  Bytes overlong = good;  // "Big" claims more bytes than its chain holds
  test_support::PutU32(overlong, directory + 3 * 128 + 120, 9000 + 512 * 3);
  ExpectRefused(overlong, "chain ends");

  Bytes huge = good;  // a size far beyond the file must not be allocated
  test_support::PutU32(huge, directory + 3 * 128 + 120, 0xFFFFFF00);
  ExpectRefused(huge, "larger than the file");

  Bytes cyclic_tree = good;  // the last stream's right sibling is the first again
  test_support::PutU32(cyclic_tree, directory + 3 * 128 + 72, 1);
  ExpectRefused(cyclic_tree, "loops");

  Bytes dangling = good;
  test_support::PutU32(dangling, directory + 128 + 72, 4000);
  ExpectRefused(dangling, "out of range");

  Bytes shared = good;  // "Workbook" starts in the mini sectors of the summary stream
  test_support::PutU32(shared, directory + 2 * 128 + 116, U32At(good, directory + 128 + 116) + 2);
  ExpectRefused(shared, "used twice");
}

}  // namespace
