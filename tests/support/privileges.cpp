#include "support/privileges.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <string>

#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace jubilora::test {

namespace {

constexpr int CannotDropPrivileges = 126;

struct Nobody {
  uid_t uid = 65534;
  gid_t gid = 65534;
};

Nobody FindNobody() {
  Nobody nobody;
  if (const passwd* entry = getpwnam("nobody")) {
    nobody.uid = entry->pw_uid;
    nobody.gid = entry->pw_gid;
  }
  return nobody;
}

}  // namespace

bool RunningAsRoot() { return geteuid() == 0; }

int RunAsNobody(const std::function<int()>& body) {
  if (!RunningAsRoot()) return body();

  const Nobody nobody = FindNobody();
  // Buffered output would otherwise be printed twice, once by each process.
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(nobody.gid) != 0 || setuid(nobody.uid) != 0 ||
        geteuid() == 0) {
      _exit(CannotDropPrivileges);
    }
    int result = 1;
    try {
      result = body();
    } catch (...) {
      result = 1;
    }
    std::fflush(nullptr);
    // No destructors, no test framework shutdown: they belong to the parent.
    _exit(result & 0xFF);
  }

  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void GiveToNobody(const std::filesystem::path& path) {
  if (!RunningAsRoot()) return;
  const Nobody nobody = FindNobody();
  if (lchown(path.c_str(), nobody.uid, nobody.gid) != 0) {
    throw std::runtime_error("cannot hand " + path.string() + " to nobody");
  }
}

}  // namespace jubilora::test
