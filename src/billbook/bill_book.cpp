#include "billbook/bill_book.h"

#include <cstdio>
#include <optional>

#include "billbook/book_session.h"
#include "billbook/exact_amount.h"

namespace billbook {

namespace {

std::string TimeText(const LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

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

// Texts that begin with `prefix` lie from `prefix` up to `prefix` followed by 0xFF, a byte
// no UTF-8 text holds: a range the index on the column can answer.
std::string PrefixEnd(const std::string& prefix) {
  return prefix + '\xFF';
}

// The WHERE clause of a query and its parameters, bound in order from 1.
struct Filter {
  std::string sql;
  std::vector<std::string> texts;
  Period period;
};

Filter FilterOf(const BillQuery& query) {
  // Within a month the index by day finds the few bills fastest; over a longer period the
  // beginning of a name or number narrows more, and "+day" keeps SQLite (which has no
  // statistics on the book) from taking the day index instead.
  const bool within_a_month = query.period.first_day / 100 == query.period.last_day / 100;
  const bool by_prefix = !query.buyer_prefix.empty() || !query.number_prefix.empty();
  Filter filter{within_a_month || !by_prefix ? " WHERE day BETWEEN ?1 AND ?2"
                                             : " WHERE +day BETWEEN ?1 AND ?2",
                {},
                query.period};
  int parameter = 3;
  const auto add_prefix = [&](const char* column, const std::string& prefix) {
    if (prefix.empty()) return;
    filter.sql += std::string(" AND ") + column + " >= ?" + std::to_string(parameter) + " AND " +
                  column + " < ?" + std::to_string(parameter + 1);
    parameter += 2;
    filter.texts.push_back(prefix);
    filter.texts.push_back(PrefixEnd(prefix));
  };
  add_prefix("buyer", query.buyer_prefix);
  add_prefix("number", query.number_prefix);
  return filter;
}

void BindFilter(Statement& statement, const Filter& filter) {
  statement.Bind(1, std::int64_t{filter.period.first_day});
  statement.Bind(2, std::int64_t{filter.period.last_day});
  int parameter = 3;
  for (const std::string& text : filter.texts) statement.Bind(parameter++, text);
}

constexpr const char* kCounted =
    "SELECT count(*), coalesce(sum(volume_e4), 0), coalesce(sum(amount_fen), 0)";

Totals TotalsAt(const Statement& statement, int first_column) {
  return {statement.Integer(first_column), statement.Integer(first_column + 1),
          statement.Integer(first_column + 2)};
}

struct LatestRevision {
  std::int64_t bill_id = 0;
  std::int64_t revision_id = 0;
  int revision = 0;
  BillContent content;
  int print_count = 0;
};

std::optional<std::int64_t> BillId(Connection& connection, const std::string& number) {
  Statement find(connection, "SELECT id FROM bills WHERE number = ?1");
  find.Bind(1, number);
  if (!find.Step()) return std::nullopt;
  return find.Integer(0);
}

void ReadLines(Connection& connection, std::int64_t revision_id, BillContent& content) {
  Statement lines(connection,
                  "SELECT line, field1, field2, field3, field4, field5, field6, field7, field8 "
                  "FROM revision_lines WHERE revision_id = ?1");
  lines.Bind(1, revision_id);
  while (lines.Step()) {
    const std::int64_t line = lines.Integer(0);
    if (line < 1 || line > kLineCount) throw BookError(Failure::kDamaged, "line out of range");
    for (int field = 0; field < kLineFields; ++field) {
      content.lines[static_cast<std::size_t>(line - 1)][static_cast<std::size_t>(field)] =
          lines.Text(field + 1);
    }
  }
}

constexpr const char* kRevisionColumns =
    "SELECT id, revision, time, buyer, seller, scaler, total_volume, total_amount, volume_e4, "
    "amount_fen, pc_name, user_name, print_count FROM revisions";

Revision RevisionAt(Connection& connection, const Statement& row) {
  Revision revision;
  revision.number = static_cast<int>(row.Integer(1));
  revision.time = row.Text(2);
  revision.content.buyer = row.Text(3);
  revision.content.seller = row.Text(4);
  revision.content.scaler = row.Text(5);
  revision.content.total_volume = row.Text(6);
  revision.content.total_amount = row.Text(7);
  revision.volume_e4 = row.Integer(8);
  revision.amount_fen = row.Integer(9);
  revision.pc_name = row.Text(10);
  revision.user = row.Text(11);
  revision.print_count = static_cast<int>(row.Integer(12));
  ReadLines(connection, row.Integer(0), revision.content);
  return revision;
}

std::optional<LatestRevision> Latest(Connection& connection, std::int64_t bill_id) {
  Statement latest(connection, std::string(kRevisionColumns) +
                                   " WHERE bill_id = ?1 ORDER BY revision DESC LIMIT 1");
  latest.Bind(1, bill_id);
  if (!latest.Step()) return std::nullopt;
  Revision revision = RevisionAt(connection, latest);
  return LatestRevision{bill_id, latest.Integer(0), revision.number, std::move(revision.content),
                        revision.print_count};
}

// Writes one revision and its lines; the bill's own row then shows it.
void InsertRevision(Connection& connection, std::int64_t bill_id, int revision,
                    const BillContent& content, std::int64_t volume_e4, std::int64_t amount_fen,
                    const Recorder& recorder) {
  const std::string time = TimeText(recorder.time);
  Statement insert(connection,
                   "INSERT INTO revisions(bill_id, revision, time, buyer, seller, scaler, "
                   "total_volume, total_amount, volume_e4, amount_fen, pc_name, user_name, "
                   "print_count) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, 1)");
  insert.Bind(1, bill_id)
      .Bind(2, std::int64_t{revision})
      .Bind(3, time)
      .Bind(4, content.buyer)
      .Bind(5, content.seller)
      .Bind(6, content.scaler)
      .Bind(7, content.total_volume)
      .Bind(8, content.total_amount)
      .Bind(9, volume_e4)
      .Bind(10, amount_fen)
      .Bind(11, recorder.pc_name)
      .Bind(12, recorder.user);
  insert.Run();
  const std::int64_t revision_id = connection.QueryInteger("SELECT last_insert_rowid()");

  Statement line(connection,
                 "INSERT INTO revision_lines VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
  for (int index = 0; index < kLineCount; ++index) {
    const Line& fields = content.lines[static_cast<std::size_t>(index)];
    bool blank = true;
    for (const std::string& field : fields) blank = blank && field.empty();
    if (blank) continue;
    line.Bind(1, revision_id).Bind(2, std::int64_t{index + 1});
    for (int field = 0; field < kLineFields; ++field) {
      line.Bind(field + 3, fields[static_cast<std::size_t>(field)]);
    }
    line.Run();
  }

  Statement show(connection,
                 "UPDATE bills SET time = ?2, buyer = ?3, seller = ?4, total_volume = ?5, "
                 "total_amount = ?6, volume_e4 = ?7, amount_fen = ?8, revision_count = ?9 "
                 "WHERE id = ?1");
  show.Bind(1, bill_id)
      .Bind(2, time)
      .Bind(3, content.buyer)
      .Bind(4, content.seller)
      .Bind(5, content.total_volume)
      .Bind(6, content.total_amount)
      .Bind(7, volume_e4)
      .Bind(8, amount_fen)
      .Bind(9, std::int64_t{revision});
  show.Run();
}

}  // namespace

Recorded BillBook::Record(const std::string& number, const BillContent& content,
                          const Recorder& recorder) {
  // A total that cannot be summed stops the recording before the book is opened.
  const std::int64_t volume_e4 = Exact(content.total_volume, kVolumeDecimals);
  const std::int64_t amount_fen = Exact(content.total_amount, kFenDecimals);

  BookSession session(file_, BookSession::Purpose::kWrite);
  WriteTransaction write(session);
  Connection& connection = write.connection();
  Recorded recorded;

  if (number.empty()) {
    // The serial is taken under the write lock, so PCs sharing the folder never get the same.
    const int day = DayNumber(recorder.time.year, recorder.time.month, recorder.time.day);
    Statement next(connection, "SELECT coalesce(max(serial), 0) + 1 FROM bills WHERE day = ?1");
    next.Bind(1, std::int64_t{day});
    next.Step();
    const std::int64_t serial = next.Integer(0);
    recorded.number = BillNumber(day, serial);
    Statement bill(connection,
                   "INSERT INTO bills(number, day, serial, time, buyer, seller, total_volume, "
                   "total_amount, volume_e4, amount_fen, revision_count) "
                   "VALUES(?1, ?2, ?3, '', '', '', '', '', 0, 0, 0)");
    bill.Bind(1, recorded.number).Bind(2, std::int64_t{day}).Bind(3, serial);
    bill.Run();
    InsertRevision(connection, connection.QueryInteger("SELECT last_insert_rowid()"), 1, content,
                   volume_e4, amount_fen, recorder);
  } else {
    const auto bill_id = BillId(connection, number);
    const auto latest = bill_id ? Latest(connection, *bill_id) : std::nullopt;
    if (!latest) throw BookError(Failure::kNoSuchBill, "no bill " + number);
    recorded.number = number;
    if (latest->content == content) {
      recorded.kind = Recorded::Kind::kReprint;
      recorded.revision = latest->revision;
      recorded.print_count = latest->print_count + 1;
      Statement reprint(connection,
                        "UPDATE revisions SET print_count = print_count + 1 WHERE id = ?1");
      reprint.Bind(1, latest->revision_id);
      reprint.Run();
    } else {
      recorded.kind = Recorded::Kind::kNewRevision;
      recorded.revision = latest->revision + 1;
      InsertRevision(connection, *bill_id, recorded.revision, content, volume_e4, amount_fen,
                     recorder);
    }
  }
  write.Commit();
  return recorded;
}

OpenedBill BillBook::Open(const std::string& number) const {
  BookSession session(file_, BookSession::Purpose::kRead);
  const auto bill_id = session.HasBook() ? BillId(session.connection(), number) : std::nullopt;
  if (!bill_id) throw BookError(Failure::kNoSuchBill, "no bill " + number);
  Connection& connection = session.connection();
  OpenedBill bill;
  bill.number = number;
  Statement revisions(connection,
                      std::string(kRevisionColumns) + " WHERE bill_id = ?1 ORDER BY revision DESC");
  revisions.Bind(1, *bill_id);
  while (revisions.Step()) bill.revisions.push_back(RevisionAt(connection, revisions));

  Statement voiding(connection,
                    "SELECT time, reason, pc_name, user_name FROM voidings WHERE bill_id = ?1");
  voiding.Bind(1, *bill_id);
  if (voiding.Step()) {
    bill.voided = true;
    bill.voiding = {voiding.Text(0), voiding.Text(1), voiding.Text(2), voiding.Text(3)};
  }
  return bill;
}

void BillBook::Void(const std::string& number, const std::string& reason,
                    const Recorder& recorder) {
  BookSession session(file_, BookSession::Purpose::kWrite);
  WriteTransaction write(session);
  Connection& connection = write.connection();
  const auto bill_id = BillId(connection, number);
  if (!bill_id) throw BookError(Failure::kNoSuchBill, "no bill " + number);
  Statement voiding(connection,
                    "INSERT OR IGNORE INTO voidings(bill_id, time, reason, pc_name, user_name) "
                    "VALUES(?1, ?2, ?3, ?4, ?5)");
  voiding.Bind(1, *bill_id)
      .Bind(2, TimeText(recorder.time))
      .Bind(3, reason)
      .Bind(4, recorder.pc_name)
      .Bind(5, recorder.user);
  voiding.Run();
  Statement mark(connection, "UPDATE bills SET voided = 1 WHERE id = ?1");
  mark.Bind(1, *bill_id);
  mark.Run();
  write.Commit();
}

std::vector<BillRow> BillBook::List(const BillQuery& query, int offset, int limit) const {
  std::vector<BillRow> rows;
  BookSession session(file_, BookSession::Purpose::kRead);
  if (!session.HasBook()) return rows;
  const Filter filter = FilterOf(query);
  Statement list(session.connection(),
                 "SELECT number, day, time, buyer, seller, total_volume, total_amount, "
                 "revision_count, voided FROM bills" +
                     filter.sql + " ORDER BY day DESC, serial DESC LIMIT ?20 OFFSET ?21");
  BindFilter(list, filter);
  list.Bind(20, std::int64_t{limit}).Bind(21, std::int64_t{offset});
  while (list.Step()) {
    rows.push_back({list.Text(0), static_cast<int>(list.Integer(1)), list.Text(2), list.Text(3),
                    list.Text(4), list.Text(5), list.Text(6), static_cast<int>(list.Integer(7)),
                    list.Integer(8) != 0});
  }
  return rows;
}

std::vector<BillInFull> BillBook::ListInFull(const BillQuery& query) const {
  std::vector<BillInFull> bills;
  BookSession session(file_, BookSession::Purpose::kRead);
  if (!session.HasBook()) return bills;
  const Filter filter = FilterOf(query);
  // One statement, so one snapshot of the book: a row per line of the latest revision (one
  // with no line columns for a bill without lines), its bill's columns repeated.
  Statement rows(session.connection(),
                 "SELECT b.id, b.number, b.day, b.time, b.buyer, b.seller, b.total_volume, "
                 "b.total_amount, b.revision_count, b.voided, b.volume_e4, b.amount_fen, "
                 "r.scaler, (SELECT sum(print_count) FROM revisions WHERE bill_id = b.id), "
                 "l.line, l.field1, l.field2, l.field3, l.field4, l.field5, l.field6, l.field7, "
                 "l.field8 FROM (SELECT * FROM bills" +
                     filter.sql +
                     ") AS b JOIN revisions AS r ON r.bill_id = b.id AND r.revision = "
                     "b.revision_count LEFT JOIN revision_lines AS l ON l.revision_id = r.id "
                     "ORDER BY b.day, b.serial, l.line");
  BindFilter(rows, filter);
  std::int64_t current_bill = -1;
  constexpr int kFirstField = 15;
  while (rows.Step()) {
    if (rows.Integer(0) != current_bill) {
      current_bill = rows.Integer(0);
      BillInFull& bill = bills.emplace_back();
      bill.row = {rows.Text(1),        static_cast<int>(rows.Integer(2)),
                  rows.Text(3),        rows.Text(4),
                  rows.Text(5),        rows.Text(6),
                  rows.Text(7),        static_cast<int>(rows.Integer(8)),
                  rows.Integer(9) != 0};
      bill.volume_e4 = rows.Integer(10);
      bill.amount_fen = rows.Integer(11);
      bill.scaler = rows.Text(12);
      bill.print_count = static_cast<int>(rows.Integer(13));
    }
    if (rows.IsNull(14)) continue;
    Line& line = bills.back().lines.emplace_back();
    for (int field = 0; field < kLineFields; ++field) {
      line[static_cast<std::size_t>(field)] = rows.Text(kFirstField + field);
    }
  }
  return bills;
}

Totals BillBook::Sum(const BillQuery& query) const {
  BookSession session(file_, BookSession::Purpose::kRead);
  if (!session.HasBook()) return {};
  const Filter filter = FilterOf(query);
  Statement sum(session.connection(),
                std::string(kCounted) + " FROM bills" + filter.sql + " AND voided = 0");
  BindFilter(sum, filter);
  sum.Step();
  return TotalsAt(sum, 0);
}

std::vector<BuyerSummary> BillBook::SummaryByBuyer(const BillQuery& query) const {
  std::vector<BuyerSummary> summary;
  BookSession session(file_, BookSession::Purpose::kRead);
  if (!session.HasBook()) return summary;
  const Filter filter = FilterOf(query);
  Statement rows(session.connection(), std::string(kCounted) + ", buyer FROM bills" + filter.sql +
                                           " AND voided = 0 GROUP BY buyer ORDER BY buyer");
  BindFilter(rows, filter);
  while (rows.Step()) summary.push_back({rows.Text(3), TotalsAt(rows, 0)});
  return summary;
}

std::vector<DaySummary> BillBook::SummaryByDay(const BillQuery& query) const {
  std::vector<DaySummary> summary;
  BookSession session(file_, BookSession::Purpose::kRead);
  if (!session.HasBook()) return summary;
  const Filter filter = FilterOf(query);
  Statement rows(session.connection(), std::string(kCounted) + ", day FROM bills" + filter.sql +
                                           " AND voided = 0 GROUP BY day ORDER BY day");
  BindFilter(rows, filter);
  while (rows.Step()) summary.push_back({static_cast<int>(rows.Integer(3)), TotalsAt(rows, 0)});
  return summary;
}

}  // namespace billbook
