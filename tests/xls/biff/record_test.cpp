#include "xls/biff/record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace xls::biff {
namespace {

TEST(RecordName, NamesRecordsTheEngineReadsAndThoseItPassesBy) {
  struct Case {
    std::uint16_t type;
    std::string_view name;
  };
  const Case cases[] = {
      // Read or written by the engine.
      {record_type::kBof, "BOF"},
      {record_type::kEof, "EOF"},
      {record_type::kBoundSheet, "BOUNDSHEET8"},
      {record_type::kSst, "SST"},
      {record_type::kLabelSst, "LABELSST"},
      {record_type::kDateMode, "DATE1904"},
      {record_type::kHorizontalPageBreaks, "HBREAK"},
      {record_type::kVerticalPageBreaks, "VBREAK"},
      {record_type::kHeaderFooter, "HEADERFOOTER"},
      // Carried through unread.
      {0x003D, "WINDOW1"},
      {0x0293, "STYLE"},
      {0x0896, "THEME"},
      // Unknown types have no name, whatever their neighbours are.
      {0x0000, ""},
      {0x0807, ""},
      {0xFFFF, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RecordName(c.type), c.name) << std::hex << c.type;
  }
}

}  // namespace
}  // namespace xls::biff
