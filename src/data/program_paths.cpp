#include "data/program_paths.h"

#include <system_error>

namespace jubilora {

namespace {

constexpr const char* FolderName = "jubilora";

std::filesystem::path WithExtension(std::filesystem::path file, const char* extension) {
  file.replace_extension(extension);
  return file;
}

// An XDG variable counts only when it holds an absolute path; otherwise the default
// under the home folder applies.
std::optional<std::filesystem::path> UserFolder(const EnvLookup& env, const std::string& variable,
                                                const std::filesystem::path& underHome) {
  if (const auto value = env(variable); value && !value->empty()) {
    std::filesystem::path folder(*value);
    if (folder.is_absolute()) return folder;
  }
  if (const auto home = env("HOME"); home && !home->empty()) {
    std::filesystem::path folder(*home);
    if (folder.is_absolute()) return folder / underHome;
  }
  return std::nullopt;
}

// <prefix>/share/jubilora when the program sits in <prefix>/bin beside it.
std::optional<std::filesystem::path> InstalledShare(const std::filesystem::path& program) {
  const auto bin = program.parent_path();
  if (bin.filename() != "bin") return std::nullopt;
  auto share = bin.parent_path() / "share" / FolderName;
  std::error_code ec;
  if (!std::filesystem::is_directory(share, ec)) return std::nullopt;
  return share;
}

}  // namespace

ProgramPaths DerivePaths(const std::filesystem::path& program, const EnvLookup& env) {
  ProgramPaths paths;
  paths.program = program;
  paths.data = WithExtension(program, ".jld");
  paths.backup = WithExtension(program, ".jlb");
  paths.settings = WithExtension(program, ".ini");
  paths.samples = WithExtension(program, ".spl");
  paths.help = WithExtension(program, ".chm");

  const auto share = InstalledShare(program);
  if (!share) return paths;
  const auto name = program.filename();
  paths.samples = WithExtension(*share / name, ".spl");
  paths.help = WithExtension(*share / name, ".chm");

  // Without any home to write to, the files stay beside the program, where saving will
  // report its failure instead of writing somewhere unexpected.
  if (const auto data = UserFolder(env, "XDG_DATA_HOME", std::filesystem::path(".local") / "share")) {
    paths.data = WithExtension(*data / FolderName / name, ".jld");
    paths.backup = WithExtension(*data / FolderName / name, ".jlb");
  }
  if (const auto config = UserFolder(env, "XDG_CONFIG_HOME", ".config")) {
    paths.settings = WithExtension(*config / FolderName / name, ".ini");
  }
  return paths;
}

}  // namespace jubilora
