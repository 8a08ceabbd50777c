#pragma once

// Other office users for the tests that share a folder: numeric ids taken on by a child
// process (no account is created), so they need root.
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace test_users {

constexpr uid_t kOwner = 4101;      // the workbook's owner
constexpr uid_t kColleague = 4102;  // another clerk of the office
constexpr gid_t kSharedGroup = 4100;

// Runs `action` in a child process as `uid` in group `gid` only; true if it returned true
// (false if it threw).
inline bool AsUser(uid_t uid, gid_t gid, const std::function<bool()>& action) {
  const pid_t child = fork();
  if (child == 0) {
    const gid_t groups[] = {gid};
    if (setgroups(1, groups) != 0 || setresgid(gid, gid, gid) != 0 ||
        setresuid(uid, uid, uid) != 0) {
      _exit(3);
    }
    // Nothing may leave the child but its exit code: an exception would run the rest of
    // the tests a second time in it.
    try {
      _exit(action() ? 0 : 1);
    } catch (...) {
      _exit(2);
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace test_users
