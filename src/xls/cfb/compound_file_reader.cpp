#include "xls/cfb/compound_file_reader.h"

#include <algorithm>

#include "base/little_endian.h"
#include "xls/cfb/cfb_constants.h"

namespace xls::cfb {

namespace {

constexpr std::uint16_t kMiniSectorShift = 6;

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

std::vector<std::uint32_t> LoadU32Array(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint32_t> values(bytes.size() / 4);
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = LoadU32(bytes, 4 * i);
  return values;
}

}  // namespace

std::string DescribeName(std::u16string_view name) {
  std::string text = "\"";
  for (const char16_t c : name) {
    text.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
  }
  return text + "\"";
}

CompoundFile CompoundFile::Read(std::span<const std::uint8_t> bytes) {
  return CompoundFileReader(bytes).Read();
}

CompoundFile CompoundFileReader::Read() {
  CheckSignature();
  ReadHeader();
  ReadFat();
  ReadDirectory();
  WalkDirectoryTree();
  ReadStreams();
  return std::move(file_);
}

void CompoundFileReader::CheckSignature() const {
  if (StartsWith(bytes_, "PK\x03\x04")) {
    throw FormatError("not a compound file but a zip archive (an .xlsx file renamed?)");
  }
  if (bytes_.size() < kSignature.size() ||
      !std::equal(kSignature.begin(), kSignature.end(), bytes_.begin())) {
    throw FormatError("not a compound file (no OLE2 signature)");
  }
  if (bytes_.size() < kHeaderSize) throw FormatError("compound file truncated inside its header");
}

void CompoundFileReader::ReadHeader() {
  const std::uint16_t major = LoadU16(bytes_, header::kMajorVersion);
  if (major != 3 && major != 4) {
    throw FormatError("unsupported compound file version " + std::to_string(major));
  }
  if (LoadU16(bytes_, header::kByteOrder) != kByteOrderMark) {
    throw FormatError("compound file header has a bad byte order mark");
  }
  const std::uint16_t shift = LoadU16(bytes_, header::kSectorShift);
  if (shift != (major == 3 ? 9 : 12)) {
    throw FormatError("bad sector size (shift " + std::to_string(shift) + ") for version " +
                      std::to_string(major));
  }
  if (LoadU16(bytes_, header::kMiniSectorShift) != kMiniSectorShift) {
    throw FormatError("bad mini sector size");
  }
  if (LoadU32(bytes_, header::kMiniStreamCutoffSize) != kMiniStreamCutoff) {
    throw FormatError("bad mini stream cutoff");
  }
  sector_size_ = std::size_t{1} << shift;
  if (bytes_.size() < sector_size_) throw FormatError("compound file truncated inside its header");

  file_.major_version_ = major;
  file_.minor_version_ = LoadU16(bytes_, header::kMinorVersion);
  std::copy_n(bytes_.begin() + header::kClsid, file_.header_clsid_.size(),
              file_.header_clsid_.begin());
  file_.transaction_signature_ = LoadU32(bytes_, header::kTransactionSignature);
  space_.emplace_back(bytes_.subspan(sector_size_), sector_size_);
}

std::vector<std::uint32_t> CompoundFileReader::ListFatSectors() {
  SectorSpace& space = space_.front();
  const std::uint32_t fat_count = LoadU32(bytes_, header::kFatSectorCount);
  if (fat_count == 0) throw FormatError("compound file has no FAT");
  if (fat_count > space.SectorCount()) {
    throw FormatError("FAT sector count " + std::to_string(fat_count) + " exceeds the file");
  }
  std::vector<std::uint32_t> fat_sectors;
  fat_sectors.reserve(fat_count);
  for (std::size_t i = 0; i < kHeaderDifatEntries && fat_sectors.size() < fat_count; ++i) {
    fat_sectors.push_back(LoadU32(bytes_, header::kDifat + 4 * i));
  }
  // The rest of the list continues in DIFAT sectors, each ending with the next one's number.
  std::uint32_t difat_sector = LoadU32(bytes_, header::kFirstDifatSector);
  const std::size_t per_difat_sector = sector_size_ / 4 - 1;
  while (fat_sectors.size() < fat_count) {
    if (difat_sector > kMaxRegularSector) {
      throw FormatError("DIFAT chain ends before every FAT sector is listed");
    }
    space.Claim(difat_sector, "DIFAT");
    const auto sector = space.WholeSector(difat_sector, "DIFAT");
    for (std::size_t i = 0; i < per_difat_sector && fat_sectors.size() < fat_count; ++i) {
      fat_sectors.push_back(LoadU32(sector, 4 * i));
    }
    difat_sector = LoadU32(sector, sector_size_ - 4);
  }
  return fat_sectors;
}

void CompoundFileReader::ReadFat() {
  SectorSpace& space = space_.front();
  for (const std::uint32_t fat_sector : ListFatSectors()) {
    space.Claim(fat_sector, "FAT");
    const auto entries = LoadU32Array(space.WholeSector(fat_sector, "FAT"));
    fat_.insert(fat_.end(), entries.begin(), entries.end());
  }
}

void CompoundFileReader::ReadDirectory() {
  SectorSpace& space = space_.front();
  const auto chain =
      space.FollowChainToEnd(fat_, LoadU32(bytes_, header::kFirstDirectorySector), "directory");
  if (chain.empty()) throw FormatError("compound file has an empty directory");
  auto& entries = file_.entries_;
  entries.reserve(chain.size() * (sector_size_ / kDirectoryEntrySize));
  for (const std::uint32_t sector_number : chain) {
    const auto sector = space.WholeSector(sector_number, "directory");
    for (std::size_t at = 0; at < sector_size_; at += kDirectoryEntrySize) {
      DirectoryEntry& entry = entries.emplace_back();
      std::copy_n(sector.begin() + static_cast<std::ptrdiff_t>(at), kDirectoryEntrySize,
                  entry.raw.begin());
    }
  }
  if (entries.front().Type() != EntryType::kRoot) {
    throw FormatError("the first directory entry is not the root storage");
  }
}

void CompoundFileReader::WalkDirectoryTree() {
  auto& entries = file_.entries_;
  entries.front().reachable = true;
  struct Visit {
    std::uint32_t index;
    std::uint32_t parent;
  };
  // An explicit stack: a hostile file could make the tree as deep as it has entries.
  std::vector<Visit> pending{{entries.front().Child(), 0}};
  while (!pending.empty()) {
    const Visit visit = pending.back();
    pending.pop_back();
    if (visit.index == kNoStream) continue;
    if (visit.index >= entries.size()) {
      throw FormatError("directory link " + std::to_string(visit.index) + " is out of range");
    }
    DirectoryEntry& entry = entries[visit.index];
    if (entry.reachable) throw FormatError("the directory tree loops or shares an entry");
    if (entry.Type() != EntryType::kStorage && entry.Type() != EntryType::kStream) {
      throw FormatError("directory entry " + std::to_string(visit.index) +
                        " in the tree is neither a storage nor a stream");
    }
    entry.Name();  // rejects a bad name length now rather than at first lookup
    entry.reachable = true;
    entry.parent = visit.parent;
    pending.push_back({entry.LeftSibling(), visit.parent});
    pending.push_back({entry.RightSibling(), visit.parent});
    if (entry.Type() == EntryType::kStorage) pending.push_back({entry.Child(), visit.index});
  }
}

std::vector<std::uint32_t> CompoundFileReader::ReadMiniFat() {
  SectorSpace& space = space_.front();
  std::vector<std::uint32_t> mini_fat;
  const auto chain =
      space.FollowChainToEnd(fat_, LoadU32(bytes_, header::kFirstMiniFatSector), "mini FAT");
  for (const std::uint32_t sector : chain) {
    const auto entries = LoadU32Array(space.WholeSector(sector, "mini FAT"));
    mini_fat.insert(mini_fat.end(), entries.begin(), entries.end());
  }
  return mini_fat;
}

void CompoundFileReader::ReadStreams() {
  SectorSpace& space = space_.front();
  auto& entries = file_.entries_;
  const std::uint16_t major = file_.major_version_;
  const bool uses_mini_stream = std::any_of(entries.begin(), entries.end(), [&](const auto& e) {
    const std::uint64_t size = e.StreamSize(major);
    return e.reachable && e.Type() == EntryType::kStream && size > 0 && size < kMiniStreamCutoff;
  });
  // Only read the mini stream when some stream lives there: an unused one may be garbage.
  std::vector<std::uint8_t> mini_stream;
  std::vector<std::uint32_t> mini_fat;
  if (uses_mini_stream) {
    const DirectoryEntry& root = entries.front();
    mini_stream = space.ReadStream(fat_, root.StartSector(), root.StreamSize(major), "mini stream");
    mini_fat = ReadMiniFat();
  }
  SectorSpace mini_space(mini_stream, kMiniSectorSize);
  for (DirectoryEntry& entry : entries) {
    if (!entry.reachable || entry.Type() != EntryType::kStream) continue;
    const std::uint64_t size = entry.StreamSize(major);
    if (size == 0) continue;
    const std::string what = "stream " + DescribeName(entry.Name());
    entry.data = size < kMiniStreamCutoff
                     ? mini_space.ReadStream(mini_fat, entry.StartSector(), size, what)
                     : space.ReadStream(fat_, entry.StartSector(), size, what);
  }
}

}  // namespace xls::cfb
