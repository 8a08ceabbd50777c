#include "workbook/tally_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "recording_automation.h"
#include "tally/memory_field_store.h"
#include "tally/recalculation_pass.h"
#include "tally/tally_sheet.h"
#include "workbook/workbook_path.h"

namespace workbook {
namespace {

using testing::Recorder;
using testing::RecordingFactory;

const std::filesystem::path kProgramDir = "/opt/tally";

// The window's texts, kept in memory.
struct MemorySource final : ExportSource {
  tally::MemoryFieldStore store;
  tally::TallySheet sheet{store};
  std::u16string buyer = u"          ";
  std::u16string seller = u"西林锯材厂";
  std::u16string Buyer() const override { return buyer; }
  std::u16string Seller() const override { return seller; }
  std::u16string Text(tally::FieldId field) const override { return sheet.Text(field); }
};

struct ExportFixture {
  Recorder recorder;
  RecordingFactory factory{recorder};
  int reminders = 0;
  TallyExport exporter{factory, kProgramDir, [this] {
                         ++reminders;
                         recorder.log.push_back("reminder");
                       }};
  MemorySource source;

  ExportFixture() {
    recorder.sheets["码单"];
    source.sheet.SetText(tally::TallyColumn::Length, 0, u"4");
    source.sheet.SetText(tally::TallyColumn::Width, 0, u"200");
    source.sheet.SetText(tally::TallyColumn::Thickness, 0, u"50");
    source.sheet.SetText(tally::TallyColumn::Bundles, 0, u"1");
    source.sheet.SetText(tally::TallyColumn::PiecesPerBundle, 0, u"10");
    source.sheet.SetText(tally::TallyColumn::UnitPrice, 0, u"800");
    source.sheet.SetText(tally::SingleField::Text9, u"李四");
    tally::RecalculationPass(source.sheet);
    tally::RecalculationPass(source.sheet);
  }
  testing::Cells& Written() { return recorder.sheets["码单"]; }
  std::u16string Cell(int row, int column) { return Written()[{row, column}]; }
};

// The writes of one attempt, with the cells as the template lays them out: the buyer at
// (3, 2), line r in row 5 + r with its eight columns from 1 to 8 in the window's order, the
// scaler at (18, 2), the total volume at (18, 6) and the total amount at (18, 7).
std::vector<std::string> ExpectedWrites(const MemorySource& source) {
  auto set = [](int row, int column, std::u16string_view text) {
    return "set " + std::to_string(row) + "," + std::to_string(column) + "=" + base::ToUtf8(text);
  };
  std::vector<std::string> log = {set(14, 2, source.Seller()), set(3, 2, source.Buyer())};
  for (int row = 0; row < 13; ++row) {
    for (int column = 0; column < 8; ++column) {
      const auto c = static_cast<tally::TallyColumn>(column);
      log.push_back(set(5 + row, 1 + column, source.Text(tally::FieldId(c, row))));
    }
  }
  log.push_back(set(18, 2, source.Text(tally::SingleField::Text9)));
  log.push_back(set(18, 6, source.Text(tally::SingleField::Text10)));
  log.push_back(set(18, 7, source.Text(tally::SingleField::Text11)));
  return log;
}

std::vector<std::string> ExpectedAttempt(const MemorySource& source) {
  const std::string open = "open " + WorkbookPath(kProgramDir).string();
  std::vector<std::string> log = {"create Excel.Application", "workbooks", open,
                                  "release workbooks", "worksheets 码单"};
  for (std::string& write : ExpectedWrites(source)) log.push_back(std::move(write));
  for (const char* step :
       {"save", "workbooks", "workbooks.close", "release workbooks", "quit", "release sheet",
        "release book", "release app", "create Excel.Application", "workbooks"}) {
    log.emplace_back(step);
  }
  for (const std::string& step :
       {open, std::string("release workbooks"), std::string("worksheets 码单"),
        std::string("visible 1"), std::string("release sheet"), std::string("release book"),
        std::string("release app")}) {
    log.push_back(step);
  }
  return log;
}

TEST(TallyExport, HoldsTheWholeConversationInOrder) {
  ExportFixture f;
  f.exporter.SetAfterSave([&f] { f.recorder.log.emplace_back("after save"); });
  f.exporter.Run(f.source);
  std::vector<std::string> expected = {"reminder"};
  for (std::string& step : ExpectedAttempt(f.source)) expected.push_back(std::move(step));
  // Inside the save, which keeps other saves of the workbook waiting meanwhile.
  expected.insert(std::find(expected.begin(), expected.end(), "save") + 1, "after save");
  EXPECT_EQ(f.recorder.log, expected);
  EXPECT_EQ(f.recorder.live_handles, 0);
  // What the sheet holds afterwards: the texts as shown, the seller overwritten by row 9.
  const std::pair<std::pair<int, int>, std::u16string> cells[] = {
      {{3, 2}, u"          "}, {{5, 1}, u"4"},  {{5, 2}, u"200"},    {{5, 3}, u"50"},
      {{5, 4}, u"1"},          {{5, 5}, u"10"}, {{5, 6}, u"0.4000"}, {{5, 7}, u"800"},
      {{5, 8}, u"320.00"},     {{14, 2}, u""},  {{18, 2}, u"李四"},  {{18, 6}, u"0.4000"},
      {{18, 7}, u"320.00"},
  };
  for (const auto& [cell, text] : cells) {
    EXPECT_EQ(f.Cell(cell.first, cell.second), text) << cell.first << "," << cell.second;
  }
}

TEST(TallyExport, RemindsOnTheFirstExportOfTheRunOnly) {
  ExportFixture f;
  f.exporter.Run(f.source);
  f.exporter.Run(f.source);
  f.exporter.Run(f.source);
  EXPECT_EQ(f.reminders, 1);
  EXPECT_EQ(f.recorder.log.front(), "reminder");
}

int OperationsPerAttempt(const MemorySource& source) {
  const std::vector<std::string> attempt = ExpectedAttempt(source);
  return static_cast<int>(std::count_if(attempt.begin(), attempt.end(), [](const std::string& s) {
    return s.rfind("release", 0) != 0;
  }));
}

TEST(TallyExport, OneFailureAnywhereRepeatsTheWholeExportWithoutReminder) {
  ExportFixture clean;
  const std::vector<std::string> attempt = ExpectedAttempt(clean.source);
  for (int operation = 0; operation < OperationsPerAttempt(clean.source); ++operation) {
    ExportFixture f;
    f.recorder.failing_operations = {operation};
    EXPECT_NO_THROW(f.exporter.Run(f.source)) << operation;
    EXPECT_EQ(f.reminders, 1);
    EXPECT_EQ(f.recorder.live_handles, 0) << operation;
    // The retry is the complete attempt again, from creating the writing instance on.
    ASSERT_GE(f.recorder.log.size(), attempt.size());
    const std::vector<std::string> tail(f.recorder.log.end() - static_cast<long>(attempt.size()),
                                        f.recorder.log.end());
    EXPECT_EQ(tail, attempt) << "failed at operation " << operation;
  }
}

TEST(TallyExport, ASecondFailureReachesTheCallerWithNothingLeftOpen) {
  ExportFixture clean;
  const int per_attempt = OperationsPerAttempt(clean.source);
  for (int retry_operation = 0; retry_operation < per_attempt; ++retry_operation) {
    ExportFixture f;
    // The first attempt fails at creating its instance, the retry at `retry_operation`.
    f.recorder.failing_operations = {0, 1 + retry_operation};
    try {
      f.exporter.Run(f.source);
      ADD_FAILURE() << "no failure at retry operation " << retry_operation;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.Number(), 75);
      EXPECT_EQ(e.Description(), "注入的故障");
    }
    EXPECT_EQ(f.recorder.live_handles, 0);
    EXPECT_EQ(f.reminders, 1);
  }
}

TEST(TallyExport, ReadsEachTextAtTheMomentItIsWritten) {
  ExportFixture f;
  TallyExport exporter(f.factory, kProgramDir, [&] { f.source.buyer = u"东风木业"; });
  exporter.Run(f.source);
  EXPECT_EQ(f.Cell(3, 2), u"东风木业");
}

// The template holds an earlier export's texts in every cell the export writes: an empty tally
// must leave none of them behind (an export that skipped empty fields would print them).
TEST(TallyExport, AnEmptyTallyStillOverwritesEveryCell) {
  ExportFixture f;
  std::vector<std::pair<int, int>> written = {{3, 2}, {18, 2}, {18, 6}, {18, 7}};
  for (int row = 5; row <= 17; ++row) {
    for (int column = 1; column <= 8; ++column) written.emplace_back(row, column);
  }
  for (const auto& cell : written) f.Written()[cell] = u"上次的内容";
  f.source.buyer = u"";
  f.source.sheet.ClearEntries();
  f.source.sheet.SetText(tally::SingleField::Text9, u"");
  tally::RecalculationPass(f.source.sheet);
  tally::RecalculationPass(f.source.sheet);
  f.exporter.Run(f.source);
  for (const auto& [row, column] : written) {
    EXPECT_EQ(f.Cell(row, column), u"") << row << "," << column;
  }
}

}  // namespace
}  // namespace workbook
