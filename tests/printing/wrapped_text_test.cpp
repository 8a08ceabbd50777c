#include "printing/wrapped_text.h"

#include <gtest/gtest.h>

#include "ink_rows.h"

namespace {

// The pixel rows a text wrapped into a wide box puts ink on.
std::vector<int> InkRowsOf(const char* text) {
  QImage image(400, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QFont font = painter.font();
  font.setPixelSize(20);
  painter.setFont(font);
  printing::DrawWrappedText(painter, image.rect(), Qt::AlignLeft | Qt::AlignTop, text, 0);
  painter.end();
  return test_support::InkRows(image, image.rect());
}

int Lines(const std::vector<int>& rows) {
  int lines = rows.empty() ? 0 : 1;
  for (std::size_t i = 1; i < rows.size(); ++i) lines += rows[i] != rows[i - 1] + 1;
  return lines;
}

// A line break typed into a cell ends its line, however the file spells it: \n, \r, or \r\n
// as one break; a box wide enough for the whole text keeps it on one line otherwise.
TEST(WrappedText, LineBreaksInTheCellEndTheirLines) {
  EXPECT_EQ(Lines(InkRowsOf("AB CD")), 1);
  EXPECT_EQ(Lines(InkRowsOf("AB\nCD\rEF")), 3);
  EXPECT_EQ(InkRowsOf("AB\r\nCD"), InkRowsOf("AB\nCD"));
}

}  // namespace
