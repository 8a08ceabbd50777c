#pragma once

// What the bill book keeps of a bill, and what it hands back.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace billbook {

inline constexpr int kLineCount = 13;
inline constexpr int kLineFields = 8;
using Line = std::array<std::string, kLineFields>;

// One printed bill as the window showed it: every text exactly as shown.
struct BillContent {
  std::string buyer;
  std::string seller;
  std::string scaler;
  std::array<Line, kLineCount> lines;
  std::string total_volume;  // m³, four decimals
  std::string total_amount;  // 元, two decimals

  bool operator==(const BillContent&) const = default;
};

// The local time of a recording, as the PC's clock shows it.
struct LocalTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Who recorded, where and when.
struct Recorder {
  LocalTime time;
  std::string pc_name;
  std::string user;
};

struct Revision {
  int number = 1;    // 1 for the bill as first printed
  std::string time;  // "YYYY-MM-DD HH:MM:SS", local
  BillContent content;
  std::int64_t volume_e4 = 0;  // 1/10000 m³
  std::int64_t amount_fen = 0;
  std::string pc_name;
  std::string user;
  int print_count = 1;
};

struct Voiding {
  std::string time;
  std::string reason;
  std::string pc_name;
  std::string user;
};

// A bill opened from the book: its latest revision first, every earlier one after it.
struct OpenedBill {
  std::string number;
  std::vector<Revision> revisions;  // newest first
  bool voided = false;
  Voiding voiding;  // when voided
};

// What recording a bill did.
struct Recorded {
  enum class Kind { kNewBill, kReprint, kNewRevision };
  Kind kind = Kind::kNewBill;
  std::string number;  // "YYYYMMDD-NNN"
  int revision = 1;
  int print_count = 1;
};

// One line of the book's list: a bill as its latest revision shows it.
struct BillRow {
  std::string number;
  int day = 0;       // YYYYMMDD of the first recording
  std::string time;  // of the latest revision
  std::string buyer;
  std::string seller;
  std::string total_volume;
  std::string total_amount;
  int revision_count = 1;  // more than 1: corrected
  bool voided = false;
};

// A bill with everything an export of the book writes: its line of the list, and of its
// latest revision the scaler, the exact totals and the lines that are not blank.
struct BillInFull {
  BillRow row;
  std::string scaler;
  std::int64_t volume_e4 = 0;
  std::int64_t amount_fen = 0;
  int print_count = 0;      // over all its revisions: each was printed once, reprints more
  std::vector<Line> lines;  // top to bottom, blank lines left out
};

// Bills, m³ and 元 of the bills that count (voided ones do not).
struct Totals {
  std::int64_t bills = 0;
  std::int64_t volume_e4 = 0;
  std::int64_t amount_fen = 0;
  bool operator==(const Totals&) const = default;
};

struct BuyerSummary {
  std::string buyer;
  Totals totals;
};

struct BuyerMonthSummary {
  std::string buyer;
  int month = 0;  // YYYYMM
  Totals totals;
};

struct DaySummary {
  int day = 0;  // YYYYMMDD
  Totals totals;
};

}  // namespace billbook
