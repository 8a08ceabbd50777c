#include "xls/file/access_list_posix.h"

#include <sys/xattr.h>

#include <algorithm>
#include <string>

namespace xls::file {

namespace {

constexpr const char* kAttribute = "system.posix_acl_access";
constexpr std::uint32_t kVersion = 2;
constexpr std::size_t kEntrySize = 8;
constexpr std::uint32_t kNoId = 0xFFFFFFFF;

std::uint32_t Get32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
  }
  return value;
}

void Put(std::string& bytes, std::uint32_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i)
    bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::optional<std::vector<AclEntry>> AccessListOf(const std::filesystem::path& path) {
  const ssize_t size = getxattr(path.c_str(), kAttribute, nullptr, 0);
  if (size < 4) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (getxattr(path.c_str(), kAttribute, bytes.data(), bytes.size()) != size) return std::nullopt;
  if (Get32(bytes, 0) != kVersion || (bytes.size() - 4) % kEntrySize != 0) return std::nullopt;
  std::vector<AclEntry> list;
  for (std::size_t at = 4; at < bytes.size(); at += kEntrySize) {
    const std::uint32_t head = Get32(bytes, at);
    list.push_back({static_cast<std::uint16_t>(head & 0xFFFF),
                    static_cast<std::uint16_t>(head >> 16), Get32(bytes, at + 4)});
  }
  return list;
}

bool NamedEntryLetsWrite(const std::vector<AclEntry>& list, uid_t user, gid_t group) {
  std::uint16_t mask = kAclRead | kAclWrite | 1;
  for (const AclEntry& entry : list) {
    if (entry.tag == kMask) mask = entry.permissions;
  }
  return std::any_of(list.begin(), list.end(), [&](const AclEntry& entry) {
    const bool named =
        (entry.tag == kUser && entry.id == user) || (entry.tag == kGroup && entry.id == group);
    return named && (entry.permissions & mask & kAclWrite) != 0;
  });
}

bool SetAccessList(int fd, std::vector<AclEntry> list) {
  std::erase_if(list, [](const AclEntry& entry) { return entry.tag == kMask; });
  std::uint16_t mask = 0;
  for (const AclEntry& entry : list) {
    if (entry.tag == kUser || entry.tag == kGroup || entry.tag == kOwningGroup) {
      mask |= entry.permissions;
    }
  }
  list.push_back({kMask, mask, kNoId});
  std::sort(list.begin(), list.end(), [](const AclEntry& a, const AclEntry& b) {
    return a.tag != b.tag ? a.tag < b.tag : a.id < b.id;
  });
  // One entry per named user or group: the first (most generous, see callers) stays.
  list.erase(std::unique(list.begin(), list.end(),
                         [](const AclEntry& a, const AclEntry& b) {
                           return a.tag == b.tag && a.id == b.id;
                         }),
             list.end());
  std::string bytes;
  Put(bytes, kVersion, 4);
  for (const AclEntry& entry : list) {
    Put(bytes, entry.tag, 2);
    Put(bytes, entry.permissions, 2);
    Put(bytes, (entry.tag == kUser || entry.tag == kGroup) ? entry.id : kNoId, 4);
  }
  return fsetxattr(fd, kAttribute, bytes.data(), bytes.size(), 0) == 0;
}

}  // namespace xls::file
