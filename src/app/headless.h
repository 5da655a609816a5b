#pragma once
// The command-line modes: they read the program's files exactly as a start does, never
// write anything and need no display.

#include <iosfwd>

#include "app/command_line.h"
#include "data/program_paths.h"

namespace jubilora {

// Needs a QGuiApplication (for the system colours and fonts). Returns the exit status.
int RunHeadless(const CommandLine& commandLine, const ProgramPaths& paths, std::ostream& out, std::ostream& err);

}  // namespace jubilora
