// The command line on any arguments (separated by NUL bytes): a mode the program can run,
// or a one-line message.

#include <string>
#include <vector>

#include "app/command_line.h"
#include "fuzz/fuzz_support.h"

using namespace jubilora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  for (std::size_t at; args.size() < 15 && (at = input.find('\0')) != std::string_view::npos;) {
    args.emplace_back(input.substr(0, at));
    input.remove_prefix(at + 1);
  }
  args.emplace_back(input);
  const CommandLineResult result = ParseCommandLine(args);
  if (!result.commandLine) {
    fuzz::Require(!result.error.empty());
    return 0;
  }
  const CommandLine& line = *result.commandLine;
  const bool option = !args.empty() && (args[0].starts_with("--") || args[0] == "-h" || args[0] == "-v");
  fuzz::Require((line.mode == RunMode::Window) == !option);
  const bool toFile = line.mode == RunMode::Render || line.mode == RunMode::ExportCsv || line.mode == RunMode::ExportIcs;
  fuzz::Require(toFile == !line.file.empty());
  if (line.today) {
    fuzz::Require(*line.today >= DayFromCivil(1, 1, 1) && *line.today <= DayFromCivil(9999, 12, 31));
  }
  return 0;
}
