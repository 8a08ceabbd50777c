// The backup a save in place leaves beside the workbook: what it records survives the trip
// through the file, damage is told apart, and only the states that save's writing can leave
// count as torn by it.
#include "xls/file/save_backup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Filled(std::size_t size, std::uint8_t value) {
  return Bytes(size, value);
}

xls::file::SaveBackup Sample(std::size_t old_size, std::size_t new_size) {
  xls::file::SaveBackup backup;
  backup.device = 0x0102030405060708u;
  backup.file_id = 42;
  backup.host = "财务室";
  backup.process_id = 1;
  backup.save_id.fill(7);
  backup.old_contents = Filled(old_size, 'o');
  backup.new_contents = Filled(new_size, 'n');
  return backup;
}

TEST(SaveBackup, RoundTripsAndTellsDamageApart) {
  const xls::file::SaveBackup backup = Sample(3000, 2000);
  Bytes bytes = xls::file::EncodeBackup(backup);
  ASSERT_EQ(xls::file::StateOfBackup(bytes), xls::file::BackupState::kLive);
  const auto decoded = xls::file::DecodeBackup(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->device, backup.device);
  EXPECT_EQ(decoded->file_id, backup.file_id);
  EXPECT_EQ(decoded->host, backup.host);
  EXPECT_EQ(decoded->old_contents, backup.old_contents);
  EXPECT_EQ(decoded->new_contents, backup.new_contents);

  Bytes cut = bytes;
  cut.resize(cut.size() - 100);
  Bytes flipped = bytes;
  flipped[bytes.size() / 2] ^= 1;
  Bytes retired = bytes;
  std::copy(xls::file::RetiredMagic().begin(), xls::file::RetiredMagic().end(), retired.begin());
  const struct {
    Bytes bytes;
    xls::file::BackupState state;
  } cases[] = {{cut, xls::file::BackupState::kBroken},
               {flipped, xls::file::BackupState::kBroken},
               {Bytes{}, xls::file::BackupState::kBroken},
               {Bytes(bytes.begin(), bytes.begin() + 3), xls::file::BackupState::kBroken},
               {retired, xls::file::BackupState::kRetired},
               {Filled(5000, 'o'), xls::file::BackupState::kForeign}};
  for (const auto& c : cases) {
    EXPECT_EQ(xls::file::StateOfBackup(c.bytes), c.state);
    EXPECT_FALSE(xls::file::DecodeBackup(c.bytes));
  }
}

// What a save from 3000 'o' to 2000 'n' (shrinking) or to 5000 'n' (growing) may leave.
TEST(SaveBackup, OnlyWhatThatSavesWritingLeavesCountsAsTornByIt) {
  // `new_part` bytes of the new contents, then the old ones up to `old_end`, then zeros.
  const auto mixed = [](std::size_t new_part, std::size_t old_end, std::size_t total) {
    Bytes bytes(total);
    for (std::size_t i = 0; i < total; ++i) bytes[i] = i < new_part ? 'n' : i < old_end ? 'o' : 0;
    return bytes;
  };
  Bytes two_cuts = mixed(1000, 3000, 3000);
  for (std::size_t i = 1800; i < 1805; ++i) two_cuts[i] = 'n';
  Bytes foreign = Filled(3000, 'o');
  foreign[2000] = 'x';
  const struct {
    const char* what;
    std::size_t new_size;
    Bytes current;
    bool torn;
  } cases[] = {
      {"killed while writing, shrinking", 2000, mixed(1234, 3000, 3000), true},
      {"written, not yet cut", 2000, mixed(2000, 3000, 3000), true},
      {"killed while growing", 5000, mixed(4321, 3000, 4321), true},
      {"grown with zeros by a power cut", 5000, mixed(1024, 3000, 4096), true},
      {"the old contents", 2000, Filled(3000, 'o'), false},
      {"the new contents", 2000, Filled(2000, 'n'), false},
      {"two places where writing stopped", 2000, two_cuts, false},
      {"a change no save of these made", 2000, foreign, false},
      {"shorter than either", 2000, Filled(1500, 'n'), false},
      {"longer than either", 5000, mixed(5000, 3000, 5200), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(xls::file::TornBy(Sample(3000, c.new_size), c.current), c.torn) << c.what;
  }
}

}  // namespace
