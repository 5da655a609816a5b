#pragma once
// Reading and writing whole files. Only regular files are read or replaced, and a file is
// written whole or not at all: into a temporary file in the same folder, flushed to disk,
// then renamed into place.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/file_error.h"

namespace jubilora {

// A data file holds about 900,000 records at most; anything larger is not ours.
inline constexpr std::size_t MaxRecordFileSize = 64u << 20;
inline constexpr std::string_view RecordFileTooLarge = "It is too large to be a Jubilora data file (over 64 MiB)";

// Reads a whole regular file into `bytes`. Opens without blocking, so a FIFO, device or
// socket is refused at once, and refuses a file of more than `limit` bytes with the reason
// `tooLarge` without reading it whole. On failure `bytes` is left as it was.
FileResult ReadRegularFile(const std::filesystem::path& file, std::size_t limit, std::string_view tooLarge,
                           std::string& bytes);

// Writes `bytes` to a new hidden temporary file beside `target` (".<name>.XXXXXX") and
// syncs it; its path goes to `temporary`. On failure nothing is left behind.
FileResult WriteTemporaryBeside(const std::filesystem::path& target, std::string_view bytes,
                                std::filesystem::path& temporary);

// Replaces `target` whole or not at all. A link is followed and its target replaced; a
// replaced file keeps its permissions and owner.
FileResult WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Creates the folders on the way to `folder` that do not exist yet, private to the user.
FileResult CreateOwnFolder(const std::filesystem::path& folder);

// Removes what a crash during an earlier write left beside `target`: regular files named
// like its temporary files, and nothing else.
void RemoveStaleTemporaries(const std::filesystem::path& target);

// Flushes a folder's entries (after renames) so they survive a crash.
void SyncFolder(const std::filesystem::path& folder);

// Writes all of `bytes` to an open descriptor. Returns 0 or the errno of the failing call.
int WriteAll(int fd, std::string_view bytes);

// Whether anything stands at `path`, a dangling link included. A path whose state cannot be
// learned counts as present, so that the operation on it reports the real error.
bool PathExists(const std::filesystem::path& path);

// The folder of a file; "." for a bare name.
std::filesystem::path FolderOf(const std::filesystem::path& file);

// The file a chain of links ends at (the path itself when it is no link).
std::filesystem::path FollowLinks(const std::filesystem::path& file);

}  // namespace jubilora
