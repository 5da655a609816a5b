#pragma once
// The one way a file operation tells what went wrong: the file, what was being done with
// it and the system's reason. The window reports Describe() through Ui::ReportError; the
// command line prints it on standard error.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

namespace jubilora {

enum class FileAction { Read, Write, CreateFolder };

struct FileError {
  std::filesystem::path file;
  FileAction action = FileAction::Read;
  std::string reason;  // the system's words, e.g. "Permission denied"

  // "Cannot read the file "<file>": <reason>"
  std::string Describe() const;
  friend bool operator==(const FileError&, const FileError&) = default;
};

std::ostream& operator<<(std::ostream& out, const FileError& error);

// The error for the errno of a failed call.
FileError SystemError(const std::filesystem::path& file, FileAction action, int error);

using FileResult = std::optional<FileError>;

}  // namespace jubilora
