#include "compound_files.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "xls/cfb/cfb_constants.h"

namespace test_support {

namespace fs = std::filesystem;

fs::path CorpusDir() {
  return VERDALON_XLS_CORPUS;
}

Bytes LoadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void SaveFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<fs::path> CorpusFiles(const std::string& folder) {
  std::vector<fs::path> files;
  const fs::path dir = CorpusDir() / folder;
  if (!fs::is_directory(dir)) return files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".xls") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::uint16_t U16At(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes.at(at) | (bytes.at(at + 1) << 8));
}

std::uint32_t U32At(const Bytes& bytes, std::size_t at) {
  return U16At(bytes, at) | (static_cast<std::uint32_t>(U16At(bytes, at + 2)) << 16);
}

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i)
    bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::array<std::uint8_t, 128>> RawDirectory(const Bytes& file) {
  const std::size_t sector_size = std::size_t{1} << U16At(file, 30);
  const auto sector_offset = [&](std::uint32_t sector) { return (sector + 1) * sector_size; };
  const auto fat_entry = [&](std::uint32_t sector) {
    const std::size_t per_sector = sector_size / 4;
    const std::size_t index = sector / per_sector;
    const std::uint32_t fat_sector =
        index < 109 ? U32At(file, 76 + 4 * index)
                    : U32At(file, sector_offset(U32At(file, 68)) + 4 * (index - 109));
    return U32At(file, sector_offset(fat_sector) + 4 * (sector % per_sector));
  };
  std::vector<std::array<std::uint8_t, 128>> entries;
  for (std::uint32_t sector = U32At(file, 48); sector < xls::cfb::kMaxRegularSector;
       sector = fat_entry(sector)) {
    for (std::size_t at = 0; at < sector_size; at += 128) {
      auto& entry = entries.emplace_back();
      std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(sector_offset(sector) + at), 128,
                  entry.begin());
    }
  }
  return entries;
}

std::u16string EntryName(const std::array<std::uint8_t, 128>& entry) {
  const auto length = static_cast<std::size_t>(entry[64] | (entry[65] << 8));
  std::u16string name;
  for (std::size_t at = 0; at + 2 < length; at += 2) {
    name.push_back(static_cast<char16_t>(entry[at] | (entry[at + 1] << 8)));
  }
  return name;
}

namespace {

using xls::cfb::kEndOfChain;
using xls::cfb::kFreeSector;

void WriteEntry(Bytes& out, std::size_t at, const std::u16string& name, std::uint8_t type,
                std::uint32_t right, std::uint32_t child, std::uint32_t start, std::uint32_t size) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    out[at + 2 * i] = static_cast<std::uint8_t>(name[i] & 0xFF);
    out[at + 2 * i + 1] = static_cast<std::uint8_t>(name[i] >> 8);
  }
  out[at + 64] = static_cast<std::uint8_t>(2 * (name.size() + 1));
  out[at + 66] = type;
  out[at + 67] = 1;  // black
  PutU32(out, at + 68, kFreeSector);
  PutU32(out, at + 72, right);
  PutU32(out, at + 76, child);
  PutU32(out, at + 116, start);
  PutU32(out, at + 120, size);
}

}  // namespace

Bytes BuildCompoundFile(std::uint16_t major_version, const std::vector<TestStream>& streams) {
  const std::size_t ss = major_version == 3 ? 512 : 4096;
  // Sector 0: FAT; 1: directory; 2: mini FAT; then the mini stream; then large streams.
  Bytes mini_stream;
  std::vector<std::uint32_t> mini_fat;
  std::vector<std::uint32_t> starts;
  for (const auto& stream : streams) {
    if (stream.data.size() >= 4096) {
      starts.push_back(0);
      continue;
    }
    const std::size_t count = (stream.data.size() + 63) / 64;
    starts.push_back(static_cast<std::uint32_t>(mini_fat.size()));
    for (std::size_t i = 1; i <= count; ++i) {
      mini_fat.push_back(i < count ? static_cast<std::uint32_t>(mini_fat.size() + 1) : kEndOfChain);
    }
    mini_stream.insert(mini_stream.end(), stream.data.begin(), stream.data.end());
    mini_stream.resize(mini_fat.size() * 64, 0);
  }
  std::vector<std::uint32_t> fat(ss / 4, kFreeSector);
  fat[0] = xls::cfb::kFatSector;
  fat[1] = kEndOfChain;
  fat[2] = kEndOfChain;
  std::uint32_t next = 3;
  const auto run = [&](std::size_t bytes) {
    const std::size_t count = (bytes + ss - 1) / ss;
    if (count == 0) return kEndOfChain;
    const std::uint32_t first = next;
    for (std::size_t i = 0; i < count; ++i, ++next)
      fat.at(next) = i + 1 < count ? next + 1 : kEndOfChain;
    return first;
  };
  const std::uint32_t mini_start = run(mini_stream.size());
  for (std::size_t i = 0; i < streams.size(); ++i) {
    if (streams[i].data.size() >= 4096) starts[i] = run(streams[i].data.size());
  }
  Bytes out(ss * (1 + next), 0);
  const Bytes signature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::copy(signature.begin(), signature.end(), out.begin());
  out[24] = 0x3E;
  out[26] = static_cast<std::uint8_t>(major_version);
  out[28] = 0xFE;
  out[29] = 0xFF;
  out[30] = major_version == 3 ? 9 : 12;
  out[32] = 6;
  PutU32(out, 40, major_version == 3 ? 0 : 1);
  PutU32(out, 44, 1);
  PutU32(out, 48, 1);
  PutU32(out, 56, 4096);
  PutU32(out, 60, 2);
  PutU32(out, 64, 1);
  PutU32(out, 68, kEndOfChain);
  for (std::size_t i = 0; i < 109; ++i) PutU32(out, 76 + 4 * i, i == 0 ? 0 : kFreeSector);
  for (std::size_t i = 0; i < fat.size(); ++i) PutU32(out, ss + 4 * i, fat[i]);
  const std::size_t directory = 2 * ss;
  WriteEntry(out, directory, u"Root Entry", 5, kFreeSector, streams.empty() ? kFreeSector : 1,
             mini_start, static_cast<std::uint32_t>(mini_stream.size()));
  for (std::size_t i = 0; i < streams.size(); ++i) {
    const auto right = i + 1 < streams.size() ? static_cast<std::uint32_t>(i + 2) : kFreeSector;
    WriteEntry(out, directory + 128 * (i + 1), streams[i].name, 2, right, kFreeSector, starts[i],
               static_cast<std::uint32_t>(streams[i].data.size()));
  }
  for (std::size_t i = 0; i < ss / 4; ++i) {
    PutU32(out, 3 * ss + 4 * i, i < mini_fat.size() ? mini_fat[i] : kFreeSector);
  }
  if (mini_start != kEndOfChain) {
    std::copy(mini_stream.begin(), mini_stream.end(),
              out.begin() + static_cast<std::ptrdiff_t>((mini_start + 1) * ss));
  }
  for (std::size_t i = 0; i < streams.size(); ++i) {
    if (streams[i].data.size() < 4096) continue;
    std::copy(streams[i].data.begin(), streams[i].data.end(),
              out.begin() + static_cast<std::ptrdiff_t>((starts[i] + 1) * ss));
  }
  // Free directory slots must not look like entries with a tree.
  for (std::size_t i = streams.size() + 1; i < ss / 128; ++i) {
    for (std::size_t field : {68u, 72u, 76u}) PutU32(out, directory + 128 * i + field, kFreeSector);
  }
  return out;
}

TempDir::TempDir() {
  std::random_device random;
  path_ = fs::temp_directory_path() / ("verdalon-cfb-" + std::to_string(random()));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

}  // namespace test_support
