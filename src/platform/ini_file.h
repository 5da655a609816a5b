#pragma once
// A profile (INI) file read and written with the rules of the Windows profile-file
// functions: section and key names match without regard to (ASCII) case, blanks around
// names and values are dropped, the first occurrence of a section and of a key in it
// wins, lines starting with ';' are comments, and CR LF, LF and CR line ends all read.
// Writing changes only the lines it must: every other line, known or not, is kept.
// Values are bytes; nothing is escaped or unquoted. Text() ends every line with LF.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ascii.h"
#include "data/file_error.h"

namespace jubilora {

struct IniLoadResult;

class IniFile {
 public:
  IniFile() = default;

  // Missing: the file does not exist (nor does a folder on its way). Only a regular file
  // of at most a megabyte is read; anything else is Failed.
  static IniLoadResult Load(const std::filesystem::path& path);
  static IniFile Parse(std::string_view text);

  // The trimmed value of the first matching key of the first matching section.
  std::optional<std::string> GetString(std::string_view section, std::string_view key) const;

  // Replaces the first matching key's line, or adds the key at the end of its section,
  // or adds the section at the end of the file. A value is one line: it is cut at its
  // first line break so that it cannot turn into keys or sections of its own.
  void SetString(std::string_view section, std::string_view key, std::string_view value);

  // The file's contents: its lines, each ended by LF (a UTF-8 byte order mark that the
  // file started with is kept).
  std::string Text() const;

  // Written whole or not at all.
  FileResult Save(const std::filesystem::path& path) const;

 private:
  struct Span {
    std::size_t header;  // index of the section's line
    std::size_t end;     // one past its last line
  };
  std::optional<Span> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const Span& span, std::string_view key) const;

  std::vector<std::string> lines_;
  bool hasBom_ = false;
};

struct IniLoadResult {
  enum class Status { Loaded, Missing, Failed };
  Status status = Status::Missing;
  IniFile file;                    // empty unless Loaded
  std::optional<FileError> error;  // when Failed
};

}  // namespace jubilora
