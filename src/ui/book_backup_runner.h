#pragma once

#include <QTimer>
#include <filesystem>
#include <optional>

#include "billbook/bill.h"
#include "billbook/daily_backup.h"

namespace ui {

// The book's daily copy into 账本备份, made in slices between the window's events, so that
// even a book of many years never holds the window for more than a slice.
class BookBackupRunner {
 public:
  BookBackupRunner();

  // Starts today's copy of `book` unless one is under way; nothing happens when today's
  // copy is already there.
  void Start(const std::filesystem::path& book, const billbook::LocalTime& today);
  bool Running() const { return backup_.has_value(); }

 private:
  void Step();

  std::optional<billbook::DailyBackup> backup_;
  QTimer timer_;
};

}  // namespace ui
