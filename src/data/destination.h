#pragma once
// Where an export or a copy chosen by the user is written: never onto the program's own
// files, through links to the file they name, and straight into a FIFO or device.

#include <filesystem>
#include <string_view>
#include <vector>

#include "data/file_error.h"
#include "data/program_paths.h"

namespace jubilora {

// The files an export must never replace: data file, backup, settings and samples.
std::vector<std::filesystem::path> ProgramFiles(const ProgramPaths& paths);

// The same file under any name (links included), or the same path before it exists.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Writes `bytes` to `destination`, refusing one of `ownFiles` (the same file under any
// name, or the same path when it does not exist yet) and a regular file the user may not
// write. A link is followed and the file it names replaced, whole or not at all, keeping
// its permissions; a FIFO or device is written directly, never replaced.
FileResult WriteChosenFile(const std::filesystem::path& destination, std::string_view bytes,
                           const std::vector<std::filesystem::path>& ownFiles);

}  // namespace jubilora
