#pragma once
// Runs a program to its end and collects what it printed.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <csignal>

#include <sys/types.h>

namespace jubilora::test {

struct ProcessResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string out;
  std::string err;
};

// `extraEnv` holds "NAME=VALUE" to set and "NAME" to unset in the program's environment.
ProcessResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnv = {});

// Starts a program without waiting for it (environment as above); Stop sends it `signal` and
// returns its exit status, or -1 when it did not exit normally within 10 s (it is killed then).
pid_t StartProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv = {});
int StopProgram(pid_t pid, int signal = SIGTERM);

// Polls `condition` every 100 ms until it holds or the time is up; returns its last value.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 8000);

}  // namespace jubilora::test
