#include "xls/file/lock_files.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "base/ascii_case.h"
#include "base/text_encoding.h"
#include "xls/file/file_operations.h"
#include "xls/file/lock_holder_probe.h"
#include "xls/file/whole_file.h"

namespace xls::file {

namespace fs = std::filesystem;

namespace {

// Lock files hold a line or two; anything larger is not one worth reading.
constexpr std::uintmax_t kMaxLockFileSize = 64 * 1024;

constexpr std::size_t kOwnerAnsiField = 54;  // length byte and padded name
constexpr std::size_t kOwnerMaxName = 53;

std::u16string AsciiOnly(std::span<const std::uint8_t> bytes) {
  std::u16string text;
  for (const std::uint8_t byte : bytes) {
    if (byte >= 0x80) return {};  // a code page we cannot know: better no name than a wrong one
    text.push_back(static_cast<char16_t>(byte));
  }
  return text;
}

std::u16string Trimmed(std::u16string text) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\0'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  while (!text.empty() && blank(text.front())) text.erase(text.begin());
  return text;
}

// Characters that would let a name from a file steer the message's layout or the terminal:
// C0 and C1 controls, and the marks, embeddings, overrides and isolates of bidirectional text.
bool Hidden(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// The fields of a LibreOffice lock: full name, login name, machine, date, profile.
std::vector<std::string> LibreOfficeFields(std::span<const std::uint8_t> contents) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < contents.size(); ++i) {
    const char c = static_cast<char>(contents[i]);
    if (c == '\\' && i + 1 < contents.size()) {
      fields.back().push_back(static_cast<char>(contents[++i]));
    } else if (c == ',') {
      fields.emplace_back();
    } else if (c == ';') {
      break;
    } else {
      fields.back().push_back(c);
    }
  }
  fields.resize(std::max<std::size_t>(fields.size(), 3));
  return fields;
}

// A LibreOffice of this user on this machine that is no longer running left the lock.
bool LeftByEndedLibreOffice(std::span<const std::uint8_t> contents) {
  const std::vector<std::string> fields = LibreOfficeFields(contents);
  const std::string login = LoginName();
  const std::string host = HostName();
  return !login.empty() && !host.empty() && fields[1] == login &&
         // Windows spells its computer name in capitals, LibreOffice as the network does.
         base::EqualIgnoringAsciiCase<char>(fields[2], host) && !LibreOfficeRunsHere();
}

enum class LockKind { kLibreOffice, kOwnerFile };

// Reads the lock file at `lock`, if there is a regular file there whose holder may still
// have the workbook open.
std::optional<LockHolder> HolderFromFile(const fs::path& lock, LockKind kind) {
  std::error_code error;
  const fs::file_status status = fs::status(lock, error);
  if (error || !fs::is_regular_file(status)) return std::nullopt;
  if (kind == LockKind::kOwnerFile && !HeldOpen(lock)) return std::nullopt;
  LockHolder holder;
  try {
    const std::vector<std::uint8_t> contents = ReadWholeFile(lock, kMaxLockFileSize);
    if (kind == LockKind::kLibreOffice && LeftByEndedLibreOffice(contents)) return std::nullopt;
    holder =
        kind == LockKind::kLibreOffice ? ReadLibreOfficeLock(contents) : ReadOwnerFile(contents);
  } catch (const std::system_error&) {
    // Unreadable (another user's, on a share): it still says the workbook is open.
  }
  holder.lock_file = lock;
  holder.removable = MayRemove(lock);
  return holder;
}

std::optional<LockHolder> HolderBeside(const fs::path& path) {
  const fs::path folder = path.parent_path();
  fs::path::string_type libre_office = fs::path(".~lock.").native();
  libre_office += path.filename().native();
  libre_office += fs::path("#").native();
  if (auto holder = HolderFromFile(folder / libre_office, LockKind::kLibreOffice)) return holder;
  fs::path::string_type owner = fs::path("~$").native();
  owner += path.filename().native();
  return HolderFromFile(folder / owner, LockKind::kOwnerFile);
}

}  // namespace

std::optional<LockHolder> FindLockHolder(const fs::path& path) {
  if (auto holder = HolderBeside(path)) return holder;
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    const fs::path target = fs::canonical(path, error);
    if (!error) return HolderBeside(target);
  }
  return std::nullopt;
}

std::u16string ShownName(std::u16string_view name) {
  std::u16string shown;
  for (const char16_t c : name) {
    if (Hidden(c)) continue;
    // Never half a surrogate pair at the cut.
    const bool pair_starts = base::IsHighSurrogate(c);
    if (shown.size() + (pair_starts ? 2 : 1) > kMaxHolderNameLength) break;
    shown.push_back(c);
  }
  return Trimmed(shown);
}

LockHolder ReadLibreOfficeLock(std::span<const std::uint8_t> contents) {
  const std::vector<std::string> fields = LibreOfficeFields(contents);
  LockHolder holder;
  holder.user = ShownName(Trimmed(base::FromUtf8(fields[0])));
  if (holder.user.empty()) holder.user = ShownName(Trimmed(base::FromUtf8(fields[1])));
  holder.machine = ShownName(Trimmed(base::FromUtf8(fields[2])));
  return holder;
}

LockHolder ReadOwnerFile(std::span<const std::uint8_t> contents) {
  LockHolder holder;
  if (contents.empty()) return holder;
  const std::size_t ansi_length = std::min<std::size_t>(contents[0], kOwnerMaxName);
  if (contents.size() >= kOwnerAnsiField + 2) {
    const auto length =
        static_cast<std::size_t>(contents[kOwnerAnsiField] | (contents[kOwnerAnsiField + 1] << 8));
    const std::size_t start = kOwnerAnsiField + 2;
    if (length > 0 && length <= kOwnerMaxName && contents.size() - start >= 2 * length) {
      std::u16string name;
      for (std::size_t i = 0; i < length; ++i) {
        name.push_back(
            static_cast<char16_t>(contents[start + 2 * i] | (contents[start + 2 * i + 1] << 8)));
      }
      // Through UTF-8 and back, so that an unpaired surrogate cannot reach a message.
      holder.user = ShownName(Trimmed(base::FromUtf8(base::ToUtf8(name))));
      if (!holder.user.empty()) return holder;
    }
  }
  if (contents.size() > ansi_length) {
    holder.user = ShownName(Trimmed(AsciiOnly(contents.subspan(1, ansi_length))));
  }
  return holder;
}

}  // namespace xls::file
