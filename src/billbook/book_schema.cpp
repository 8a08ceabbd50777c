#include "billbook/book_schema.h"

#include <array>
#include <string>
#include <string_view>

namespace billbook {

namespace {

// Marks the file as the bill book, so another program's database with a user_version of
// its own is not taken for one (written as PRAGMA application_id, bytes 68-71 of the file).
constexpr std::int64_t kApplicationId = 0x5642424B;  // "VBBK"

// Step i upgrades a book of version i to version i + 1; step 0 makes a new book.
constexpr std::array<std::string_view, 1> kUpgradeSteps = {
    R"sql(
CREATE TABLE bills(
  id INTEGER PRIMARY KEY,
  number TEXT NOT NULL,          -- YYYYMMDD-NNN
  day INTEGER NOT NULL,          -- YYYYMMDD of the first recording
  serial INTEGER NOT NULL,       -- NNN: the day's serial
  -- the latest revision as the list shows it, kept here so that the list and the sums
  -- read this table alone
  time TEXT NOT NULL,
  buyer TEXT NOT NULL,
  seller TEXT NOT NULL,
  total_volume TEXT NOT NULL,
  total_amount TEXT NOT NULL,
  volume_e4 INTEGER NOT NULL,    -- 1/10000 m³
  amount_fen INTEGER NOT NULL,
  revision_count INTEGER NOT NULL,
  voided INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX bills_by_number ON bills(number);
CREATE UNIQUE INDEX bills_by_day ON bills(day, serial);
CREATE INDEX bills_by_buyer ON bills(buyer, day);

CREATE TABLE revisions(
  id INTEGER PRIMARY KEY,
  bill_id INTEGER NOT NULL REFERENCES bills(id),
  revision INTEGER NOT NULL,     -- 1 as first printed
  time TEXT NOT NULL,            -- YYYY-MM-DD HH:MM:SS, local
  buyer TEXT NOT NULL,
  seller TEXT NOT NULL,
  scaler TEXT NOT NULL,
  total_volume TEXT NOT NULL,
  total_amount TEXT NOT NULL,
  volume_e4 INTEGER NOT NULL,
  amount_fen INTEGER NOT NULL,
  pc_name TEXT NOT NULL,
  user_name TEXT NOT NULL,
  print_count INTEGER NOT NULL
);
CREATE UNIQUE INDEX revisions_of_bill ON revisions(bill_id, revision);

-- The bill's lines as shown, 1 to 13; lines left blank are not stored.
CREATE TABLE revision_lines(
  revision_id INTEGER NOT NULL REFERENCES revisions(id),
  line INTEGER NOT NULL,
  field1 TEXT NOT NULL, field2 TEXT NOT NULL, field3 TEXT NOT NULL, field4 TEXT NOT NULL,
  field5 TEXT NOT NULL, field6 TEXT NOT NULL, field7 TEXT NOT NULL, field8 TEXT NOT NULL,
  PRIMARY KEY(revision_id, line)
) WITHOUT ROWID;

-- 作废: the bill stays, left out of every total.
CREATE TABLE voidings(
  bill_id INTEGER PRIMARY KEY REFERENCES bills(id),
  time TEXT NOT NULL,
  reason TEXT NOT NULL,
  pc_name TEXT NOT NULL,
  user_name TEXT NOT NULL
);
)sql",
};

// Indexes that only make queries faster. They change nothing a program must know to read or
// write the book, so they are no version of their own: PCs sharing the folder may run
// programs from before and after them, and a book that lacks them gets them in its next
// write (on ten years of bills, a second once). The check looks for the last index named.
constexpr std::string_view kTuning = R"sql(
-- Every bill's buyer, month and figures in the order of buyer and month: the summary per
-- buyer and month reads this index alone, in order, and so does any sum over many years.
-- It begins with the buyer, so it also finds a buyer's name by its beginning.
CREATE INDEX IF NOT EXISTS bills_by_buyer_and_month
  ON bills(buyer, day / 100, day, voided, volume_e4, amount_fen);
DROP INDEX IF EXISTS bills_by_buyer;
)sql";
constexpr std::string_view kLastTuningIndex = "bills_by_buyer_and_month";

bool Tuned(Connection& connection) {
  return connection.QueryInteger(
             "SELECT count(*) FROM sqlite_schema WHERE type = 'index' AND "
             "name = '" +
             std::string(kLastTuningIndex) + "'") == 1;
}

}  // namespace

int CurrentSchemaVersion() {
  return static_cast<int>(kUpgradeSteps.size());
}

SchemaState CheckSchema(Connection& connection) {
  const std::int64_t application = connection.QueryInteger("PRAGMA application_id");
  const std::int64_t version = connection.QueryInteger("PRAGMA user_version");
  const std::int64_t objects = connection.QueryInteger("SELECT count(*) FROM sqlite_schema");
  if (application == 0 && version == 0 && objects == 0) return SchemaState::kEmpty;
  if (application != kApplicationId || version < 1) {
    throw BookError(Failure::kForeignDatabase, "not a bill book: application id " +
                                                   std::to_string(application) + ", version " +
                                                   std::to_string(version));
  }
  if (version > CurrentSchemaVersion()) {
    throw BookError(Failure::kNewerThanProgram, "bill book of version " + std::to_string(version) +
                                                    ", this program knows " +
                                                    std::to_string(CurrentSchemaVersion()));
  }
  return version < CurrentSchemaVersion() ? SchemaState::kOlder : SchemaState::kCurrent;
}

void PrepareSchema(Connection& connection) {
  const SchemaState state = CheckSchema(connection);
  if (state == SchemaState::kCurrent) {
    if (!Tuned(connection)) connection.Execute(kTuning);
    return;
  }
  const int from = state == SchemaState::kEmpty
                       ? 0
                       : static_cast<int>(connection.QueryInteger("PRAGMA user_version"));
  for (int version = from; version < CurrentSchemaVersion(); ++version) {
    connection.Execute(kUpgradeSteps[static_cast<std::size_t>(version)]);
  }
  connection.Execute("PRAGMA application_id = " + std::to_string(kApplicationId));
  connection.Execute("PRAGMA user_version = " + std::to_string(CurrentSchemaVersion()));
  connection.Execute(kTuning);
}

}  // namespace billbook
