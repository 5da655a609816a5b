#include "data/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jubilora {

namespace {

constexpr const char* TemporarySuffix = "XXXXXX";
constexpr int MaxLinkHops = 40;  // as the kernel's own limit

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
// the owner and permissions of the file it replaces, or the usual ones for a new file.
void GiveUsualPermissions(int fd, const std::filesystem::path& target) {
  struct stat existing {};
  if (stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    // Best effort: only root may give a file away, and a file of our own is still correct.
    (void)fchown(fd, existing.st_uid, existing.st_gid);
    (void)fchmod(fd, existing.st_mode & 07777);
    return;
  }
  (void)fchmod(fd, 0666 & ~CurrentUmask());
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + std::strlen(TemporarySuffix) || name.rfind(prefix, 0) != 0) return false;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// Why a file of this st_mode is not read or replaced.
std::string NotRegularReason(unsigned mode) {
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  if (S_ISFIFO(mode)) return "It is a FIFO, not a regular file";
  if (S_ISSOCK(mode)) return "It is a socket, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "It is a device, not a regular file";
  return "It is not a regular file";
}

}  // namespace

bool PathExists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  const auto folder = file.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

std::filesystem::path FollowLinks(const std::filesystem::path& file) {
  std::filesystem::path current = file;
  for (int hop = 0; hop < MaxLinkHops; ++hop) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, ec))) break;
    const auto target = std::filesystem::read_symlink(current, ec);
    if (ec) break;
    current = target.is_absolute() ? target : FolderOf(current) / target;
  }
  return current;
}

int WriteAll(int fd, std::string_view bytes) {
  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    // A file that accepts nothing would loop for ever.
    if (written == 0) return EIO;
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return 0;
}

FileResult ReadRegularFile(const std::filesystem::path& file, std::size_t limit, std::string_view tooLarge,
                           std::string& bytes) {
  // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever.
  const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return SystemError(file, FileAction::Read, errno);
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    const int failure = errno;
    close(fd);
    return SystemError(file, FileAction::Read, failure);
  }
  if (!S_ISREG(info.st_mode)) {
    close(fd);
    return FileError{file, FileAction::Read, NotRegularReason(info.st_mode)};
  }
  const auto tooLargeError = [&] { return FileError{file, FileAction::Read, std::string(tooLarge)}; };
  if (static_cast<std::uintmax_t>(info.st_size) > limit) {
    close(fd);
    return tooLargeError();
  }

  // The size is only a hint: the file may grow while it is read, so the limit holds here too.
  std::string read;
  read.reserve(static_cast<std::size_t>(info.st_size));
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      const int failure = errno;
      close(fd);
      return SystemError(file, FileAction::Read, failure);
    }
    if (got == 0) break;
    if (read.size() + static_cast<std::size_t>(got) > limit) {
      close(fd);
      return tooLargeError();
    }
    read.append(buffer.data(), static_cast<std::size_t>(got));
  }
  close(fd);
  bytes = std::move(read);
  return std::nullopt;
}

FileResult WriteTemporaryBeside(const std::filesystem::path& target, std::string_view bytes,
                                std::filesystem::path& temporary) {
  const auto pattern = FolderOf(target) / ("." + target.filename().string() + "." + TemporarySuffix);
  std::vector<char> name(pattern.native().begin(), pattern.native().end());
  name.push_back('\0');

  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return SystemError(target, FileAction::Write, errno);
  GiveUsualPermissions(fd, target);

  int failure = WriteAll(fd, bytes);
  if (failure == 0 && fsync(fd) != 0) failure = errno;
  // After a successful fsync an interrupted close has still released the descriptor and
  // the data is already on disk, so EINTR is not a failure here.
  if (close(fd) != 0 && failure == 0 && errno != EINTR) failure = errno;
  if (failure != 0) {
    unlink(name.data());
    return SystemError(target, FileAction::Write, failure);
  }
  temporary = name.data();
  return std::nullopt;
}

FileResult WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  const auto file = FollowLinks(target);
  struct stat info {};
  if (stat(file.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    return FileError{target, FileAction::Write, NotRegularReason(info.st_mode)};
  }
  std::filesystem::path temporary;
  if (auto error = WriteTemporaryBeside(file, bytes, temporary)) return FileError{target, error->action, error->reason};
  if (rename(temporary.c_str(), file.c_str()) != 0) {
    const int failure = errno;
    unlink(temporary.c_str());
    return SystemError(target, FileAction::Write, failure);
  }
  SyncFolder(FolderOf(file));
  return std::nullopt;
}

FileResult CreateOwnFolder(const std::filesystem::path& folder) {
  // The missing folders, innermost first.
  std::vector<std::filesystem::path> missing;
  for (auto at = folder; !at.empty(); at = at.parent_path()) {
    struct stat info {};
    if (stat(at.c_str(), &info) == 0) {
      if (!S_ISDIR(info.st_mode)) return SystemError(at, FileAction::CreateFolder, ENOTDIR);
      break;
    }
    if (errno != ENOENT) return SystemError(at, FileAction::CreateFolder, errno);
    missing.push_back(at);
    if (at == at.parent_path()) break;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) return SystemError(*it, FileAction::CreateFolder, errno);
  }
  return std::nullopt;
}

void RemoveStaleTemporaries(const std::filesystem::path& target) {
  const auto folder = FolderOf(target);
  const std::string prefix = "." + target.filename().string() + ".";
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  // Leftovers are no loss: one that cannot be removed now goes with a later save.
  while (const dirent* entry = readdir(dir)) {
    if (!IsTemporaryName(entry->d_name, prefix)) continue;
    struct stat info {};
    if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)) {
      (void)unlinkat(dirfd(dir), entry->d_name, 0);
    }
  }
  closedir(dir);
}

void SyncFolder(const std::filesystem::path& folder) {
  const auto path = folder.empty() ? std::filesystem::path(".") : folder;
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // Some file systems refuse fsync on folders; the rename itself has already happened.
  (void)fsync(fd);
  close(fd);
}

}  // namespace jubilora
