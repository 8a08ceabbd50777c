#pragma once

// The book opened for one operation and closed after it: on a shared folder, a connection
// held open would keep other PCs' view of the file stale and their locks waiting.

#include <filesystem>
#include <optional>

#include "billbook/sqlite_handle.h"

namespace billbook {

class BookSession {
 public:
  enum class Purpose { kRead, kWrite };
  // Checks what stands at `file` and opens it. For reading, a book not yet made opens as
  // none (HasBook() false) and nothing is created; for writing, it is created. Another
  // program's database or a newer book is refused before anything is written.
  BookSession(const std::filesystem::path& file, Purpose purpose);

  bool HasBook() const { return connection_.has_value(); }
  Connection& connection() { return *connection_; }

 private:
  std::optional<Connection> connection_;
};

// A write of one operation: the book's lock taken at the start (BEGIN IMMEDIATE), its
// tables made or upgraded if need be, committed by Commit() or rolled back.
class WriteTransaction {
 public:
  explicit WriteTransaction(BookSession& session);
  Connection& connection() { return connection_; }
  void Commit() { transaction_.Commit(); }

 private:
  Connection& connection_;
  Transaction transaction_;
};

}  // namespace billbook
