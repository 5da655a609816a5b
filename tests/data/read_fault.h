#pragma once
// A read that fails part-way through a real file: after a set number of bytes of one file
// have been read, the next read of it fails with EIO, as a failing disk would.
//
// This replaces the C library's read() for the whole test program (all other reads pass
// straight to the system), so include it in exactly one source file of a test program.

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <filesystem>
#include <string>

#include <sys/syscall.h>
#include <unistd.h>

namespace jubilora::test {

class ReadFault {
 public:
  // Arms the fault for `file` until destroyed; one at a time.
  ReadFault(const std::filesystem::path& file, std::size_t goodBytes) {
    Active() = this;
    file_ = std::filesystem::weakly_canonical(file).string();
    goodBytes_ = goodBytes;
  }
  ~ReadFault() { Active() = nullptr; }
  ReadFault(const ReadFault&) = delete;
  ReadFault& operator=(const ReadFault&) = delete;

  // How many reads were made to fail: a test that never reached the fault proves nothing.
  int Failures() const { return failures_; }

  static ssize_t Read(int fd, void* buffer, std::size_t count) {
    ReadFault* fault = Active();
    if (fault == nullptr || !fault->Watches(fd)) return RawRead(fd, buffer, count);
    if (fault->delivered_ >= fault->goodBytes_) {
      ++fault->failures_;
      errno = EIO;
      return -1;
    }
    const ssize_t got = RawRead(fd, buffer, std::min(count, fault->goodBytes_ - fault->delivered_));
    if (got > 0) fault->delivered_ += static_cast<std::size_t>(got);
    return got;
  }

 private:
  static ReadFault*& Active() {
    static ReadFault* active = nullptr;
    return active;
  }

  static ssize_t RawRead(int fd, void* buffer, std::size_t count) {
    return static_cast<ssize_t>(syscall(SYS_read, fd, buffer, count));
  }

  bool Watches(int fd) const {
    char target[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    return length > 0 && std::string(target, static_cast<std::size_t>(length)) == file_;
  }

  std::string file_;
  std::size_t goodBytes_ = 0;
  std::size_t delivered_ = 0;
  int failures_ = 0;
};

}  // namespace jubilora::test

extern "C" ssize_t read(int fd, void* buffer, std::size_t count) {
  return jubilora::test::ReadFault::Read(fd, buffer, count);
}
