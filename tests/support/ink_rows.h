#pragma once

// Where a test's drawing put ink: for checks of what a painter drew without comparing
// pictures pixel by pixel.

#include <QImage>
#include <QRect>
#include <vector>

namespace test_support {

// The rows (top to bottom, in image pixels) that hold ink, anything clearly darker than a
// white background, within an area.
inline std::vector<int> InkRows(const QImage& image, const QRect& area) {
  std::vector<int> rows;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        rows.push_back(y);
        break;
      }
    }
  }
  return rows;
}

}  // namespace test_support
