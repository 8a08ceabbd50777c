#include "xls/cfb/compound_file_writer.h"

#include <algorithm>
#include <stdexcept>

#include "base/little_endian.h"

namespace xls::cfb {

namespace {

std::size_t SectorsFor(std::size_t bytes, std::size_t sector_size) {
  return (bytes + sector_size - 1) / sector_size;
}

std::vector<std::uint8_t> ToBytes(std::span<const std::uint32_t> values) {
  std::vector<std::uint8_t> bytes(values.size() * 4);
  for (std::size_t i = 0; i < values.size(); ++i) StoreU32(bytes, 4 * i, values[i]);
  return bytes;
}

}  // namespace

std::vector<std::uint8_t> CompoundFile::Write() const {
  return CompoundFileWriter(*this).Write();
}

CompoundFileWriter::CompoundFileWriter(const CompoundFile& file)
    : file_(file), sector_size_(file.major_version_ == 3 ? 512 : 4096) {}

std::vector<std::uint8_t> CompoundFileWriter::Write() {
  PlaceStreams();
  PlanSectors();

  const std::uint32_t fat_and_difat = AllocateRun(fat_sector_count_ + difat_sector_count_);
  for (std::size_t i = 0; i < fat_sector_count_ + difat_sector_count_; ++i) {
    fat_[fat_and_difat + i] = i < fat_sector_count_ ? kFatSector : kDifatSector;
  }
  const std::uint32_t directory_start =
      AllocateRun(SectorsFor(directory_.size() * kDirectoryEntrySize, sector_size_));
  const auto mini_fat_bytes = ToBytes(mini_fat_);
  const std::uint32_t mini_fat_start = AllocateRun(SectorsFor(mini_fat_bytes.size(), sector_size_));
  const std::uint32_t mini_stream_start =
      AllocateRun(SectorsFor(mini_stream_.size(), sector_size_));
  for (const std::size_t index : large_streams_) {
    const auto& data = file_.entries_[index].data;
    StoreU32(directory_[index], entry::kStartSector,
             AllocateRun(SectorsFor(data.size(), sector_size_)));
  }
  // The root entry's data is the mini stream itself.
  StoreU32(directory_.front(), entry::kStartSector, mini_stream_start);
  StoreU64(directory_.front(), entry::kStreamSize, mini_stream_.size());

  out_.assign(sector_size_ * (1 + next_free_sector_), 0);
  WriteHeader();
  StoreU32(out_, header::kFirstDirectorySector, directory_start);
  StoreU32(out_, header::kFirstMiniFatSector, mini_fat_start);
  WriteFatAndDifat();
  std::vector<std::uint8_t> directory_bytes;
  for (const auto& raw : directory_)
    directory_bytes.insert(directory_bytes.end(), raw.begin(), raw.end());
  WriteRun(directory_start, directory_bytes);
  // Free mini FAT slots must read as free, not as a chain to mini sector 0.
  std::vector<std::uint32_t> padded_mini_fat(mini_fat_);
  padded_mini_fat.resize(SectorsFor(mini_fat_bytes.size(), sector_size_) * sector_size_ / 4,
                         kFreeSector);
  WriteRun(mini_fat_start, ToBytes(padded_mini_fat));
  WriteRun(mini_stream_start, mini_stream_);
  for (const std::size_t index : large_streams_) {
    WriteRun(LoadU32(directory_[index], entry::kStartSector), file_.entries_[index].data);
  }
  return std::move(out_);
}

void CompoundFileWriter::PlaceStreams() {
  for (std::size_t index = 0; index < file_.entries_.size(); ++index) {
    const DirectoryEntry& entry = file_.entries_[index];
    auto& raw = directory_.emplace_back(entry.raw);
    if (!entry.reachable) {
      raw = DirectoryEntry::UnusedBytes();
      continue;
    }
    const std::size_t size = entry.data.size();
    // Storages own no data; the root's start and size are set once the mini stream is laid.
    StoreU32(raw, entry::kStartSector, kEndOfChain);
    StoreU64(raw, entry::kStreamSize, size);
    if (entry.Type() == EntryType::kStorage) StoreU32(raw, entry::kStartSector, 0);
    if (entry.Type() != EntryType::kStream || size == 0) continue;
    if (size >= kMiniStreamCutoff) {
      large_streams_.push_back(index);
      continue;
    }
    const std::size_t first = mini_fat_.size();
    const std::size_t count = SectorsFor(size, kMiniSectorSize);
    StoreU32(raw, entry::kStartSector, static_cast<std::uint32_t>(first));
    for (std::size_t i = 1; i <= count; ++i) {
      mini_fat_.push_back(i < count ? static_cast<std::uint32_t>(first + i) : kEndOfChain);
    }
    mini_stream_.insert(mini_stream_.end(), entry.data.begin(), entry.data.end());
    mini_stream_.resize(mini_fat_.size() * kMiniSectorSize, 0);
  }
}

void CompoundFileWriter::PlanSectors() {
  std::size_t payload = SectorsFor(directory_.size() * kDirectoryEntrySize, sector_size_) +
                        SectorsFor(mini_fat_.size() * 4, sector_size_) +
                        SectorsFor(mini_stream_.size(), sector_size_);
  for (const std::size_t index : large_streams_) {
    payload += SectorsFor(file_.entries_[index].data.size(), sector_size_);
  }
  // The FAT must also describe its own sectors and the DIFAT's, so grow both until stable.
  const std::size_t per_fat_sector = sector_size_ / 4;
  const std::size_t per_difat_sector = per_fat_sector - 1;
  while (true) {
    const std::size_t total = payload + fat_sector_count_ + difat_sector_count_;
    const std::size_t fat = SectorsFor(total, per_fat_sector);
    const std::size_t difat =
        fat > kHeaderDifatEntries ? SectorsFor(fat - kHeaderDifatEntries, per_difat_sector) : 0;
    if (fat == fat_sector_count_ && difat == difat_sector_count_) break;
    fat_sector_count_ = fat;
    difat_sector_count_ = difat;
  }
  if (payload + fat_sector_count_ + difat_sector_count_ > kMaxRegularSector) {
    throw std::length_error("compound file too large to write");
  }
  fat_.assign(fat_sector_count_ * per_fat_sector, kFreeSector);
}

std::uint32_t CompoundFileWriter::AllocateRun(std::size_t sector_count) {
  if (sector_count == 0) return kEndOfChain;
  const std::uint32_t first = next_free_sector_;
  for (std::size_t i = 0; i < sector_count; ++i) {
    const auto sector = static_cast<std::uint32_t>(first + i);
    fat_[sector] = i + 1 < sector_count ? sector + 1 : kEndOfChain;
  }
  next_free_sector_ = static_cast<std::uint32_t>(first + sector_count);
  return first;
}

void CompoundFileWriter::WriteHeader() {
  std::copy(kSignature.begin(), kSignature.end(), out_.begin());
  std::copy(file_.header_clsid_.begin(), file_.header_clsid_.end(), out_.begin() + header::kClsid);
  StoreU16(out_, header::kMinorVersion, file_.minor_version_);
  StoreU16(out_, header::kMajorVersion, file_.major_version_);
  StoreU16(out_, header::kByteOrder, kByteOrderMark);
  StoreU16(out_, header::kSectorShift, file_.major_version_ == 3 ? 9 : 12);
  StoreU16(out_, header::kMiniSectorShift, 6);
  // Version 3 files must leave the directory sector count at zero.
  const std::size_t directory_sectors =
      SectorsFor(directory_.size() * kDirectoryEntrySize, sector_size_);
  StoreU32(out_, header::kDirectorySectorCount,
           file_.major_version_ == 3 ? 0 : static_cast<std::uint32_t>(directory_sectors));
  StoreU32(out_, header::kFatSectorCount, static_cast<std::uint32_t>(fat_sector_count_));
  StoreU32(out_, header::kTransactionSignature, file_.transaction_signature_);
  StoreU32(out_, header::kMiniStreamCutoffSize, kMiniStreamCutoff);
  StoreU32(out_, header::kMiniFatSectorCount,
           static_cast<std::uint32_t>(SectorsFor(mini_fat_.size() * 4, sector_size_)));
  StoreU32(out_, header::kFirstDifatSector,
           difat_sector_count_ ? static_cast<std::uint32_t>(fat_sector_count_) : kEndOfChain);
  StoreU32(out_, header::kDifatSectorCount, static_cast<std::uint32_t>(difat_sector_count_));
}

void CompoundFileWriter::WriteFatAndDifat() {
  // FAT sectors are numbered 0..n-1 and the DIFAT sectors follow them directly.
  std::vector<std::uint32_t> fat_sector_list(fat_sector_count_);
  for (std::size_t i = 0; i < fat_sector_count_; ++i) {
    fat_sector_list[i] = static_cast<std::uint32_t>(i);
  }
  for (std::size_t i = 0; i < kHeaderDifatEntries; ++i) {
    StoreU32(out_, header::kDifat + 4 * i,
             i < fat_sector_count_ ? fat_sector_list[i] : kFreeSector);
  }
  const std::size_t per_difat_sector = sector_size_ / 4 - 1;
  for (std::size_t d = 0; d < difat_sector_count_; ++d) {
    std::vector<std::uint32_t> difat(per_difat_sector + 1, kFreeSector);
    for (std::size_t i = 0; i < per_difat_sector; ++i) {
      const std::size_t listed = kHeaderDifatEntries + d * per_difat_sector + i;
      if (listed < fat_sector_count_) difat[i] = fat_sector_list[listed];
    }
    const auto sector = static_cast<std::uint32_t>(fat_sector_count_ + d);
    difat.back() = d + 1 < difat_sector_count_ ? sector + 1 : kEndOfChain;
    WriteRun(sector, ToBytes(difat));
  }
  WriteRun(0, ToBytes(fat_));
}

void CompoundFileWriter::WriteRun(std::uint32_t first_sector, std::span<const std::uint8_t> data) {
  if (data.empty()) return;
  const std::size_t offset = (static_cast<std::size_t>(first_sector) + 1) * sector_size_;
  std::copy(data.begin(), data.end(), out_.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace xls::cfb
