#include "xls/biff/cell_value.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace xls::biff {
namespace {

TEST(CellValueDisplay, ErrorsShowAsSpreadsheetsWriteThem) {
  struct Case {
    CellValue value;
    const char16_t* shown;
  };
  const Case cases[] = {
      {CellValue::Error(ErrorCode::kNull), u"#NULL!"},
      {CellValue::Error(ErrorCode::kDivisionByZero), u"#DIV/0!"},
      {CellValue::Error(ErrorCode::kValue), u"#VALUE!"},
      {CellValue::Error(ErrorCode::kReference), u"#REF!"},
      {CellValue::Error(ErrorCode::kName), u"#NAME?"},
      {CellValue::Error(ErrorCode::kNumber), u"#NUM!"},
      {CellValue::Error(ErrorCode::kNotAvailable), u"#N/A"},
      // The codes as the file stores them, the same as the named ones.
      {CellValue::Error(std::uint8_t{0x07}), u"#DIV/0!"},
      {CellValue::Error(std::uint8_t{0x2A}), u"#N/A"},
      // A code no program writes shows as the error of a wrong value.
      {CellValue::Error(std::uint8_t{0x2B}), u"#VALUE!"},
      {CellValue::Error(std::uint8_t{0xFF}), u"#VALUE!"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayText(c.value), c.shown) << int{c.value.error};
  }
}

}  // namespace
}  // namespace xls::biff
