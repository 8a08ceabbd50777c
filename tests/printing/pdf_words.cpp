#include "pdf_words.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "spreadsheet_programs.h"

namespace printing_test {

namespace {

std::string Unescape(std::string text) {
  const std::vector<std::pair<std::string, std::string>> entities = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities) {
    for (std::size_t at = text.find(entity); at != std::string::npos;
         at = text.find(entity, at + plain.size())) {
      text.replace(at, entity.size(), plain);
    }
  }
  return text;
}

}  // namespace

std::vector<PdfPage> ReadPdfWords(const std::filesystem::path& pdf,
                                  const std::filesystem::path& work) {
  const std::filesystem::path html = work / (pdf.stem().string() + ".words.html");
  if (!test_support::Run("pdftotext -bbox '" + pdf.string() + "' '" + html.string() +
                         "' >/dev/null 2>&1")) {
    return {};
  }
  std::ifstream in(html);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::regex page_pattern("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">");
  const std::regex word_pattern(
      "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
      "yMax=\"([0-9.]+)\">([^<]*)</word>");
  std::vector<PdfPage> pages;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_search(line, m, page_pattern)) {
      pages.push_back({std::stod(m[1]), std::stod(m[2]), {}});
    } else if (std::regex_search(line, m, word_pattern) && !pages.empty()) {
      pages.back().words.push_back(
          {Unescape(m[5]), std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])});
    }
  }
  return pages;
}

double Distance(const PdfWord& a, const PdfWord& b) {
  const double dx = std::min({std::abs(a.x_min - b.x_min), std::abs(a.x_max - b.x_max),
                              std::abs((a.x_min + a.x_max) - (b.x_min + b.x_max)) / 2});
  const double dy = std::min({std::abs(a.y_min - b.y_min), std::abs(a.y_max - b.y_max),
                              std::abs((a.y_min + a.y_max) - (b.y_min + b.y_max)) / 2});
  return std::max(dx, dy);
}

}  // namespace printing_test
