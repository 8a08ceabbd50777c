#include "billbook/sqlite_handle.h"

#include <sqlite3.h>

#include "base/text_encoding.h"

namespace billbook {

namespace {

// How long a writer waits for another PC's lock before giving up with kBusy.
constexpr int kBusyTimeoutMilliseconds = 5000;

}  // namespace

Failure FailureOfResult(int result) {
  switch (result & 0xff) {
    case SQLITE_NOTADB:
      return Failure::kNotSqlite;
    case SQLITE_CORRUPT:
      return Failure::kDamaged;
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:  // the journal could not be made beside the book
      return Failure::kReadOnly;
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return Failure::kPermissionDenied;
    case SQLITE_FULL:
      return Failure::kDiskFull;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return Failure::kBusy;
    default:
      return Failure::kInputOutput;
  }
}

Connection::Connection(const std::filesystem::path& file, Mode mode) {
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_EXRESCODE;
  if (mode == Mode::kReadWriteCreate) flags |= SQLITE_OPEN_CREATE;
  const int result = sqlite3_open_v2(base::ToUtf8(file.u16string()).c_str(), &db_, flags, nullptr);
  if (result != SQLITE_OK) {
    const std::string detail = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(result);
    sqlite3_close(db_);
    db_ = nullptr;
    // At the start, a file that cannot be opened even for reading is closed to us.
    const Failure failure =
        (result & 0xff) == SQLITE_CANTOPEN ? Failure::kPermissionDenied : FailureOfResult(result);
    throw BookError(failure, "opening the bill book: " + detail);
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMilliseconds);
}

Connection::~Connection() {
  sqlite3_close(db_);
}

void Connection::Execute(std::string_view sql) {
  const int result = sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, nullptr);
  if (result != SQLITE_OK) Fail(result);
}

std::int64_t Connection::QueryInteger(std::string_view sql) {
  Statement statement(*this, sql);
  return statement.Step() ? statement.Integer(0) : 0;
}

std::int64_t Connection::LastInsertRowId() const {
  return sqlite3_last_insert_rowid(db_);
}

bool Connection::ReadOnly() const {
  return sqlite3_db_readonly(db_, "main") == 1;
}

void Connection::SetBusyTimeout(int milliseconds) {
  sqlite3_busy_timeout(db_, milliseconds);
}

void Connection::Fail(int result) const {
  throw BookError(FailureOfResult(result), std::string("bill book: ") + sqlite3_errmsg(db_));
}

Statement::Statement(Connection& connection, std::string_view sql) : connection_(connection) {
  const int result = sqlite3_prepare_v2(connection.handle(), sql.data(),
                                        static_cast<int>(sql.size()), &statement_, nullptr);
  if (result != SQLITE_OK) connection.Fail(result);
}

Statement::~Statement() {
  sqlite3_finalize(statement_);
}

Statement& Statement::Bind(int index, std::int64_t value) {
  const int result = sqlite3_bind_int64(statement_, index, value);
  if (result != SQLITE_OK) connection_.Fail(result);
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  const int result = sqlite3_bind_text64(statement_, index, text.data(), text.size(),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
  if (result != SQLITE_OK) connection_.Fail(result);
  return *this;
}

bool Statement::Step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  connection_.Fail(result);
}

void Statement::Run() {
  while (Step()) {
  }
  Reset();
}

void Statement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

std::int64_t Statement::Integer(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::string Statement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(statement_, column);
  if (!text) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
  connection_.Execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
  if (open_) sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  connection_.Execute("COMMIT");
  open_ = false;
}

}  // namespace billbook
