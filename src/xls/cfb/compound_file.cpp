#include "xls/cfb/compound_file.h"

#include "xls/cfb/entry_name.h"

namespace xls::cfb {

std::optional<std::size_t> CompoundFile::FindRootStream(std::u16string_view name) const {
  // A linear scan rather than a tree search: some writers leave siblings out of order, and
  // a root storage holds a handful of entries.
  for (std::size_t index = 1; index < entries_.size(); ++index) {
    const DirectoryEntry& entry = entries_[index];
    if (entry.reachable && entry.parent == 0 && entry.Type() == EntryType::kStream &&
        CompareEntryNames(entry.Name(), name) == 0) {
      return index;
    }
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> CompoundFile::ReadStream(std::u16string_view name) const {
  const auto index = FindRootStream(name);
  if (!index) return std::nullopt;
  return entries_[*index].data;
}

void CompoundFile::ReplaceStream(std::u16string_view name, std::vector<std::uint8_t> data) {
  const auto index = FindRootStream(name);
  if (!index) throw std::invalid_argument("compound file has no root stream of that name");
  entries_[*index].data = std::move(data);
}

std::vector<std::u16string> CompoundFile::RootStreamNames() const {
  std::vector<std::u16string> names;
  for (std::size_t index = 1; index < entries_.size(); ++index) {
    const DirectoryEntry& entry = entries_[index];
    if (entry.reachable && entry.parent == 0 && entry.Type() == EntryType::kStream) {
      names.push_back(entry.Name());
    }
  }
  return names;
}

}  // namespace xls::cfb
