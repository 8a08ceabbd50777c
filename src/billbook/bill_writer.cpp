#include "billbook/bill_writer.h"

#include <cstdio>

#include "billbook/bill_query.h"
#include "billbook/exact_amount.h"

namespace billbook {

namespace {

std::string BillNumber(int day, std::int64_t serial) {
  char text[32];
  std::snprintf(text, sizeof text, "%08d-%03lld", day, static_cast<long long>(serial));
  return text;
}

std::int64_t Exact(const std::string& text, int decimals) {
  const auto value = ScaledInteger(text, decimals);
  if (!value) throw BookError(Failure::kBadTotal, "total not a plain decimal: " + text);
  return *value;
}

}  // namespace

ExactTotals ExactTotalsOf(const BillContent& content) {
  return {Exact(content.total_volume, kVolumeDecimals), Exact(content.total_amount, kFenDecimals)};
}

std::string TimeText(const LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

BillWriter::BillWriter(Connection& connection)
    : connection_(connection),
      next_serial_(connection, "SELECT coalesce(max(serial), 0) + 1 FROM bills WHERE day = ?1"),
      insert_bill_(connection,
                   "INSERT INTO bills(number, day, serial, time, buyer, seller, total_volume, "
                   "total_amount, volume_e4, amount_fen, revision_count) "
                   "VALUES(?1, ?2, ?3, '', '', '', '', '', 0, 0, 0)"),
      insert_revision_(connection,
                       "INSERT INTO revisions(bill_id, revision, time, buyer, seller, scaler, "
                       "total_volume, total_amount, volume_e4, amount_fen, pc_name, user_name, "
                       "print_count) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, 1)"),
      insert_line_(connection,
                   "INSERT INTO revision_lines VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)"),
      show_revision_(connection,
                     "UPDATE bills SET time = ?2, buyer = ?3, seller = ?4, total_volume = ?5, "
                     "total_amount = ?6, volume_e4 = ?7, amount_fen = ?8, revision_count = ?9 "
                     "WHERE id = ?1") {}

std::string BillWriter::AddBill(const BillContent& content, const ExactTotals& totals,
                                const Recorder& recorder) {
  const int day = DayNumber(recorder.time.year, recorder.time.month, recorder.time.day);
  next_serial_.Bind(1, std::int64_t{day});
  next_serial_.Step();
  const std::int64_t serial = next_serial_.Integer(0);
  next_serial_.Reset();
  std::string number = BillNumber(day, serial);
  insert_bill_.Bind(1, number).Bind(2, std::int64_t{day}).Bind(3, serial);
  insert_bill_.Run();
  AddRevision(connection_.LastInsertRowId(), 1, content, totals, recorder);
  return number;
}

void BillWriter::AddRevision(std::int64_t bill_id, int revision, const BillContent& content,
                             const ExactTotals& totals, const Recorder& recorder) {
  const std::string time = TimeText(recorder.time);
  insert_revision_.Bind(1, bill_id)
      .Bind(2, std::int64_t{revision})
      .Bind(3, time)
      .Bind(4, content.buyer)
      .Bind(5, content.seller)
      .Bind(6, content.scaler)
      .Bind(7, content.total_volume)
      .Bind(8, content.total_amount)
      .Bind(9, totals.volume_e4)
      .Bind(10, totals.amount_fen)
      .Bind(11, recorder.pc_name)
      .Bind(12, recorder.user);
  insert_revision_.Run();
  const std::int64_t revision_id = connection_.LastInsertRowId();

  // Lines left blank are not stored.
  for (int index = 0; index < kLineCount; ++index) {
    const Line& fields = content.lines[static_cast<std::size_t>(index)];
    bool blank = true;
    for (const std::string& field : fields) blank = blank && field.empty();
    if (blank) continue;
    insert_line_.Bind(1, revision_id).Bind(2, std::int64_t{index + 1});
    for (int field = 0; field < kLineFields; ++field) {
      insert_line_.Bind(field + 3, fields[static_cast<std::size_t>(field)]);
    }
    insert_line_.Run();
  }

  show_revision_.Bind(1, bill_id)
      .Bind(2, time)
      .Bind(3, content.buyer)
      .Bind(4, content.seller)
      .Bind(5, content.total_volume)
      .Bind(6, content.total_amount)
      .Bind(7, totals.volume_e4)
      .Bind(8, totals.amount_fen)
      .Bind(9, std::int64_t{revision});
  show_revision_.Run();
}

}  // namespace billbook
