#pragma once
// Runs a program to its end and collects what it printed.

#include <filesystem>
#include <string>
#include <vector>

namespace jubilora::test {

struct ProcessResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string out;
  std::string err;
};

ProcessResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnv = {});

}  // namespace jubilora::test
