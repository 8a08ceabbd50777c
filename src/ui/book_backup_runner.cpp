#include "ui/book_backup_runner.h"

#include "billbook/bill_query.h"

namespace ui {

BookBackupRunner::BookBackupRunner() {
  timer_.setInterval(0);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Step(); });
}

void BookBackupRunner::Start(const std::filesystem::path& book, const billbook::LocalTime& today) {
  if (backup_) return;
  backup_.emplace(book, billbook::DayNumber(today.year, today.month, today.day));
  timer_.start();
}

void BookBackupRunner::Step() {
  if (!backup_ || !backup_->Step()) return;
  // A copy that failed is not told: the book itself is whole, the clerk could do nothing
  // about it, and the next day's first recording tries again.
  backup_.reset();
  timer_.stop();
}

}  // namespace ui
