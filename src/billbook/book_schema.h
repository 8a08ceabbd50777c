#pragma once

// The bill book's tables and their version. PRAGMA user_version says which version a book
// was written by; each later version adds one upgrade step, run in place inside the first
// write transaction that finds the book older. A book newer than the program is refused.
// Indexes that only make queries faster are no version: a write adds those a book lacks.

#include "billbook/sqlite_handle.h"

namespace billbook {

// The version this program writes: the number of upgrade steps it knows.
int CurrentSchemaVersion();

enum class SchemaState {
  kEmpty,  // no tables yet: a new book, or an empty file
  kOlder,  // written by an earlier version: upgrade before use
  kCurrent,
};

// Looks at the book without writing it. Throws kForeignDatabase for another program's
// database and kNewerThanProgram for a later version's book.
SchemaState CheckSchema(Connection& connection);

// Creates the tables of an empty book, or upgrades an older one, inside the caller's open
// write transaction; does nothing to a current book.
void PrepareSchema(Connection& connection);

}  // namespace billbook
