#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "xls/cfb/directory_entry.h"
#include "xls/cfb/format_error.h"

namespace xls::cfb {

// An OLE2 compound file (structured storage) held in memory: a small file system of
// storages and streams. Reading keeps every directory entry, stream and storage as found;
// writing lays the whole file out anew around whatever streams were replaced.
class CompoundFile {
 public:
  // Parses a whole file. Throws FormatError for anything that is not a sound compound file;
  // never reads out of bounds, loops for ever or allocates beyond a bound set by the input size.
  static CompoundFile Read(std::span<const std::uint8_t> bytes);

  // The stream of that name directly below the root storage (names compare as compound
  // files compare them: without regard to case), or nothing.
  std::optional<std::vector<std::uint8_t>> ReadStream(std::u16string_view name) const;

  // Replaces the data of an existing root-level stream. Throws std::invalid_argument if
  // there is no such stream.
  void ReplaceStream(std::u16string_view name, std::vector<std::uint8_t> data);

  // The whole file, ready to be written to disk.
  std::vector<std::uint8_t> Write() const;

  // Names of the streams directly below the root storage, in directory order.
  std::vector<std::u16string> RootStreamNames() const;

  // 3 (512-byte sectors) or 4 (4096-byte sectors); Write() keeps it.
  std::uint16_t MajorVersion() const { return major_version_; }

 private:
  CompoundFile() = default;

  // Index of the root-level stream of that name, or nothing.
  std::optional<std::size_t> FindRootStream(std::u16string_view name) const;

  std::uint16_t major_version_ = 3;
  std::uint16_t minor_version_ = 0x3E;
  std::array<std::uint8_t, 16> header_clsid_{};
  std::uint32_t transaction_signature_ = 0;
  // Every directory slot as read, in order: tree links are slot numbers and stay valid.
  std::vector<DirectoryEntry> entries_;

  friend class CompoundFileReader;
  friend class CompoundFileWriter;
};

}  // namespace xls::cfb
