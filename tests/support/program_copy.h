#pragma once
// A copy of the program in a folder of the test's own, so that its files are the test's files:
// the program and, beside it, its desktop part. JUBILORA_EXE and JUBILORA_DESKTOP_EXE come from
// the build.

#include <filesystem>

namespace jubilora::test {

inline std::filesystem::path CopyProgram(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  fs::copy_file(JUBILORA_DESKTOP_EXE, folder / fs::path(JUBILORA_DESKTOP_EXE).filename());
  fs::copy_file(JUBILORA_EXE, folder / "jubilora");
  return folder / "jubilora";
}

}  // namespace jubilora::test
