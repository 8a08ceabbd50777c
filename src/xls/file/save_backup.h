#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace xls::file {

// What a save that writes into the workbook itself keeps beside it until the new contents
// are on disk: which file and which save it belongs to, and both contents, so that a
// later open can prove the workbook was torn by that very save before putting the old
// contents back. The file ends with a checksum of everything after its magic, so a copy
// cut short by a crash is never taken for a whole one.
struct SaveBackup {
  std::uint64_t device = 0;
  std::uint64_t file_id = 0;
  std::string host;  // the machine that saved, for people looking at the file
  std::uint64_t process_id = 0;
  std::array<std::uint8_t, 16> save_id{};
  std::vector<std::uint8_t> old_contents;
  std::vector<std::uint8_t> new_contents;
};

std::vector<std::uint8_t> EncodeBackup(const SaveBackup& backup);

// What the bytes of a file named like a backup are.
enum class BackupState {
  kForeign,  // not written by this program
  kBroken,   // begun by this program, never finished (or damaged since); empty, say
  kRetired,  // one that was used or superseded and could not be deleted
  kLive,
};
BackupState StateOfBackup(std::span<const std::uint8_t> bytes);
// The backup in `bytes`, where their state is kLive.
std::optional<SaveBackup> DecodeBackup(std::span<const std::uint8_t> bytes);

// The first bytes that turn a live backup into a retired one, in place.
std::span<const std::uint8_t> RetiredMagic();
inline constexpr std::size_t kBackupMagicSize = 8;

// Whether `current` is what the save of `backup` can have left when it stopped part-way:
// neither contents whole, a size between the two, and every 512-byte piece the old or the
// new contents at that place (zeros past the old end, where the file grew), save for one
// piece where the writing stopped.
bool TornBy(const SaveBackup& backup, std::span<const std::uint8_t> current);

// A save stopped by a file beside the workbook that belongs to an interrupted save.
class SaveBlocked : public std::system_error {
 public:
  enum class Reason {
    kBackupOutOfReach,   // a backup this user may neither read nor retire
    kBackupNotShareable  // ours could not be made readable to all who read the workbook
  };
  SaveBlocked(Reason reason, std::filesystem::path file)
      : std::system_error(std::make_error_code(std::errc::permission_denied),
                          "backup in the way: " + file.string()),
        reason_(reason),
        file_(std::move(file)) {}
  Reason WhatStops() const { return reason_; }
  const std::filesystem::path& File() const { return file_; }

 private:
  Reason reason_;
  std::filesystem::path file_;
};

// The backup-file name prefix used for `path`; exposed for tests.
std::filesystem::path::string_type BackupPrefix(const std::filesystem::path& path);

}  // namespace xls::file
