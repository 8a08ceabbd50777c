#pragma once

// A book of years of made-up bills, as a busy yard would have: the book the bill book's
// speed is measured on. Recorded through billbook::BulkRecorder, so the tables are the
// library's own; the same options always give the same bills.

#include <filesystem>

namespace tools {

struct SampleBookShape {
  int last_day = 20261208;  // YYYYMMDD
  int days = 3653;          // ten years, leap days included
  int bills_per_day = 50;   // each of 13 lines
};

// Writes the book at `file`, which must not exist yet; throws billbook::BookError or
// std::runtime_error.
void MakeSampleBillBook(const std::filesystem::path& file, const SampleBookShape& shape);

}  // namespace tools
