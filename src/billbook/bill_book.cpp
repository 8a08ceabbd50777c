#include "billbook/bill_book.h"

#include <optional>

#include "billbook/bill_writer.h"
#include "billbook/book_session.h"

namespace billbook {

namespace {

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
  bool by_day = true;  // found through the day index
};

// What the query's rows are for: the list reads a page of whole rows in the order of days,
// the sums read a few columns of every row found.
enum class Use { kList, kSum };

Filter FilterOf(const BillQuery& query, Use use) {
  // SQLite has no statistics on the book, so the index is chosen here; "+day" keeps it from
  // the day index. Within a month the day index finds the few bills fastest. Over a longer
  // period the beginning of a name or number narrows more; and a sum over more than a year
  // reads the index by buyer and month alone, which holds every column it adds, rather
  // than the day index and each bill's row besides.
  const bool within_a_month = query.period.first_day / 100 == query.period.last_day / 100;
  const bool within_a_year = query.period.last_day - query.period.first_day < 10000;
  const bool by_prefix = !query.buyer_prefix.empty() || !query.number_prefix.empty();
  const bool by_day = within_a_month || (!by_prefix && (use == Use::kList || within_a_year));
  Filter filter{by_day ? " WHERE day BETWEEN ?1 AND ?2" : " WHERE +day BETWEEN ?1 AND ?2",
                {},
                query.period,
                by_day};
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

}  // namespace

Recorded BillBook::Record(const std::string& number, const BillContent& content,
                          const Recorder& recorder) {
  // A total that cannot be summed stops the recording before the book is opened.
  const ExactTotals totals = ExactTotalsOf(content);

  BookSession session(file_, BookSession::Purpose::kWrite);
  WriteTransaction write(session);
  Connection& connection = write.connection();
  BillWriter writer(connection);
  Recorded recorded;

  if (number.empty()) {
    recorded.number = writer.AddBill(content, totals, recorder);
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
      writer.AddRevision(*bill_id, recorded.revision, content, totals, recorder);
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
  const Filter filter = FilterOf(query, Use::kList);
  const std::string columns =
      "SELECT number, day, time, buyer, seller, total_volume, total_amount, revision_count, "
      "voided FROM bills";
  // The day index gives the page in order. A prefix's index does not, but it holds each
  // bill's day and id: the page is chosen from it alone, and only the page's rows are read
  // rather than the thousands of bills a family name finds. Within a day ids grow with the
  // serials, both handed out in the order of recording, so the order is the same.
  Statement list(session.connection(),
                 filter.by_day
                     ? columns + filter.sql + " ORDER BY day DESC, serial DESC LIMIT ?20 OFFSET ?21"
                     : columns + " WHERE id IN (SELECT id FROM bills" + filter.sql +
                           " ORDER BY day DESC, id DESC LIMIT ?20 OFFSET ?21)"
                           " ORDER BY day DESC, serial DESC");
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
  const Filter filter = FilterOf(query, Use::kList);
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
  const Filter filter = FilterOf(query, Use::kSum);
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
  const Filter filter = FilterOf(query, Use::kSum);
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
  const Filter filter = FilterOf(query, Use::kSum);
  Statement rows(session.connection(), std::string(kCounted) + ", day FROM bills" + filter.sql +
                                           " AND voided = 0 GROUP BY day ORDER BY day");
  BindFilter(rows, filter);
  while (rows.Step()) summary.push_back({static_cast<int>(rows.Integer(3)), TotalsAt(rows, 0)});
  return summary;
}

std::vector<BuyerMonthSummary> BillBook::SummaryByBuyerAndMonth(const BillQuery& query) const {
  std::vector<BuyerMonthSummary> summary;
  BookSession session(file_, BookSession::Purpose::kRead);
  if (!session.HasBook()) return summary;
  const Filter filter = FilterOf(query, Use::kSum);
  Statement rows(session.connection(),
                 std::string(kCounted) + ", buyer, day / 100 FROM bills" + filter.sql +
                     " AND voided = 0 GROUP BY buyer, day / 100 ORDER BY buyer, day / 100");
  BindFilter(rows, filter);
  while (rows.Step()) {
    summary.push_back({rows.Text(3), static_cast<int>(rows.Integer(4)), TotalsAt(rows, 0)});
  }
  return summary;
}

DailyBackup BillBook::StartBackup(const LocalTime& today) const {
  return DailyBackup(file_, DayNumber(today.year, today.month, today.day));
}

BackupOutcome BillBook::BackUpIfDue(const LocalTime& today) const {
  DailyBackup backup = StartBackup(today);
  while (!backup.Step()) {
  }
  return backup.outcome();
}

}  // namespace billbook
