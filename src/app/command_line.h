#pragma once
// What the command line asks for. Without arguments, or with anything but one of our
// own options first, the window starts; only the first argument is examined then.

#include <optional>
#include <string>
#include <vector>

#include "core/calendar.h"
#include "core/user_folders.h"

namespace jubilora {

enum class RunMode { Window, Print, PrintTsv, Render, ExportCsv, ExportIcs, Help, Version };

struct CommandLine {
  RunMode mode = RunMode::Window;
  bool autorun = false;  // first argument "/autorun" in any letter case
  std::optional<DayNumber> today;
  std::string file;  // the picture of --render, the file of --export-csv or --export-ics
};

struct CommandLineResult {
  std::optional<CommandLine> commandLine;
  std::string error;  // one line, when commandLine is empty
};

CommandLineResult ParseCommandLine(const std::vector<std::string>& args);
std::optional<DayNumber> ParseIsoDate(const std::string& text);

// What --help and --version print.
std::string HelpText();
std::string VersionText();

// Whether the window has somewhere to appear: a display in DISPLAY or WAYLAND_DISPLAY, or a
// platform chosen by the user (QT_QPA_PLATFORM, or Qt's own -platform argument). Without one,
// Qt would abort; the program says so instead, in NoDisplayMessage, and ends with status 1.
bool WindowCanStart(const std::vector<std::string>& args, const EnvLookup& env);
inline constexpr const char* NoDisplayMessage =
    "no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
    "jubilora --print prints the report without one";

}  // namespace jubilora
