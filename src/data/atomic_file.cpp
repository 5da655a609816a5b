#include "data/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jubilora {

namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  const auto folder = file.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

// The process's file-creation mask, read without changing it (umask() can only be read by
// setting it, which would race with any other thread creating files).
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
  }
  return 022;
}

// mkstemp makes the file private; the finished file should look like one written in place:
// the permissions of the file it replaces, or the usual ones for a new file.
void GiveUsualPermissions(int fd, const std::filesystem::path& target) {
  struct stat existing {};
  const mode_t mode = stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)
                          ? existing.st_mode & 07777
                          : 0666 & ~CurrentUmask();
  // Best effort: a private file is still a correct file.
  (void)fchmod(fd, mode);
}

// Returns 0 or the errno of the failing call.
int WriteAll(int fd, std::string_view bytes) {
  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    // A regular file that accepts nothing would loop for ever.
    if (written == 0) return EIO;
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace

std::optional<std::filesystem::path> WriteTemporaryBeside(const std::filesystem::path& target,
                                                          std::string_view bytes, std::string& error) {
  const auto pattern = FolderOf(target) / ("." + target.filename().string() + ".XXXXXX");
  std::vector<char> name(pattern.native().begin(), pattern.native().end());
  name.push_back('\0');

  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    error = Reason(errno);
    return std::nullopt;
  }
  const std::filesystem::path temporary(name.data());
  GiveUsualPermissions(fd, target);

  int failure = WriteAll(fd, bytes);
  if (failure == 0 && fsync(fd) != 0) failure = errno;
  // After a successful fsync an interrupted close has still released the descriptor and
  // the data is already on disk, so EINTR is not a failure here.
  if (close(fd) != 0 && failure == 0 && errno != EINTR) failure = errno;

  if (failure != 0) {
    unlink(temporary.c_str());
    error = Reason(failure);
    return std::nullopt;
  }
  return temporary;
}

std::optional<std::string> WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  std::string error;
  const auto temporary = WriteTemporaryBeside(target, bytes, error);
  if (!temporary) return error;
  if (rename(temporary->c_str(), target.c_str()) != 0) {
    const int failure = errno;
    unlink(temporary->c_str());
    return Reason(failure);
  }
  SyncFolder(FolderOf(target));
  return std::nullopt;
}

void SyncFolder(const std::filesystem::path& folder) {
  const auto path = folder.empty() ? std::filesystem::path(".") : folder;
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // Some file systems refuse fsync on folders; the rename itself has already happened.
  (void)fsync(fd);
  close(fd);
}

// Returns 0 or the errno of the failing call.
int ReadWholeFile(const std::filesystem::path& file, std::string& bytes) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  int failure = 0;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      failure = errno;
      break;
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  return failure;
}

}  // namespace jubilora
