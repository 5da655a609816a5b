// Jubilora: the command-line text modes run here, with nothing but the plain logic and QtCore;
// for the window and --render the program hands over to its desktop part (app/desktop_part.h).

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/desktop_part.h"
#include "app/headless.h"
#include "data/program_paths.h"

int main(int argc, char** argv) {
  using namespace jubilora;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const CommandLineResult parsed = ParseCommandLine(args);
  if (!parsed.commandLine) {
    std::cerr << "jubilora: " << parsed.error << '\n';
    return 2;
  }
  const CommandLine& commandLine = *parsed.commandLine;
  const std::filesystem::path program = OwnFile(argv[0]);
  if (commandLine.mode == RunMode::Window || commandLine.mode == RunMode::Render) {
    const std::string failure = HandOverToDesktopPart(program, argv);
    std::cerr << "jubilora: " << failure << '\n';
    return 1;
  }
  KeepOnlyFatalQtMessages();
  return RunHeadless(commandLine, DerivePaths(program, ProcessEnvironment), std::cout, std::cerr);
}
