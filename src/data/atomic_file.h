#pragma once
// Files written whole or not at all: a temporary file in the same folder, flushed to
// disk, then renamed into place.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace jubilora {

// Writes `bytes` to a new temporary file beside `target` and syncs it. Returns its path,
// or nothing with `error` set (no temporary file is left behind).
std::optional<std::filesystem::path> WriteTemporaryBeside(const std::filesystem::path& target,
                                                          std::string_view bytes, std::string& error);

// Writes `bytes` to `target` whole or not at all. Returns the system's reason on failure.
std::optional<std::string> WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Reads a whole file into `bytes`. Returns 0, or the errno of the failing call.
int ReadWholeFile(const std::filesystem::path& file, std::string& bytes);

// Flushes a folder's entries (after renames) so they survive a crash.
void SyncFolder(const std::filesystem::path& folder);

}  // namespace jubilora
