#pragma once

// The bill book (账本): every printed bill kept in one SQLite file beside the workbook,
// found again, reprinted, corrected, voided and summed. Each call opens the file, does its
// work in at most one short transaction and closes it, so that PCs sharing the folder take
// turns. Failures are BookErrors; an existing file is never truncated, reset or replaced.

#include <filesystem>
#include <string>
#include <vector>

#include "billbook/bill.h"
#include "billbook/bill_query.h"
#include "billbook/daily_backup.h"

namespace billbook {

// The book's name beside the workbook.
inline constexpr char16_t kBookFileName[] = u"锯材账本.db";

class BillBook {
 public:
  explicit BillBook(std::filesystem::path file) : file_(std::move(file)) {}

  // Records a printed bill. With no `number`, a new bill, numbered with the day's next
  // serial. With the number of a bill in the book: the same content as its latest revision
  // is a reprint (its print count grows), other content a new revision of that number.
  Recorded Record(const std::string& number, const BillContent& content, const Recorder& recorder);

  // The bill of `number`, every revision newest first; kNoSuchBill if it is not there.
  OpenedBill Open(const std::string& number) const;

  // 作废: the bill stays in the book, marked, and leaves every total. Voiding a voided bill
  // keeps the first reason.
  void Void(const std::string& number, const std::string& reason, const Recorder& recorder);

  // The bills `query` finds, newest first, from the `offset`-th on, at most `limit` of them:
  // the caller reads only what it shows.
  std::vector<BillRow> List(const BillQuery& query, int offset, int limit) const;
  // Every bill `query` finds, oldest first, in full, read at one moment: what another PC
  // records meanwhile is either wholly in it or not at all.
  std::vector<BillInFull> ListInFull(const BillQuery& query) const;
  // Bills, m³ and 元 of all that `query` finds, voided bills left out.
  Totals Sum(const BillQuery& query) const;
  // The same per buyer (by name) and per day (oldest first).
  std::vector<BuyerSummary> SummaryByBuyer(const BillQuery& query) const;
  std::vector<DaySummary> SummaryByDay(const BillQuery& query) const;
  // Per buyer, and within each buyer per month (oldest first): a year's or ten years' table.
  std::vector<BuyerMonthSummary> SummaryByBuyerAndMonth(const BillQuery& query) const;

  // The day's copy of the book (daily_backup.h), begun after a recording: the window steps
  // it from its timer; BackUpIfDue does it all in one call.
  DailyBackup StartBackup(const LocalTime& today) const;
  BackupOutcome BackUpIfDue(const LocalTime& today) const;

  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

}  // namespace billbook
