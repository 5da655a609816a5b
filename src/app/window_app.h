#pragma once
// The window program: start-up in its fixed order, the message loop, the end.

#include "app/command_line.h"
#include "data/program_paths.h"

namespace jubilora {

// Runs until the program ends; returns the exit status.
int RunWindowProgram(int& argc, char** argv, const CommandLine& commandLine, const ProgramPaths& paths);

}  // namespace jubilora
