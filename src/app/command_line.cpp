#include "app/command_line.h"

#include <algorithm>
#include <cctype>

#include "core/addresses.h"
#include "core/product.h"

namespace jubilora {

namespace {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

constexpr const char* OneModeOnly =
    "only one of --print, --render, --export-csv, --export-ics, --help and --version may be given";

struct FileMode {
  RunMode mode;
  const char* name;
  const char* what;
};

// The options that take a file, as "--option FILE" or "--option=FILE".
std::optional<FileMode> FileOption(const std::string& arg) {
  for (const FileMode& m : {FileMode{RunMode::Render, "--render", "the name of a PNG file"},
                            FileMode{RunMode::ExportCsv, "--export-csv", "the name of a CSV file"},
                            FileMode{RunMode::ExportIcs, "--export-ics", "the name of an iCalendar file"}}) {
    const std::string name = m.name;
    if (arg == name || arg.rfind(name + "=", 0) == 0) return m;
  }
  return std::nullopt;
}

CommandLineResult Fail(std::string error) { return {std::nullopt, std::move(error)}; }

bool Set(const EnvLookup& env, const char* variable) {
  const auto value = env(variable);
  return value && !value->empty();
}

constexpr const char* Usage =
    "Usage: jubilora [/autorun]\n"
    "       jubilora --print[=tsv] [--today YYYY-MM-DD]\n"
    "       jubilora --render FILE.png [--today YYYY-MM-DD]\n"
    "       jubilora --export-csv FILE\n"
    "       jubilora --export-ics FILE\n"
    "       jubilora -h | --help | -v | --version\n"
    "\n"
    "Without options the reminder window opens. The options run without a window,\n"
    "read the program's files and never write them:\n"
    "  --print             print the report as text\n"
    "  --print=tsv         print one tab-separated line per entry: day, offset from\n"
    "                      today, heading, text, colour, icon opacity, past (1/0)\n"
    "  --render FILE.png   write the report picture as the window shows it\n"
    "  --export-csv FILE   write the anniversaries as comma-separated values\n"
    "  --export-ics FILE   write the anniversaries as an iCalendar file: yearly\n"
    "                      events with their reminders, for any calendar\n"
    "  --today YYYY-MM-DD  compute the report for another day\n"
    "  -h, --help          show this text\n"
    "  -v, --version       show the program's version and licence\n"
    "\n";

}  // namespace

std::optional<DayNumber> ParseIsoDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  const int year = std::stoi(text.substr(0, 4));
  const int month = std::stoi(text.substr(5, 2));
  const int day = std::stoi(text.substr(8, 2));
  if (!IsValidCivil(year, month, day)) return std::nullopt;
  return DayFromCivil(year, month, day);
}

std::string HelpText() { return std::string(Usage) + "Report bugs to: " + BugAddress + "\n"; }

std::string VersionText() {
  return std::string(ProductName) + " " + ProductVersion + "\nCopyright (C) " + Copyright +
         "\n"
         "License GPL-3.0-or-later <https://gnu.org/licenses/gpl.html>\n"
         "This is free software: you are free to change and redistribute it.\n"
         "There is NO WARRANTY, to the extent permitted by law.\n";
}

bool WindowCanStart(const std::vector<std::string>& args, const EnvLookup& env) {
  if (Set(env, "DISPLAY") || Set(env, "WAYLAND_DISPLAY") || Set(env, "QT_QPA_PLATFORM")) return true;
  return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
    return arg == "-platform" || arg == "--platform";
  });
}

CommandLineResult ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine result;
  if (args.empty() || (args[0].rfind("--", 0) != 0 && args[0] != "-h" && args[0] != "-v")) {
    result.autorun = !args.empty() && EqualsIgnoringCase(args[0], "/autorun");
    return {result, {}};
  }
  std::optional<RunMode> mode;
  auto setMode = [&mode](RunMode m) { return !mode ? (mode = m, true) : false; };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--print" || arg == "--print=text") {
      if (!setMode(RunMode::Print)) return Fail(OneModeOnly);
    } else if (arg == "--print=tsv") {
      if (!setMode(RunMode::PrintTsv)) return Fail(OneModeOnly);
    } else if (arg.rfind("--print=", 0) == 0) {
      return Fail("unknown report format '" + arg.substr(8) + "' (use --print or --print=tsv)");
    } else if (arg == "--help" || arg == "-h") {
      if (!setMode(RunMode::Help)) return Fail(OneModeOnly);
    } else if (arg == "--version" || arg == "-v") {
      if (!setMode(RunMode::Version)) return Fail(OneModeOnly);
    } else if (const auto fileMode = FileOption(arg)) {
      if (!setMode(fileMode->mode)) return Fail(OneModeOnly);
      const std::string option = fileMode->name;
      if (arg == option) {
        if (i + 1 >= args.size()) return Fail(option + " needs " + fileMode->what);
        result.file = args[++i];
      } else {
        result.file = arg.substr(option.size() + 1);
      }
      if (result.file.empty()) return Fail(option + " needs " + fileMode->what);
    } else if (arg == "--today" || arg.rfind("--today=", 0) == 0) {
      std::string value;
      if (arg == "--today") {
        if (i + 1 >= args.size()) return Fail("--today needs a date as YYYY-MM-DD");
        value = args[++i];
      } else {
        value = arg.substr(8);
      }
      if (result.today) return Fail("--today may be given only once");
      result.today = ParseIsoDate(value);
      if (!result.today) return Fail("--today needs a valid date as YYYY-MM-DD, not '" + value + "'");
    } else {
      return Fail("unknown option '" + arg + "' (see --help)");
    }
  }
  if (!mode) return Fail("--today needs --print, --print=tsv or --render");
  if ((*mode == RunMode::ExportCsv || *mode == RunMode::ExportIcs) && result.today) {
    return Fail("--today does not go with --export-csv or --export-ics");
  }
  result.mode = *mode;
  return {result, {}};
}

}  // namespace jubilora
