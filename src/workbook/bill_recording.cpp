#include "workbook/bill_recording.h"

#include <exception>

#include "base/text_encoding.h"
#include "billbook/bill_book.h"
#include "billbook/book_failure.h"
#include "workbook/failure_descriptions.h"
#include "workbook/workbook_path.h"

namespace workbook {

billbook::BillContent BillContentOf(const ExportSource& source) {
  billbook::BillContent content;
  content.buyer = base::ToUtf8(source.Buyer());
  content.seller = base::ToUtf8(source.Seller());
  content.scaler = base::ToUtf8(source.Text(tally::SingleField::Text9));
  for (int row = 0; row < tally::kRowCount; ++row) {
    for (int column = 0; column < tally::kColumnCount; ++column) {
      const tally::FieldId field(static_cast<tally::TallyColumn>(column), row);
      content.lines[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
          base::ToUtf8(source.Text(field));
    }
  }
  content.total_volume = base::ToUtf8(source.Text(tally::SingleField::Text10));
  content.total_amount = base::ToUtf8(source.Text(tally::SingleField::Text11));
  return content;
}

std::filesystem::path BookPath(const std::filesystem::path& program_directory) {
  return WorkbookPath(program_directory).parent_path() / billbook::kBookFileName;
}

namespace {

// Records through `record`; a failure of the book comes back as the clerk's text.
template <typename Recording>
std::optional<std::string> Told(const std::filesystem::path& book, Recording record) {
  try {
    record(billbook::BillBook(book));
    return std::nullopt;
  } catch (const billbook::BookError& error) {
    return DescribeBookFailure(error.failure(), book);
  } catch (const std::exception&) {
    return DescribeBookFailure(billbook::Failure::kInputOutput, book);
  }
}

}  // namespace

std::optional<std::string> RecordReprint(const std::filesystem::path& book,
                                         const std::string& number,
                                         const billbook::BillContent& content,
                                         const billbook::Recorder& recorder) {
  return Told(book,
              [&](billbook::BillBook bill_book) { bill_book.Record(number, content, recorder); });
}

std::optional<std::string> CurrentBill::Record(const std::filesystem::path& book,
                                               const billbook::BillContent& content,
                                               const billbook::Recorder& recorder) {
  return Told(book, [&](billbook::BillBook bill_book) {
    const billbook::Recorded recorded = bill_book.Record(number_, content, recorder);
    number_ = recorded.number;
    last_recorded_ = content;
  });
}

void CurrentBill::Clear() {
  number_.clear();
  last_recorded_.reset();
}

bool CurrentBill::HoldsUnrecorded(const billbook::BillContent& shown) const {
  if (last_recorded_) return shown != *last_recorded_;
  // The buyer and the scaler stay through 清除数据 for the next bill: only lines are new work.
  for (const billbook::Line& line : shown.lines) {
    for (const std::string& text : line) {
      if (!text.empty()) return true;
    }
  }
  return false;
}

void CurrentBill::Adopt(const std::string& number, const billbook::BillContent& content) {
  number_ = number;
  last_recorded_ = content;
}

}  // namespace workbook
