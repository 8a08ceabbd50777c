#pragma once

// Many new bills in one write transaction, for programs that fill a book at once (the
// generator of a test book, an import): the book stays locked from the first bill to
// Commit(), so the window, which shares the book with other PCs, records with
// BillBook::Record instead. Each bill is numbered and stored exactly as Record would.

#include <filesystem>
#include <memory>
#include <string>

#include "billbook/bill.h"

namespace billbook {

class BulkRecorder {
 public:
  // Opens (or makes) the book and takes its write lock.
  explicit BulkRecorder(const std::filesystem::path& file);
  // Bills not committed are rolled back.
  ~BulkRecorder();

  // Adds a new bill; its number as Record would give it.
  std::string Add(const BillContent& content, const Recorder& recorder);
  // Everything added so far goes into the book together; the recorder then takes the
  // lock again for the next bills.
  void Commit();

 private:
  struct Work;
  std::unique_ptr<Work> work_;
};

}  // namespace billbook
