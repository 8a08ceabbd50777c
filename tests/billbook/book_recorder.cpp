// Records COUNT new bills for BUYER into BOOK, one transaction each, as one PC of several
// sharing the book's folder would; the test of PCs recording at once runs two of it.
#include <cstdio>
#include <string>

#include "base/text_encoding.h"
#include "billbook/bill_book.h"
#include "billbook/book_failure.h"
#include "book_fixtures.h"
#include "utf8_command_line.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = tools::Utf8Arguments(argc, argv);
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: book_recorder BOOK COUNT BUYER\n");
    return 2;
  }
  billbook::BillBook book(std::filesystem::path(base::FromUtf8(args[0])));
  const int count = std::stoi(args[1]);
  try {
    for (int i = 0; i < count; ++i) {
      const billbook::Recorded recorded =
          book.Record("", book_fixtures::Bill(args[2], "0.0001", "0.01"),
                      book_fixtures::RecorderAt(2026, 12, 8));
      std::printf("%s\n", recorded.number.c_str());
    }
  } catch (const billbook::BookError& error) {
    std::fprintf(stderr, "book_recorder: failure %d: %s\n", static_cast<int>(error.failure()),
                 error.what());
    return 1;
  }
  return 0;
}
