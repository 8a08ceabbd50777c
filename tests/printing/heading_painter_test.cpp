#include "printing/heading_painter.h"

#include <gtest/gtest.h>

namespace {

TEST(HeadingPainter, ColumnsAreNamedAsSpreadsheetsNameThem) {
  const std::pair<std::uint16_t, const char*> names[] = {{0, "A"},   {25, "Z"},  {26, "AA"},
                                                         {51, "AZ"}, {52, "BA"}, {255, "IV"}};
  for (const auto& [column, name] : names) {
    EXPECT_EQ(printing::ColumnLetters(column), QString::fromLatin1(name)) << column;
  }
}

}  // namespace
