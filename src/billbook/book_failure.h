#pragma once

#include <stdexcept>
#include <string>

namespace billbook {

// What went wrong with the bill book, for the window to word once in its own table. The
// library itself carries no wording for the clerk: what() is a developer's note only.
enum class Failure {
  kNotAFile,          // a folder, pipe, device or link stands at the book's name
  kNotSqlite,         // a file, but not an SQLite database
  kForeignDatabase,   // an SQLite database of another program
  kDamaged,           // the book's own database, but its pages do not hold together
  kNewerThanProgram,  // written by a later version: refused, never written
  kReadOnly,          // the book or its folder may be read but not written
  kPermissionDenied,  // the book may not even be read
  kDiskFull,
  kBusy,         // another PC kept the book locked past the busy wait
  kNoSuchBill,   // no bill of that number in the book
  kBadTotal,     // a total that is not a plain decimal of its unit
  kInputOutput,  // any other failure of the system below
};

class BookError : public std::runtime_error {
 public:
  BookError(Failure failure, const std::string& detail)
      : std::runtime_error(detail), failure_(failure) {}
  Failure failure() const { return failure_; }

 private:
  Failure failure_;
};

}  // namespace billbook
