#pragma once
// Where the program's files live, derived from the program file's own path.

#include <filesystem>

#include "core/user_folders.h"
#include "data/data_file.h"

namespace jubilora {

struct ProgramPaths {
  std::filesystem::path program;
  std::filesystem::path data;      // .jld
  std::filesystem::path backup;    // .jlb
  std::filesystem::path settings;  // .ini
  std::filesystem::path samples;   // .spl
  std::filesystem::path help;      // the help's start page; the other pages sit beside it
  DataPaths Data() const { return {data, backup}; }
};

// Beside the program (its extension replaced, or added when it has none), the help pages in
// help/ beside it; when the program is installed under <prefix>/bin with <prefix>/share/jubilora
// present, the writable files go to the XDG data and config folders and the read-only ones
// come from <prefix>/share/jubilora.
ProgramPaths DerivePaths(const std::filesystem::path& program, const EnvLookup& env);

}  // namespace jubilora
