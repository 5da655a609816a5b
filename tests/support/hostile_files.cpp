#include "support/hostile_files.h"

#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace jubilora::test {

namespace {

void Check(bool ok, const std::filesystem::path& file) {
  if (!ok) throw std::runtime_error("cannot make " + file.string() + ": " + std::strerror(errno));
}

void MakeSocket(const std::filesystem::path& file) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, file.c_str(), sizeof address.sun_path - 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  Check(fd >= 0 && bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0, file);
  close(fd);  // the socket file stays
}

// Sparse: takes no room on the disk.
void MakeHuge(const std::filesystem::path& file) {
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  Check(fd >= 0 && ftruncate(fd, (64 << 20) + 1) == 0, file);
  close(fd);
}

}  // namespace

std::vector<HostileFile> HostileFiles() {
  return {
      {"fifo", [](const auto& file) { Check(mkfifo(file.c_str(), 0600) == 0, file); }, "FIFO, not a regular file"},
      {"socket", MakeSocket, "No such device or address"},
      {"dev-zero", [](const auto& file) { std::filesystem::create_symlink("/dev/zero", file); },
       "device, not a regular file"},
      {"folder", [](const auto& file) { std::filesystem::create_directory(file); }, "Is a directory"},
      {"huge", MakeHuge, "too large to be a Jubilora"},
  };
}

std::filesystem::path SafeDevice(const std::filesystem::path& folder, const std::string& name) {
  if (geteuid() != 0) return "/dev/" + name;
  const auto node = folder / name;
  Check(mknod(node.c_str(), S_IFCHR | 0666, makedev(1, name == "full" ? 7 : 3)) == 0, node);
  return node;
}

}  // namespace jubilora::test
