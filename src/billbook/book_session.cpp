#include "billbook/book_session.h"

#include <system_error>

#include "billbook/book_schema.h"

namespace billbook {

namespace {

// Whether a book already stands at `file`; throws kNotAFile for anything else there.
bool BookExists(const std::filesystem::path& file) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) return false;
  if (error)
    throw BookError(Failure::kPermissionDenied, "looking at the bill book: " + error.message());
  if (status.type() != std::filesystem::file_type::regular) {
    throw BookError(Failure::kNotAFile, "the bill book's name is taken by something not a file");
  }
  return true;
}

// The pragmas every connection needs: they change nothing in the file itself.
void SetSafeForSharedFolders(Connection& connection) {
  // The rollback journal: WAL needs shared memory, which a network share does not give.
  connection.Execute("PRAGMA journal_mode = DELETE");
  connection.Execute("PRAGMA synchronous = FULL");
}

}  // namespace

BookSession::BookSession(const std::filesystem::path& file, Purpose purpose) {
  const bool exists = BookExists(file);
  if (!exists && purpose == Purpose::kRead) return;
  try {
    connection_.emplace(file,
                        exists ? Connection::Mode::kReadWrite : Connection::Mode::kReadWriteCreate);
  } catch (const BookError& error) {
    // A book that cannot be made is a folder we may not write.
    if (!exists && error.failure() == Failure::kPermissionDenied) {
      throw BookError(Failure::kReadOnly, error.what());
    }
    throw;
  }
  // Checked before the journal mode is set: on a database in WAL mode, setting it would
  // write another program's file.
  const SchemaState state = CheckSchema(*connection_);
  if (purpose == Purpose::kWrite && connection_->ReadOnly()) {
    throw BookError(Failure::kReadOnly, "the bill book is read-only");
  }
  SetSafeForSharedFolders(*connection_);
  if (purpose == Purpose::kRead) {
    if (state == SchemaState::kEmpty) {
      connection_.reset();
    } else if (state == SchemaState::kOlder) {
      WriteTransaction upgrade(*this);
      upgrade.Commit();
    }
  }
}

WriteTransaction::WriteTransaction(BookSession& session)
    : connection_(session.connection()), transaction_(connection_) {
  // Again under the lock: another PC may have made or upgraded the book meanwhile.
  PrepareSchema(connection_);
}

}  // namespace billbook
