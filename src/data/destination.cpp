#include "data/destination.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "data/atomic_file.h"

namespace jubilora {

namespace {

constexpr const char* ProgramFileReason = "It is one of Jubilora's own files";
constexpr const char* NoReaderReason = "It is a FIFO that nothing reads from";

std::filesystem::path Normal(const std::filesystem::path& file) {
  std::error_code ec;
  auto normal = std::filesystem::weakly_canonical(std::filesystem::absolute(file, ec), ec);
  return ec ? file : normal;
}

// A FIFO or device: opened without waiting for a reader, then written like a pipe.
FileResult WriteDirectly(const std::filesystem::path& destination, std::string_view bytes, bool fifo) {
  const int fd = open(destination.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENXIO && fifo) return FileError{destination, FileAction::Write, NoReaderReason};
    return SystemError(destination, FileAction::Write, errno);
  }
  int failure = 0;
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) failure = errno;
  if (failure == 0) failure = WriteAll(fd, bytes);
  if (close(fd) != 0 && failure == 0 && errno != EINTR) failure = errno;
  if (failure != 0) return SystemError(destination, FileAction::Write, failure);
  return std::nullopt;
}

}  // namespace

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat first {};
  struct stat second {};
  if (stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0) {
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }
  return Normal(FollowLinks(a)) == Normal(FollowLinks(b));
}

std::vector<std::filesystem::path> ProgramFiles(const ProgramPaths& paths) {
  return {paths.data, paths.backup, paths.settings, paths.samples};
}

FileResult WriteChosenFile(const std::filesystem::path& destination, std::string_view bytes,
                           const std::vector<std::filesystem::path>& ownFiles) {
  for (const auto& own : ownFiles) {
    if (SameFile(destination, own)) return FileError{destination, FileAction::Write, ProgramFileReason};
  }
  struct stat info {};
  if (stat(destination.c_str(), &info) != 0) return WriteFileAtomically(destination, bytes);
  if (!S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) return SystemError(destination, FileAction::Write, EISDIR);
    return WriteDirectly(destination, bytes, S_ISFIFO(info.st_mode));
  }
  // Renaming into the folder would replace even a file that the user made read-only.
  if (access(destination.c_str(), W_OK) != 0) return SystemError(destination, FileAction::Write, errno);
  if ((info.st_mode & 0222) == 0) return SystemError(destination, FileAction::Write, EACCES);
  return WriteFileAtomically(destination, bytes);
}

}  // namespace jubilora
