#include "data/file_error.h"

#include <ostream>
#include <system_error>

namespace jubilora {

std::string FileError::Describe() const {
  const char* doing = action == FileAction::Read    ? "read the file"
                      : action == FileAction::Write ? "write the file"
                                                    : "create the folder";
  return std::string("Cannot ") + doing + " \"" + file.string() + "\": " + reason;
}

std::ostream& operator<<(std::ostream& out, const FileError& error) { return out << error.Describe(); }

FileError SystemError(const std::filesystem::path& file, FileAction action, int error) {
  return {file, action, std::generic_category().message(error)};
}

}  // namespace jubilora
