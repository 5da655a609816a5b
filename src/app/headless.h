#pragma once
// The command-line modes: they read the program's files exactly as a start does, never
// write anything and need no display. The text modes run here, with QtCore alone; --render is
// the desktop part's (app/render_picture.h).

#include <iosfwd>

#include "app/command_line.h"
#include "core/calendar.h"
#include "core/ports.h"
#include "core/settings.h"
#include "data/file_error.h"
#include "data/program_paths.h"

namespace jubilora {

// Returns the exit status.
int RunHeadless(const CommandLine& commandLine, const ProgramPaths& paths, std::ostream& out, std::ostream& err);

// Prints the failure as the command line reports it; returns the exit status 1.
int ReportFailure(std::ostream& err, const FileError& error);

// The report's settings as a start reads them; a file that cannot be read is reported on `err`
// and the defaults apply.
TCfg ReadReportSettings(const ProgramPaths& paths, const FontCatalog& fonts, const RegionalSettings& regional,
                        DayNumber today, std::ostream& err);

}  // namespace jubilora
