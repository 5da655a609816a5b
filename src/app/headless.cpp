#include "app/headless.h"

#include <QBuffer>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <ostream>
#include <string_view>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "data/csv_export.h"
#include "data/data_file.h"
#include "data/destination.h"
#include "data/icalendar_export.h"
#include "platform/clock.h"
#include "platform/font_catalog.h"
#include "platform/regional.h"
#include "platform/system_colors.h"
#include "report/layout.h"
#include "report/render/report_painter.h"
#include "report/text_report.h"

namespace jubilora {

namespace {

constexpr const char* StandardOutput = "-";
constexpr const char* CannotEncode = "The picture could not be encoded as PNG";

int Fail(std::ostream& err, const FileError& error) {
  err << "jubilora: " << error << '\n';
  return 1;
}

// A stream keeps no reason of its own; the last call's errno is the best there is.
int WriteOut(std::ostream& out, std::ostream& err, std::string_view text) {
  errno = 0;
  out << text;
  out.flush();
  if (out) return 0;
  return Fail(err, FileError{StandardOutput, FileAction::Write, std::strerror(errno != 0 ? errno : EIO)});
}

// The picture the window shows, written where WriteChosenFile writes.
int WritePicture(const std::string& file, const ProgramPaths& paths, const TAnniversaryList& list,
                 const std::vector<ReportEntry>& entries, const TCfg& cfg, DayNumber today,
                 const SystemColors& colors, std::ostream& err) {
  InitResources();
  const QtTextMeasurer measurer(cfg);
  const KindIcons icons;
  const QImage picture = PaintReport(LayoutReport(list, entries, cfg, today, measurer, colors), cfg, icons);
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
    return Fail(err, FileError{file, FileAction::Write, CannotEncode});
  }
  const auto bytes = std::string_view(png.constData(), static_cast<std::size_t>(png.size()));
  if (auto error = WriteChosenFile(file, bytes, ProgramFiles(paths))) return Fail(err, *error);
  return 0;
}

// The calendar's events and alarms follow the preferences; the report font plays no part.
struct AnyFont : FontCatalog {
  bool IsInstalled(const std::string&) const override { return true; }
};

TCfg Preferences(const ProgramPaths& paths, const FontCatalog& fonts, DayNumber today, std::ostream& err) {
  const LoadedSettings loaded = LoadSettingsFile(paths.settings, fonts, QtRegionalSettings(), today);
  if (loaded.error) err << "jubilora: " << *loaded.error << "; using the default preferences\n";
  return loaded.settings.cfg;
}

int ExportICalendar(const std::string& file, const ProgramPaths& paths, const TAnniversaryList& list,
                    DayNumber today, std::ostream& out, std::ostream& err) {
  const TCfg cfg = Preferences(paths, AnyFont(), today, err);
  const std::int64_t now = std::time(nullptr);
  if (file == StandardOutput) return WriteOut(out, err, ICalendarExportBytes(list, cfg, paths.Data(), now));
  if (const auto error = WriteICalendarExport(file, list, cfg, paths, now)) return Fail(err, *error);
  return 0;
}

}  // namespace

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
  if (const auto error = LoadData(paths.Data(), list)) return Fail(err, *error);
  if (commandLine.mode == RunMode::ExportCsv) {
    // The list as a start leaves it; none of the program's own files is touched.
    const QtRegionalSettings regional;
    if (commandLine.file == StandardOutput) return WriteOut(out, err, CsvExportBytes(list, regional));
    if (const auto error = WriteCsvExport(commandLine.file, list, regional, paths)) return Fail(err, *error);
    return 0;
  }
  if (commandLine.mode == RunMode::ExportIcs) return ExportICalendar(commandLine.file, paths, list, today, out, err);
  const TCfg cfg = Preferences(paths, QtFontCatalog(), today, err);

  const QtSystemColors colors;
  const auto entries = PrepareReportEntries(list, cfg, today);
  if (commandLine.mode == RunMode::Render) {
    return WritePicture(commandLine.file, paths, list, entries, cfg, today, colors, err);
  }
  const auto items = DescribeReport(list, entries, cfg, today, colors);
  return WriteOut(out, err, commandLine.mode == RunMode::PrintTsv ? FormatTsvReport(items) : FormatPlainReport(items));
}

}  // namespace jubilora
