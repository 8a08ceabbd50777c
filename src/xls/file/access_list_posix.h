#pragma once

// The access ACL of a file as Linux keeps it in the extended attribute
// "system.posix_acl_access": who besides owner, group and others may do what.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace xls::file {

enum AclTag : std::uint16_t {
  kOwner = 0x01,
  kUser = 0x02,
  kOwningGroup = 0x04,
  kGroup = 0x08,
  kMask = 0x10,
  kOthers = 0x20,
};
inline constexpr std::uint16_t kAclRead = 4;
inline constexpr std::uint16_t kAclWrite = 2;

struct AclEntry {
  std::uint16_t tag = 0;
  std::uint16_t permissions = 0;
  std::uint32_t id = 0;  // for kUser and kGroup
};

// The file's ACL; nothing where it has none beyond its permission bits.
std::optional<std::vector<AclEntry>> AccessListOf(const std::filesystem::path& path);

// Whether a named entry for `user` or `group` lets it write, as the mask allows.
bool NamedEntryLetsWrite(const std::vector<AclEntry>& list, uid_t user, gid_t group);

// Sets `list` on the open file, in the order the kernel wants and with a mask that lets
// every named entry have what it names. False where the system refuses.
bool SetAccessList(int fd, std::vector<AclEntry> list);

}  // namespace xls::file
