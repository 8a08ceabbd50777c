#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <system_error>

#include "xls/file/lock_holder_probe.h"

namespace xls::file {

namespace fs = std::filesystem;

std::string LoginName() {
  const passwd* entry = getpwuid(geteuid());
  return entry != nullptr && entry->pw_name != nullptr ? entry->pw_name : "";
}

bool LibreOfficeRunsHere() {
  std::error_code error;
  fs::directory_iterator processes("/proc", error);
  if (error) return true;
  for (const fs::directory_entry& process : processes) {
    const std::string pid = process.path().filename().string();
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream comm(process.path() / "comm");
    std::string name;
    if (!std::getline(comm, name) || name != "soffice.bin") continue;
    struct stat status {};
    if (stat(process.path().c_str(), &status) == 0 && status.st_uid == geteuid()) return true;
  }
  return false;
}

// Whether another program holds a file open is not something POSIX tells.
bool HeldOpen(const fs::path& owner_file) {
  (void)owner_file;
  return true;
}

bool MayRemove(const fs::path& file) {
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  if (access(folder.c_str(), W_OK | X_OK) != 0) return false;
  struct stat folder_status {};
  struct stat file_status {};
  if (stat(folder.c_str(), &folder_status) != 0 || lstat(file.c_str(), &file_status) != 0) {
    return false;
  }
  if ((folder_status.st_mode & S_ISVTX) == 0) return true;
  // A sticky folder lets only the file's owner, the folder's owner and root delete it.
  const uid_t me = geteuid();
  return me == 0 || file_status.st_uid == me || folder_status.st_uid == me;
}

}  // namespace xls::file
