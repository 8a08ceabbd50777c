// Writes a bill book of made-up bills: by default ten years of 50 bills a day of 13 lines,
// the book the bill book's benchmarks measure (bench/bill_book_bench.cpp).
//   make_bill_book BOOK [DAYS [BILLS_PER_DAY [LAST_DAY]]]
#include <cstdio>
#include <exception>
#include <string>

#include "base/text_encoding.h"
#include "sample_bill_book.h"
#include "utf8_command_line.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = tools::Utf8Arguments(argc, argv);
  if (args.empty() || args.size() > 4) {
    std::fprintf(stderr, "usage: make_bill_book BOOK [DAYS [BILLS_PER_DAY [LAST_DAY]]]\n");
    return 2;
  }
  tools::SampleBookShape shape;
  try {
    if (args.size() > 1) shape.days = std::stoi(args[1]);
    if (args.size() > 2) shape.bills_per_day = std::stoi(args[2]);
    if (args.size() > 3) shape.last_day = std::stoi(args[3]);
    tools::MakeSampleBillBook(std::filesystem::path(base::FromUtf8(args[0])), shape);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_bill_book: %s\n", error.what());
    return 1;
  }
  return 0;
}
