#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace printing_test {

// A word on a PDF page as poppler's pdftotext -bbox finds it, in points from the top left.
struct PdfWord {
  std::string text;
  double x_min = 0;
  double y_min = 0;
  double x_max = 0;
  double y_max = 0;
};

struct PdfPage {
  double width = 0;
  double height = 0;
  std::vector<PdfWord> words;
};

// The pages of a PDF with their words; empty when pdftotext fails.
std::vector<PdfPage> ReadPdfWords(const std::filesystem::path& pdf,
                                  const std::filesystem::path& work);

// How far apart two boxes of the same text stand, in points: the smaller of the distances
// between their left edges, right edges and middles, horizontally and vertically, and the
// larger of those two. Programs that draw a text in different fonts still agree on the edge
// or middle it is aligned to.
double Distance(const PdfWord& a, const PdfWord& b);

}  // namespace printing_test
