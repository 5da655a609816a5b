#pragma once
// Where the program's files live, derived from the program file's own path.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "data/data_file.h"

namespace jubilora {

struct ProgramPaths {
  std::filesystem::path program;
  std::filesystem::path data;      // .jld
  std::filesystem::path backup;    // .jlb
  std::filesystem::path settings;  // .ini
  std::filesystem::path samples;   // .spl
  std::filesystem::path help;      // .chm
  DataPaths Data() const { return {data, backup}; }
};

using EnvLookup = std::function<std::optional<std::string>(const std::string&)>;

// Beside the program (its extension replaced, or added when it has none); when the
// program is installed under <prefix>/bin with <prefix>/share/jubilora present, the
// writable files go to the XDG data and config folders and the read-only ones come from
// <prefix>/share/jubilora.
ProgramPaths DerivePaths(const std::filesystem::path& program, const EnvLookup& env);

}  // namespace jubilora
