#pragma once

// Writes new bills and revisions inside the caller's open write transaction, each statement
// prepared once: BillBook::Record writes one bill with it, a BulkRecorder many.

#include <cstdint>
#include <string>

#include "billbook/bill.h"
#include "billbook/sqlite_handle.h"

namespace billbook {

// A bill's totals as exact integers; throws kBadTotal for a total that is not a plain decimal.
struct ExactTotals {
  std::int64_t volume_e4 = 0;
  std::int64_t amount_fen = 0;
};
ExactTotals ExactTotalsOf(const BillContent& content);

std::string TimeText(const LocalTime& time);

class BillWriter {
 public:
  explicit BillWriter(Connection& connection);

  // A new bill numbered with its day's next serial: the caller holds the write lock, so
  // PCs sharing the folder never get the same number.
  std::string AddBill(const BillContent& content, const ExactTotals& totals,
                      const Recorder& recorder);
  // Revision `revision` of the bill of `bill_id`; the bill's own row then shows it.
  void AddRevision(std::int64_t bill_id, int revision, const BillContent& content,
                   const ExactTotals& totals, const Recorder& recorder);

 private:
  Connection& connection_;
  Statement next_serial_;
  Statement insert_bill_;
  Statement insert_revision_;
  Statement insert_line_;
  Statement show_revision_;
};

}  // namespace billbook
