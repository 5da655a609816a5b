#pragma once
// --render: the report picture as the window paints it, written to a PNG file. Part of the
// desktop part, since painting needs QtGui.

#include <iosfwd>

#include "app/command_line.h"
#include "data/program_paths.h"

namespace jubilora {

// Needs a QGuiApplication. Returns the exit status; failures go to `err`.
int RenderPicture(const CommandLine& commandLine, const ProgramPaths& paths, std::ostream& err);

}  // namespace jubilora
