#pragma once
// Things that may stand where the program expects one of its files: a FIFO (which would
// block a plain open for ever), a socket, a link to /dev/zero (which never ends), a folder
// and a file larger than any data file.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

namespace jubilora::test {

struct HostileFile {
  std::string name;
  std::function<void(const std::filesystem::path&)> make;
  std::string reason;  // words of the refusal
};

std::vector<HostileFile> HostileFiles();

// Ends the test program (SIGALRM) when something waits on one of them for ever, so that a
// hang fails the test instead of stalling the suite.
struct HangGuard {
  HangGuard() { alarm(60); }
  ~HangGuard() { alarm(0); }
};

// A character device like /dev/null or /dev/full ("null", "full") that a faulty write
// cannot replace: as root a fresh node in `folder`, otherwise the system's own.
std::filesystem::path SafeDevice(const std::filesystem::path& folder, const std::string& name);

}  // namespace jubilora::test
