#pragma once
// What the command line asks for. Without arguments, or with anything but one of our
// own options first, the window starts; only the first argument is examined then.

#include <optional>
#include <string>
#include <vector>

#include "core/calendar.h"

namespace jubilora {

enum class RunMode { Window, Print, PrintTsv, Render, ExportCsv, Help, Version };

struct CommandLine {
  RunMode mode = RunMode::Window;
  bool autorun = false;  // first argument "/autorun" in any letter case
  std::optional<DayNumber> today;
  std::string file;  // the picture of --render, the CSV file of --export-csv
};

struct CommandLineResult {
  std::optional<CommandLine> commandLine;
  std::string error;  // one line, when commandLine is empty
};

CommandLineResult ParseCommandLine(const std::vector<std::string>& args);
std::optional<DayNumber> ParseIsoDate(const std::string& text);

inline constexpr const char* UsageText =
    "Usage: jubilora [/autorun]\n"
    "       jubilora --print[=tsv] [--today YYYY-MM-DD]\n"
    "       jubilora --render FILE.png [--today YYYY-MM-DD]\n"
    "       jubilora --export-csv FILE\n"
    "       jubilora --help | --version\n"
    "\n"
    "Without options the reminder window opens. The options run without a window,\n"
    "read the program's files and never write them:\n"
    "  --print             print the report as text\n"
    "  --print=tsv         print one tab-separated line per entry: day, offset from\n"
    "                      today, heading, text, colour, icon opacity, past (1/0)\n"
    "  --render FILE.png   write the report picture as the window shows it\n"
    "  --export-csv FILE   write the anniversaries as comma-separated values\n"
    "  --today YYYY-MM-DD  compute the report for another day\n"
    "  --help              show this text\n"
    "  --version           show the program's version\n";

}  // namespace jubilora
