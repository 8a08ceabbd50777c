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
  // The codes as the file stores them; a code no program writes shows as a wrong value.
  const Case cases[] = {
      {CellValue::Error(std::uint8_t{0x00}), u"#NULL!"},
      {CellValue::Error(std::uint8_t{0x07}), u"#DIV/0!"},
      {CellValue::Error(std::uint8_t{0x0F}), u"#VALUE!"},
      {CellValue::Error(std::uint8_t{0x17}), u"#REF!"},
      {CellValue::Error(std::uint8_t{0x1D}), u"#NAME?"},
      {CellValue::Error(std::uint8_t{0x24}), u"#NUM!"},
      {CellValue::Error(std::uint8_t{0x2A}), u"#N/A"},
      {CellValue::Error(std::uint8_t{0x2B}), u"#VALUE!"},
      {CellValue::Error(std::uint8_t{0xFF}), u"#VALUE!"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayText(c.value), c.shown) << int{c.value.error};
  }
}

}  // namespace
}  // namespace xls::biff
