#include "billbook/bulk_recorder.h"

#include <optional>

#include "billbook/bill_writer.h"
#include "billbook/book_session.h"

namespace billbook {

struct BulkRecorder::Work {
  explicit Work(const std::filesystem::path& file) : session(file, BookSession::Purpose::kWrite) {
    // Millions of lines touch the indexes all over: 64 MiB of pages held in memory.
    session.connection().Execute("PRAGMA cache_size = -65536");
    Begin();
  }
  void Begin() {
    write.emplace(session);
    writer.emplace(write->connection());
  }

  BookSession session;
  std::optional<WriteTransaction> write;
  std::optional<BillWriter> writer;
};

BulkRecorder::BulkRecorder(const std::filesystem::path& file)
    : work_(std::make_unique<Work>(file)) {}

BulkRecorder::~BulkRecorder() = default;

std::string BulkRecorder::Add(const BillContent& content, const Recorder& recorder) {
  return work_->writer->AddBill(content, ExactTotalsOf(content), recorder);
}

void BulkRecorder::Commit() {
  work_->writer.reset();  // statements finalized before the transaction ends
  work_->write->Commit();
  work_->write.reset();
  work_->Begin();
}

}  // namespace billbook
