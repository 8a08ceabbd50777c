// Records COUNT new bills for BUYER into BOOK, one transaction each, as one PC of several
// sharing the book's folder would, printing each number once it is in the book; the test of
// PCs recording at once runs two of it. A COUNT of 0 records whole 13-line bills of random
// figures until the program is killed, for the test that kills it mid-bill. A COUNT of
// "sample" records the sample book the tests keep as a first-version book.
#include <cstdio>
#include <random>
#include <string>

#include "base/text_encoding.h"
#include "billbook/bill_book.h"
#include "billbook/book_failure.h"
#include "billbook/exact_amount.h"
#include "book_fixtures.h"
#include "utf8_command_line.h"

namespace {

// Every line filled, the totals the sums of the lines' m³ and 元.
billbook::BillContent WholeBill(const std::string& buyer, std::mt19937& random) {
  billbook::BillContent bill = book_fixtures::Bill(buyer, "", "", 0, billbook::kLineCount);
  std::uniform_int_distribution<std::int64_t> fen(1, 9'999'999), volume(1, 99'999);
  std::int64_t total_fen = 0, total_volume = 0;
  for (auto& line : bill.lines) {
    const std::int64_t line_volume = volume(random), line_fen = fen(random);
    line[5] = billbook::ScaledText(line_volume, billbook::kVolumeDecimals);
    line[7] = billbook::ScaledText(line_fen, billbook::kFenDecimals);
    total_volume += line_volume;
    total_fen += line_fen;
  }
  bill.total_volume = billbook::ScaledText(total_volume, billbook::kVolumeDecimals);
  bill.total_amount = billbook::ScaledText(total_fen, billbook::kFenDecimals);
  return bill;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = tools::Utf8Arguments(argc, argv);
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: book_recorder BOOK COUNT BUYER\n");
    return 2;
  }
  billbook::BillBook book(std::filesystem::path(base::FromUtf8(args[0])));
  std::mt19937 random(std::random_device{}());
  try {
    if (args[1] == "sample") {
      book_fixtures::RecordSampleBook(book);
      return 0;
    }
    const int count = std::stoi(args[1]);
    for (int i = 0; count == 0 || i < count; ++i) {
      const billbook::Recorded recorded = book.Record(
          "",
          count == 0 ? WholeBill(args[2], random) : book_fixtures::Bill(args[2], "0.0001", "0.01"),
          book_fixtures::RecorderAt(2026, 12, 8));
      std::printf("%s\n", recorded.number.c_str());
      // Out at once: whoever kills this program learns every number it was given.
      std::fflush(stdout);
    }
  } catch (const billbook::BookError& error) {
    std::fprintf(stderr, "book_recorder: failure %d: %s\n", static_cast<int>(error.failure()),
                 error.what());
    return 1;
  }
  return 0;
}
