#pragma once

// A thin owner of SQLite's C handles: a connection closed when it goes away, prepared
// statements finalized, and a transaction rolled back unless committed. Every SQLite
// failure leaves here as a BookError with its typed Failure.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "billbook/book_failure.h"

struct sqlite3;
struct sqlite3_stmt;

namespace billbook {

// The Failure an SQLite result code stands for (extended codes understood).
Failure FailureOfResult(int result);

class Connection {
 public:
  enum class Mode { kReadWrite, kReadWriteCreate };
  // Opens `file` without following a link at its name; a read-only file opens for reading.
  Connection(const std::filesystem::path& file, Mode mode);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs SQL that returns no rows (one statement or several).
  void Execute(std::string_view sql);
  // The first column of the first row of a query that yields one integer.
  std::int64_t QueryInteger(std::string_view sql);
  // The rowid the last INSERT on this connection gave its row.
  std::int64_t LastInsertRowId() const;
  // True if the system gave only read access to the file.
  bool ReadOnly() const;
  // How long a lock held by another connection is waited for before kBusy.
  void SetBusyTimeout(int milliseconds);
  // Throws the Failure for `result`, noting SQLite's own message.
  [[noreturn]] void Fail(int result) const;
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement(Connection& connection, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters count from 1, as in SQLite.
  Statement& Bind(int index, std::int64_t value);
  Statement& Bind(int index, std::string_view text);
  // Steps once: true while there is a row to read.
  bool Step();
  // Steps a statement that yields no rows, then makes it ready to run again.
  void Run();
  void Reset();

  std::int64_t Integer(int column) const;
  std::string Text(int column) const;
  bool IsNull(int column) const;

 private:
  Connection& connection_;
  sqlite3_stmt* statement_ = nullptr;
};

// BEGIN IMMEDIATE: the write lock is taken at the start, so two writers wait for each other
// (up to the busy timeout) instead of failing half-way.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  Connection& connection_;
  bool open_ = true;
};

}  // namespace billbook
