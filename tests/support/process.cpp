#include "support/process.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <thread>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace jubilora::test {

namespace {

[[noreturn]] void Exec(const std::filesystem::path& program, const std::vector<std::string>& args,
                       const std::vector<std::string>& extraEnv) {
  for (const std::string& assignment : extraEnv) {
    if (assignment.find('=') == std::string::npos) {
      unsetenv(assignment.c_str());
    } else {
      putenv(const_cast<char*>(assignment.c_str()));
    }
  }
  std::vector<char*> argv;
  std::string name = program.string();
  argv.push_back(name.data());
  std::vector<std::string> copies(args);
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  execve(name.c_str(), argv.data(), environ);
  _exit(127);
}

}  // namespace

ProcessResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnv) {
  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    Exec(program, args, extraEnv);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  ProcessResult result;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int open = 2;
  char buffer[4096];
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

pid_t StartProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv) {
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) Exec(program, args, extraEnv);
  return pid;
}

int StopProgram(pid_t pid, int signal) {
  if (pid <= 0) return -1;
  kill(pid, signal);
  int status = 0;
  // A program that ignores the signal fails the test instead of hanging it.
  if (!WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 10000)) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 100) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

}  // namespace jubilora::test
