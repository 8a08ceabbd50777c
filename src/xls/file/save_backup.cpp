#include "xls/file/save_backup.h"

#include <algorithm>
#include <cstring>

namespace xls::file {

namespace {

constexpr std::uint8_t kLiveMagic[kBackupMagicSize] = {'V', 'D', 'L', 'N', 'B', 'A', 'K', 1};
constexpr std::uint8_t kRetiredMagic[kBackupMagicSize] = {'V', 'D', 'L', 'N', 'O', 'L', 'D', 1};
constexpr std::size_t kChecksumSize = 8;
constexpr std::size_t kMaxHostName = 255;
constexpr std::size_t kPiece = 512;

// FNV-1a, 64 bits: enough to tell a whole copy from a torn or zero-filled one.
std::uint64_t Checksum(std::span<const std::uint8_t> bytes) {
  std::uint64_t hash = 0xCBF29CE484222325u;
  for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001B3u;
  return hash;
}

void Put64(std::vector<std::uint8_t>& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Get64(std::uint64_t& value) {
    if (bytes_.size() - at_ < 8) return false;
    value = 0;
    for (std::size_t i = 0; i < 8; ++i) value |= std::uint64_t{bytes_[at_ + i]} << (8 * i);
    at_ += 8;
    return true;
  }
  bool Take(std::size_t size, std::span<const std::uint8_t>& out) {
    if (bytes_.size() - at_ < size) return false;
    out = bytes_.subspan(at_, size);
    at_ += size;
    return true;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

bool StartsWith(std::span<const std::uint8_t> bytes,
                const std::uint8_t (&magic)[kBackupMagicSize]) {
  return bytes.size() >= kBackupMagicSize &&
         std::equal(magic, magic + kBackupMagicSize, bytes.begin());
}

bool Same(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

// A checked backup's body: everything between the magic and the checksum.
std::optional<std::span<const std::uint8_t>> Body(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kBackupMagicSize + kChecksumSize) return std::nullopt;
  const auto body =
      bytes.subspan(kBackupMagicSize, bytes.size() - kBackupMagicSize - kChecksumSize);
  std::uint64_t stored = 0;
  Reader(bytes.last(kChecksumSize)).Get64(stored);
  if (stored != Checksum(body)) return std::nullopt;
  return body;
}

}  // namespace

std::vector<std::uint8_t> EncodeBackup(const SaveBackup& backup) {
  std::vector<std::uint8_t> out(kLiveMagic, kLiveMagic + kBackupMagicSize);
  Put64(out, backup.device);
  Put64(out, backup.file_id);
  Put64(out, backup.process_id);
  out.insert(out.end(), backup.save_id.begin(), backup.save_id.end());
  const std::string host = backup.host.substr(0, kMaxHostName);
  Put64(out, host.size());
  out.insert(out.end(), host.begin(), host.end());
  Put64(out, backup.old_contents.size());
  Put64(out, Checksum(backup.old_contents));
  Put64(out, backup.new_contents.size());
  Put64(out, Checksum(backup.new_contents));
  out.insert(out.end(), backup.old_contents.begin(), backup.old_contents.end());
  out.insert(out.end(), backup.new_contents.begin(), backup.new_contents.end());
  Put64(out, Checksum(std::span(out).subspan(kBackupMagicSize)));
  return out;
}

BackupState StateOfBackup(std::span<const std::uint8_t> bytes) {
  // A saver that died between creating its backup and writing the magic left this much.
  if (bytes.size() < kBackupMagicSize && std::equal(bytes.begin(), bytes.end(), kLiveMagic)) {
    return BackupState::kBroken;
  }
  const bool live = StartsWith(bytes, kLiveMagic);
  if (!live && !StartsWith(bytes, kRetiredMagic)) return BackupState::kForeign;
  if (!Body(bytes)) return BackupState::kBroken;
  return live ? BackupState::kLive : BackupState::kRetired;
}

std::optional<SaveBackup> DecodeBackup(std::span<const std::uint8_t> bytes) {
  if (StateOfBackup(bytes) != BackupState::kLive) return std::nullopt;
  Reader in(*Body(bytes));
  SaveBackup backup;
  std::uint64_t host_size = 0, old_size = 0, old_sum = 0, new_size = 0, new_sum = 0;
  std::span<const std::uint8_t> id, host, old_bytes, new_bytes;
  if (!in.Get64(backup.device) || !in.Get64(backup.file_id) || !in.Get64(backup.process_id) ||
      !in.Take(backup.save_id.size(), id) || !in.Get64(host_size) || host_size > kMaxHostName ||
      !in.Take(host_size, host) || !in.Get64(old_size) || !in.Get64(old_sum) ||
      !in.Get64(new_size) || !in.Get64(new_sum) || !in.Take(old_size, old_bytes) ||
      !in.Take(new_size, new_bytes) || !in.AtEnd() || Checksum(old_bytes) != old_sum ||
      Checksum(new_bytes) != new_sum) {
    return std::nullopt;
  }
  std::copy(id.begin(), id.end(), backup.save_id.begin());
  backup.host.assign(host.begin(), host.end());
  backup.old_contents.assign(old_bytes.begin(), old_bytes.end());
  backup.new_contents.assign(new_bytes.begin(), new_bytes.end());
  return backup;
}

std::span<const std::uint8_t> RetiredMagic() {
  return kRetiredMagic;
}

bool TornBy(const SaveBackup& backup, std::span<const std::uint8_t> current) {
  const std::span<const std::uint8_t> old_bytes = backup.old_contents;
  const std::span<const std::uint8_t> new_bytes = backup.new_contents;
  if (Same(current, old_bytes) || Same(current, new_bytes)) return false;
  const std::size_t smaller = std::min(old_bytes.size(), new_bytes.size());
  const std::size_t larger = std::max(old_bytes.size(), new_bytes.size());
  if (current.size() < smaller || current.size() > larger) return false;
  // The new contents at [from, to), where they reach that far.
  const auto is_new = [&](std::size_t from, std::size_t to) {
    return to <= new_bytes.size() &&
           Same(current.subspan(from, to - from), new_bytes.subspan(from, to - from));
  };
  // The old contents at [from, to), and zeros past their end: a file grown by writes a
  // power cut did not let reach the disk.
  const auto is_old = [&](std::size_t from, std::size_t to) {
    const std::size_t old_end = std::clamp(old_bytes.size(), from, to);
    const auto zeros = current.subspan(old_end, to - old_end);
    return (old_end == from ||
            Same(current.subspan(from, old_end - from), old_bytes.subspan(from, old_end - from))) &&
           std::all_of(zeros.begin(), zeros.end(), [](std::uint8_t b) { return b == 0; });
  };
  bool split_seen = false;
  for (std::size_t from = 0; from < current.size(); from += kPiece) {
    const std::size_t to = std::min(from + kPiece, current.size());
    if (is_old(from, to) || is_new(from, to)) continue;
    // Where one write stopped: the new contents up to some byte, the old ones after it.
    if (split_seen) return false;
    split_seen = true;
    std::size_t cut = from;
    while (cut < to && cut < new_bytes.size() && current[cut] == new_bytes[cut]) ++cut;
    if (!is_old(cut, to)) return false;
  }
  return true;
}

std::filesystem::path::string_type BackupPrefix(const std::filesystem::path& path) {
  return std::filesystem::path(".").native() + path.filename().native() +
         std::filesystem::path(".backup-").native();
}

}  // namespace xls::file
