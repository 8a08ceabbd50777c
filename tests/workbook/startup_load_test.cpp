#include "workbook/startup_load.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "recording_automation.h"
#include "workbook/workbook_path.h"

namespace workbook {
namespace {

using testing::Recorder;
using testing::RecordingFactory;

const std::filesystem::path kProgramDir = "/opt/tally";

struct LoadFixture {
  Recorder recorder;
  RecordingFactory factory{recorder};
  testing::Cells& reference = recorder.sheets["资料"];

  ReferenceData Load() { return LoadReferenceData(factory, kProgramDir); }
  bool Read(int row, int column) const {
    const std::string get = "get " + std::to_string(row) + "," + std::to_string(column);
    return std::find(recorder.log.begin(), recorder.log.end(), get) != recorder.log.end();
  }
};

TEST(StartupLoad, ReadsBuyersUpToTheGapThenTheSellerInOrder) {
  LoadFixture f;
  f.reference[{3, 2}] = u"东风木业";
  f.reference[{4, 2}] = u"南山建材";
  f.reference[{5, 2}] = u"北河家具";
  f.reference[{7, 2}] = u"below the gap";
  f.reference[{3, 3}] = u"西林锯材厂";
  const ReferenceData data = f.Load();
  EXPECT_EQ(data.buyers, (std::vector<std::u16string>{u"东风木业", u"南山建材", u"北河家具"}));
  EXPECT_EQ(data.seller, u"西林锯材厂");
  const std::vector<std::string> expected = {
      "create Excel.application",
      "workbooks",
      "open " + WorkbookPath(kProgramDir).string(),
      "release workbooks",
      "worksheets 资料",
      "visible 0",
      "get 3,2",
      "get 4,2",
      "get 5,2",
      "get 6,2",
      "get 3,3",
      "save",
      "close",
      "release app",
      "release sheet",
      "release book",
  };
  EXPECT_EQ(f.recorder.log, expected);
}

TEST(StartupLoad, StopsAfterRow203AndKeepsBlankAndNumberNames) {
  LoadFixture f;
  for (int row = 3; row <= 204; ++row) {
    f.reference[{row, 2}] = u"买家" + std::u16string(1, static_cast<char16_t>(u'A' + row % 26));
  }
  f.reference[{4, 2}] = u"   ";
  f.reference[{5, 2}] = u"0";
  const ReferenceData data = f.Load();
  ASSERT_EQ(data.buyers.size(), 201u);
  EXPECT_EQ(data.buyers[1], u"   ");
  EXPECT_EQ(data.buyers[2], u"0");
  EXPECT_TRUE(f.Read(203, 2));
  EXPECT_FALSE(f.Read(204, 2));
  EXPECT_EQ(data.seller, u"");  // an empty seller cell gives an empty caption
}

TEST(StartupLoad, AnEmptyFirstBuyerStillReadsTheSeller) {
  LoadFixture f;
  f.reference[{4, 2}] = u"not reached";
  f.reference[{3, 3}] = u"卖方";
  const ReferenceData data = f.Load();
  EXPECT_TRUE(data.buyers.empty());
  EXPECT_EQ(data.seller, u"卖方");
}

TEST(StartupLoad, AFailureAtAnyStepReachesTheCallerAndReleasesEverything) {
  LoadFixture clean;
  clean.reference[{3, 2}] = u"甲";
  clean.Load();
  for (int operation = 0; operation < clean.recorder.operations; ++operation) {
    LoadFixture f;
    f.reference[{3, 2}] = u"甲";
    f.recorder.failing_operations = {operation};
    try {
      f.Load();
      ADD_FAILURE() << "no failure at operation " << operation;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.Number(), 75);
    }
    EXPECT_EQ(f.recorder.live_handles, 0) << operation;
    EXPECT_EQ(f.recorder.operations, operation + 1) << "nothing after the failure runs";
  }
}

TEST(StartupLoad, AMissingReferenceSheetIsReported) {
  Recorder recorder;
  RecordingFactory factory(recorder);
  try {
    LoadReferenceData(factory, kProgramDir);
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), 9);
  }
  EXPECT_EQ(recorder.live_handles, 0);
}

}  // namespace
}  // namespace workbook
