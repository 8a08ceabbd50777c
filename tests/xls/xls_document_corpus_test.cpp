#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "compound_files.h"
#include "xls/biff/cell_value.h"
#include "xls/failure.h"
#include "xls/xls_document.h"

namespace xls {
namespace {

namespace fs = std::filesystem;

// Every cell's text, by sheet name and cell (counted from 0).
using Snapshot = std::map<std::u16string, std::map<biff::CellAddress, std::u16string>>;

Snapshot TakeSnapshot(const XlsDocument& document) {
  Snapshot snapshot;
  for (std::size_t sheet = 0; sheet < document.SheetCount(); ++sheet) {
    auto& cells = snapshot[document.SheetName(sheet)];
    for (const auto& [key, cell] : document.Sheet(sheet).Cells()) {
      cells[key] = xls::biff::DisplayText(cell.value);
    }
  }
  return snapshot;
}

// The cells that hold constants: a save computes every formula's result anew (compared
// with LibreOffice's in the stored formula results tests).
Snapshot ConstantCells(const XlsDocument& document) {
  Snapshot snapshot = TakeSnapshot(document);
  for (std::size_t sheet = 0; sheet < document.SheetCount(); ++sheet) {
    for (const auto& formula : document.Sheet(sheet).Formulas()) {
      snapshot[document.SheetName(sheet)].erase(formula.cell);
    }
  }
  return snapshot;
}

std::size_t NonEmptyCells(const Snapshot& snapshot) {
  std::size_t count = 0;
  for (const auto& [name, cells] : snapshot) {
    for (const auto& [key, text] : cells)
      if (!text.empty()) ++count;
  }
  return count;
}

// The non-empty cell counts LibreOffice found, as the corpus manifest lists them.
std::map<std::string, std::size_t> LibreOfficeCounts() {
  std::map<std::string, std::size_t> counts;
  std::ifstream manifest(test_support::CorpusDir() / "MANIFEST.md");
  const std::regex row(R"(^\| ([a-z]+/[^ |]+\.xls) \|.*\| LO: ok (\d+) cells)");
  std::string line;
  std::smatch match;
  while (std::getline(manifest, line)) {
    if (std::regex_search(line, match, row)) counts[match[1]] = std::stoul(match[2]);
  }
  return counts;
}

TEST(XlsDocumentCorpus, EveryFileOpensOrFailsWithATypedFailure) {
  std::size_t files = 0;
  for (const char* folder : {"excel", "other", "edge"}) {
    for (const fs::path& path : test_support::CorpusFiles(folder)) {
      ++files;
      try {
        const auto document = XlsDocument::Open(path);
        (void)TakeSnapshot(*document);
      } catch (const xls::Failure& failure) {
        EXPECT_EQ(std::string(folder), "edge") << path << ": " << failure.what();
        EXPECT_EQ(failure.Path(), path);
      }
    }
  }
  if (files == 0) GTEST_SKIP() << "no corpus at " << test_support::CorpusDir();
}

// Every excel/ and other/ file finds the cells LibreOffice finds. Where the engine could
// differ by design: it counts a cell whose value is the empty string as empty, as a
// General cell shows nothing; no listed file needs that allowance today.
TEST(XlsDocumentCorpus, FindsTheNonEmptyCellsLibreOfficeFinds) {
  const auto counts = LibreOfficeCounts();
  if (counts.empty()) GTEST_SKIP() << "no corpus manifest";
  for (const char* folder : {"excel", "other"}) {
    for (const fs::path& path : test_support::CorpusFiles(folder)) {
      const std::string name = std::string(folder) + "/" + path.filename().string();
      const auto expected = counts.find(name);
      ASSERT_NE(expected, counts.end()) << name;
      EXPECT_EQ(NonEmptyCells(TakeSnapshot(*XlsDocument::Open(path))), expected->second) << name;
    }
  }
}

// Writes a new string, a number, an empty text over the first cell and a string over the
// last one of the first sheet; after saving and reopening, those hold the new values and
// every other cell of every sheet is as it was.
TEST(XlsDocumentCorpus, WriteSaveReopenKeepsEveryUntouchedConstant) {
  std::size_t files = 0;
  for (const char* folder : {"excel", "other"}) {
    for (const fs::path& source : test_support::CorpusFiles(folder)) {
      ++files;
      test_support::TempDir temp;
      const fs::path path = temp.Path() / source.filename();
      fs::copy_file(source, path);
      fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
      auto document = XlsDocument::Open(path);
      Snapshot expected = ConstantCells(*document);
      auto& first_sheet = expected[document->SheetName(0)];
      std::map<std::pair<int, int>, std::u16string> writes{
          {{300, 3}, u"新的买方 " + source.filename().u16string()}, {{301, 3}, u"12.5"}};
      if (!first_sheet.empty()) {
        const biff::CellAddress first = first_sheet.begin()->first;
        const biff::CellAddress last = first_sheet.rbegin()->first;
        writes[{first.row + 1, first.column + 1}] = u"";
        writes[{last.row + 1, last.column + 1}] = u"改";
      }
      for (const auto& [cell, text] : writes) {
        document->SetCell(0, cell.first, cell.second, text);
        const biff::CellAddress key{static_cast<std::uint16_t>(cell.first - 1),
                                    static_cast<std::uint16_t>(cell.second - 1)};
        if (!text.empty() || first_sheet.contains(key)) first_sheet[key] = text;
      }
      document->Save();
      const auto reopened = XlsDocument::Open(path);
      EXPECT_EQ(ConstantCells(*reopened), expected) << source;
    }
  }
  if (files == 0) GTEST_SKIP() << "no corpus at " << test_support::CorpusDir();
}

}  // namespace
}  // namespace xls
