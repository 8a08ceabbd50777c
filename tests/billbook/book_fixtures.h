#pragma once

// Bills, recorders and raw SQL on a book file, for the bill book's tests.

#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "base/text_encoding.h"
#include "billbook/bill.h"

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
