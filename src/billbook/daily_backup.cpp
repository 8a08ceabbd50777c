#include "billbook/daily_backup.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <system_error>
#include <vector>

#include "billbook/sqlite_handle.h"

namespace billbook {

namespace {

// 32 pages of 4 KiB: a slice takes a few milliseconds even on a slow share, so the time
// budget, not the slice, decides how long a Step() holds on.
constexpr int kPagesPerSlice = 32;
// A writer holds the book for a few milliseconds per bill; the copy waits no longer than
// that and otherwise tries again on the next Step().
constexpr int kSourceBusyMilliseconds = 20;

std::u16string DayText(int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%08d", day);
  return std::u16string(text, text + 8);
}

// The day of a copy's name, or none for any other file in the folder.
std::optional<std::u16string> CopyDay(const std::u16string& name, const std::u16string& stem,
                                      const std::u16string& extension) {
  const std::u16string prefix = stem + u"-";
  if (name.size() != prefix.size() + 8 + extension.size()) return std::nullopt;
  if (name.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  if (name.compare(name.size() - extension.size(), extension.size(), extension) != 0) {
    return std::nullopt;
  }
  const std::u16string day = name.substr(prefix.size(), 8);
  if (!std::all_of(day.begin(), day.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
    return std::nullopt;
  }
  return day;
}

Failure FailureOfSystemError(const std::error_code& error) {
  if (error == std::errc::permission_denied || error == std::errc::read_only_file_system) {
    return Failure::kReadOnly;
  }
  if (error == std::errc::no_space_on_device) return Failure::kDiskFull;
  return Failure::kInputOutput;
}

}  // namespace

std::filesystem::path BackupCopyPath(const std::filesystem::path& book_file, int day) {
  return book_file.parent_path() / kBackupFolderName /
         (book_file.stem().u16string() + u"-" + DayText(day) + book_file.extension().u16string());
}

struct DailyBackup::Work {
  enum class Stage { kStart, kCopying, kFinished };

  std::filesystem::path book_file;
  int day = 0;
  Stage stage = Stage::kStart;
  BackupOutcome outcome;
  std::filesystem::path copy;
  std::filesystem::path part;  // the copy until it is whole, under a name no other PC takes
  std::optional<Connection> source;
  std::optional<Connection> destination;
  sqlite3_backup* backup = nullptr;

  ~Work() { Abandon(); }

  void Abandon() {
    if (backup) sqlite3_backup_finish(backup);
    backup = nullptr;
    destination.reset();
    source.reset();
    if (!part.empty()) {
      std::error_code ignored;
      std::filesystem::remove(part, ignored);
      part.clear();
    }
  }

  void Fail(Failure failure, const std::string& detail) {
    Abandon();
    outcome = {BackupOutcome::Kind::kFailed, {}, failure, detail};
    stage = Stage::kFinished;
  }

  void Start() {
    copy = BackupCopyPath(book_file, day);
    std::error_code error;
    if (!std::filesystem::is_regular_file(book_file, error) ||
        std::filesystem::exists(copy, error)) {
      stage = Stage::kFinished;
      return;
    }
    std::filesystem::create_directories(copy.parent_path(), error);
    if (error) return Fail(FailureOfSystemError(error), "backup folder: " + error.message());
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.part", std::random_device{}());
    part = copy;
    part += suffix;
    try {
      // Opened for writing only so that a journal left by a PC that crashed mid-bill is
      // rolled back first, as any reader of the book does; the backup writes nothing here.
      source.emplace(book_file, Connection::Mode::kReadWrite);
      source->SetBusyTimeout(kSourceBusyMilliseconds);
      destination.emplace(part, Connection::Mode::kReadWriteCreate);
      // The part file is thrown away if anything goes wrong, so it needs no journal. Nor is
      // it synced: a sync of 150 MB at the end would hold the window for as long as the
      // disk takes, far past a step's budget. The system writes it out within seconds; a
      // power cut before that can spoil that one copy, never the book (synced with every
      // bill), and the next day's copy is whole again.
      destination->Execute("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF");
    } catch (const BookError& failure) {
      return Fail(failure.failure(), failure.what());
    }
    backup = sqlite3_backup_init(destination->handle(), "main", source->handle(), "main");
    if (!backup) {
      return Fail(Failure::kInputOutput,
                  std::string("backup: ") + sqlite3_errmsg(destination->handle()));
    }
    stage = Stage::kCopying;
  }

  void Copy(std::chrono::milliseconds budget) {
    const auto end = std::chrono::steady_clock::now() + budget;
    do {
      const int result = sqlite3_backup_step(backup, kPagesPerSlice);
      if (result == SQLITE_DONE) return Finish();
      // Another PC is writing the book: the next Step() goes on.
      if ((result & 0xff) == SQLITE_BUSY || (result & 0xff) == SQLITE_LOCKED) return;
      if (result != SQLITE_OK) {
        return Fail(FailureOfResult(result), std::string("backup: ") + sqlite3_errstr(result));
      }
    } while (std::chrono::steady_clock::now() < end);
  }

  void Finish() {
    const int result = sqlite3_backup_finish(backup);
    backup = nullptr;
    if (result != SQLITE_OK) {
      return Fail(FailureOfResult(result), std::string("backup: ") + sqlite3_errstr(result));
    }
    destination.reset();
    source.reset();
    std::error_code error;
    // Another PC may have finished the day's copy first; either copy is a whole book.
    std::filesystem::rename(part, copy, error);
    if (error) return Fail(FailureOfSystemError(error), "backup rename: " + error.message());
    part.clear();
    outcome = {BackupOutcome::Kind::kMade, copy, Failure::kInputOutput, {}};
    stage = Stage::kFinished;
    Prune();
  }

  // Keeps the newest kBackupsKept copies; removes older ones and parts left by an earlier
  // day's broken-off copy. Files of any other name are the clerk's and stay.
  void Prune() {
    const std::u16string stem = book_file.stem().u16string();
    const std::u16string extension = book_file.extension().u16string();
    const std::u16string today = DayText(day);
    std::vector<std::filesystem::path> copies;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(copy.parent_path(), error)) {
      const std::u16string name = entry.path().filename().u16string();
      if (CopyDay(name, stem, extension)) {
        copies.push_back(entry.path());
      } else if (name.size() > 5 && name.compare(name.size() - 5, 5, u".part") == 0) {
        const auto dot = name.find(extension + u".");
        if (dot == std::u16string::npos) continue;
        const auto day_of_part = CopyDay(name.substr(0, dot + extension.size()), stem, extension);
        std::error_code ignored;
        if (day_of_part && *day_of_part < today) std::filesystem::remove(entry.path(), ignored);
      }
    }
    std::sort(copies.begin(), copies.end());
    for (std::size_t i = 0; i + kBackupsKept < copies.size(); ++i) {
      std::error_code ignored;
      std::filesystem::remove(copies[i], ignored);
    }
  }
};

DailyBackup::DailyBackup(std::filesystem::path book_file, int day)
    : work_(std::make_unique<Work>()) {
  work_->book_file = std::move(book_file);
  work_->day = day;
}

DailyBackup::~DailyBackup() = default;
DailyBackup::DailyBackup(DailyBackup&&) noexcept = default;
DailyBackup& DailyBackup::operator=(DailyBackup&&) noexcept = default;

bool DailyBackup::Step(std::chrono::milliseconds budget) {
  switch (work_->stage) {
    case Work::Stage::kStart:
      work_->Start();
      break;
    case Work::Stage::kCopying:
      work_->Copy(budget);
      break;
    case Work::Stage::kFinished:
      break;
  }
  return Finished();
}

bool DailyBackup::Finished() const {
  return work_->stage == Work::Stage::kFinished;
}

const BackupOutcome& DailyBackup::outcome() const {
  return work_->outcome;
}

}  // namespace billbook
