#include "app/headless.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <ostream>
#include <string_view>

#include "app/settings_store.h"
#include "data/csv_export.h"
#include "data/data_file.h"
#include "data/icalendar_export.h"
#include "platform/clock.h"
#include "platform/default_colors.h"
#include "platform/regional.h"
#include "report/text_report.h"

namespace jubilora {

namespace {

constexpr const char* StandardOutput = "-";

// A text uses no font, so every family counts as installed: the settings keep the one they name.
class AnyFont : public FontCatalog {
 public:
  bool IsInstalled(const std::string&) const override { return true; }
};

// A stream keeps no reason of its own; the last call's errno is the best there is.
int WriteOut(std::ostream& out, std::ostream& err, std::string_view text) {
  errno = 0;
  out << text;
  out.flush();
  if (out) return 0;
  return ReportFailure(err, FileError{StandardOutput, FileAction::Write, std::strerror(errno != 0 ? errno : EIO)});
}

int ExportICalendar(const std::string& file, const ProgramPaths& paths, const TAnniversaryList& list,
                    DayNumber today, std::ostream& out, std::ostream& err) {
  // The calendar's events and alarms follow the preferences; the report font plays no part.
  const TCfg cfg = ReadReportSettings(paths, AnyFont(), QtRegionalSettings(), today, err);
  const std::int64_t now = std::time(nullptr);
  if (file == StandardOutput) return WriteOut(out, err, ICalendarExportBytes(list, cfg, paths.Data(), now));
  if (const auto error = WriteICalendarExport(file, list, cfg, paths, now)) return ReportFailure(err, *error);
  return 0;
}

}  // namespace

int ReportFailure(std::ostream& err, const FileError& error) {
  err << "jubilora: " << error << '\n';
  return 1;
}

TCfg ReadReportSettings(const ProgramPaths& paths, const FontCatalog& fonts, const RegionalSettings& regional,
                        DayNumber today, std::ostream& err) {
  const LoadedSettings loaded = LoadSettingsFile(paths.settings, fonts, regional, today);
  if (loaded.error) err << "jubilora: " << *loaded.error << "; using the default preferences\n";
  return loaded.settings.cfg;
}

int RunHeadless(const CommandLine& commandLine, const ProgramPaths& paths, std::ostream& out, std::ostream& err) {
  if (commandLine.mode == RunMode::Help) {
    out << HelpText();
    return 0;
  }
  if (commandLine.mode == RunMode::Version) {
    out << VersionText();
    return 0;
  }

  const DayNumber today = commandLine.today.value_or(Clock::Today());
  TAnniversaryList list;
  if (const auto error = LoadData(paths.Data(), list)) return ReportFailure(err, *error);
  if (commandLine.mode == RunMode::ExportCsv) {
    // The list as a start leaves it; none of the program's own files is touched.
    const QtRegionalSettings regional;
    if (commandLine.file == StandardOutput) return WriteOut(out, err, CsvExportBytes(list, regional));
    if (const auto error = WriteCsvExport(commandLine.file, list, regional, paths)) return ReportFailure(err, *error);
    return 0;
  }
  if (commandLine.mode == RunMode::ExportIcs) return ExportICalendar(commandLine.file, paths, list, today, out, err);
  const TCfg cfg = ReadReportSettings(paths, AnyFont(), QtRegionalSettings(), today, err);
  const DefaultSystemColors colors;
  const auto entries = PrepareReportEntries(list, cfg, today);
  const auto items = DescribeReport(list, entries, cfg, today, colors);
  return WriteOut(out, err, commandLine.mode == RunMode::PrintTsv ? FormatTsvReport(items) : FormatPlainReport(items));
}

}  // namespace jubilora
