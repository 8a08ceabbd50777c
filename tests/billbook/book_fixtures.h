#pragma once

// Bills, recorders and raw SQL on a book file, for the bill book's tests.

#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "base/text_encoding.h"
#include "billbook/bill.h"
#include "billbook/bill_book.h"

namespace book_fixtures {

inline billbook::Recorder RecorderAt(int year, int month, int day, int hour = 9) {
  return {{year, month, day, hour, 30, 0}, "收银台", "王会计"};
}

// A bill of `lines` filled lines; `variant` changes a length on the first line.
inline billbook::BillContent Bill(const std::string& buyer, const std::string& volume,
                                  const std::string& amount, int variant = 0, int lines = 3) {
  billbook::BillContent bill;
  bill.buyer = buyer;
  bill.seller = "林场一队";
  bill.scaler = "老周";
  for (int line = 0; line < lines; ++line) {
    bill.lines[static_cast<std::size_t>(line)] = {
        "杉木", std::to_string(4 + variant + line), "18", "20", "1", "0.1296", "1250", "162.00"};
  }
  bill.total_volume = volume;
  bill.total_amount = amount;
  return bill;
}

// What the kept first-version book (data/锯材账本-v1.db, made by `book_recorder BOOK sample`)
// holds: bills over two days, one reprinted, one corrected, one voided.
inline void RecordSampleBook(billbook::BillBook& book) {
  book.Record("", Bill("张记木业", "0.3888", "486.00"), RecorderAt(2026, 12, 7, 8));
  book.Record("", Bill("李家建材", "0.2592", "324.00", 1, 2), RecorderAt(2026, 12, 7, 10));
  book.Record("", Bill("王五", "1.6848", "2106.00", 2, 13), RecorderAt(2026, 12, 8, 9));
  book.Record("20261207-001", Bill("张记木业", "0.3888", "486.00"), RecorderAt(2026, 12, 8, 11));
  book.Record("20261207-002", Bill("李家建材", "0.2592", "330.00", 1, 2),
              RecorderAt(2026, 12, 8, 14));
  book.Record("", Bill("张记木业", "0.1296", "162.00", 3, 1), RecorderAt(2026, 12, 8, 15));
  book.Void("20261208-002", "买方退货", RecorderAt(2026, 12, 8, 16));
}

// Runs SQL on `file` straight through SQLite, as another program would; false on failure.
inline bool ExecuteSql(const std::filesystem::path& file, const std::string& sql,
                       std::string* result = nullptr) {
  sqlite3* db = nullptr;
  const std::string name = base::ToUtf8(file.u16string());
  bool ok = sqlite3_open(name.c_str(), &db) == SQLITE_OK;
  const auto collect = [](void* out, int columns, char** values, char**) {
    for (int i = 0; i < columns; ++i) {
      if (out) *static_cast<std::string*>(out) += values[i] ? values[i] : "";
    }
    return 0;
  };
  ok = ok && sqlite3_exec(db, sql.c_str(), collect, result, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

}  // namespace book_fixtures
