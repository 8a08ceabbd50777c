#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "workbook/cfb/compound_file.h"

namespace {
namespace fs = std::filesystem;
using workbook::cfb::CompoundFile;
using workbook::cfb::FormatError;

std::vector<std::uint8_t> Load(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CompoundFileCorpus, Smoke) {
  for (const auto& dir : {"excel", "other", "edge"}) {
    for (const auto& e : fs::directory_iterator(fs::path(VERDALON_XLS_CORPUS) / dir)) {
      const auto bytes = Load(e.path());
      try {
        const auto file = CompoundFile::Read(bytes);
        const auto again = CompoundFile::Read(file.Write());
        std::string names;
        for (const auto& n : file.RootStreamNames()) {
          names += std::string(n.begin(), n.end()) + " ";
          EXPECT_EQ(file.ReadStream(n), again.ReadStream(n)) << e.path();
        }
        std::cout << "OK " << e.path().filename() << " v" << file.MajorVersion() << " " << names
                  << "\n";
      } catch (const FormatError& error) {
        std::cout << "ERR " << e.path().filename() << ": " << error.what() << "\n";
      }
    }
  }
}

}  // namespace
