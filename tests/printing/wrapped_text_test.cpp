#include "printing/wrapped_text.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

// How many bands of rows with ink the image has, top to bottom: one per line of text.
int InkedBands(const QImage& image) {
  int bands = 0;
  bool inked_before = false;
  for (int y = 0; y < image.height(); ++y) {
    bool inked = false;
    for (int x = 0; x < image.width() && !inked; ++x) inked = qGray(image.pixel(x, y)) < 128;
    if (inked && !inked_before) ++bands;
    inked_before = inked;
  }
  return bands;
}

// A line break typed into a cell ends its line, however the file spells it; a box wide
// enough for the whole text keeps it on one line otherwise.
TEST(WrappedText, LineBreaksInTheCellEndTheirLines) {
  const std::pair<const char*, int> cases[] = {
      {"AB CD", 1}, {"AB\nCD", 2}, {"AB\r\nCD", 2}, {"AB \nCD\nEF", 3}};
  for (const auto& [text, lines] : cases) {
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(20);
    painter.setFont(font);
    printing::DrawWrappedText(painter, QRectF(0, 0, 400, 200), Qt::AlignLeft | Qt::AlignTop,
                              QString::fromLatin1(text), 0);
    painter.end();
    EXPECT_EQ(InkedBands(image), lines) << text;
  }
}

}  // namespace
