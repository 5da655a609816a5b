#pragma once
// The window program: start-up in its fixed order, the message loop, the end.

#include "app/command_line.h"
#include "data/program_paths.h"

namespace jubilora {

// Runs until the program ends; returns the exit status. A QApplication must exist.
int RunWindowProgram(const CommandLine& commandLine, const ProgramPaths& paths);

}  // namespace jubilora
