#include "data/program_paths.h"

#include <system_error>

namespace jubilora {

namespace {

namespace fs = std::filesystem;

constexpr const char* FolderName = "jubilora";
constexpr const char* HelpFolder = "help";
constexpr const char* HelpStartPage = "index.html";

fs::path WithExtension(fs::path file, const char* extension) {
  file.replace_extension(extension);
  return file;
}

// <prefix>/share/jubilora when the program sits in <prefix>/bin beside it.
std::optional<fs::path> InstalledShare(const fs::path& program) {
  const auto bin = program.parent_path();
  if (bin.filename() != "bin") return std::nullopt;
  auto share = bin.parent_path() / "share" / FolderName;
  std::error_code ec;
  if (!fs::is_directory(share, ec)) return std::nullopt;
  return share;
}

}  // namespace

ProgramPaths DerivePaths(const fs::path& program, const EnvLookup& env) {
  ProgramPaths paths;
  paths.program = program;
  paths.data = WithExtension(program, ".jld");
  paths.backup = WithExtension(program, ".jlb");
  paths.settings = WithExtension(program, ".ini");
  paths.samples = WithExtension(program, ".spl");
  paths.help = program.parent_path() / HelpFolder / HelpStartPage;

  const auto share = InstalledShare(program);
  if (!share) return paths;
  const auto name = program.filename();
  paths.samples = WithExtension(*share / name, ".spl");
  paths.help = *share / HelpFolder / HelpStartPage;

  // Without any home to write to, the files stay beside the program, where saving will
  // report its failure instead of writing somewhere unexpected.
  if (const auto data = UserDataHome(env)) {
    paths.data = WithExtension(*data / FolderName / name, ".jld");
    paths.backup = WithExtension(*data / FolderName / name, ".jlb");
  }
  if (const auto config = UserConfigHome(env)) paths.settings = WithExtension(*config / FolderName / name, ".ini");
  return paths;
}

}  // namespace jubilora
