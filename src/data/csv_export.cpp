#include "data/csv_export.h"

#include "core/naming.h"
#include "data/destination.h"
#include "data/file_commands.h"

namespace jubilora {

namespace {

constexpr const char* CsvFilter = "Comma-Separated Values (*.csv)";
constexpr const char* CsvExtension = "csv";

constexpr const char* HeaderWords[] = {"Date", "Type", "Description", "Priority", "Reminder"};
constexpr const char* LineEnd = "\r\n";

void AppendQuoted(std::string& out, const std::string& text) {
  out.push_back('"');
  for (const char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

}  // namespace

std::string CsvExportBytes(const TAnniversaryList& anniversaries, const std::string& separator,
                           const ShortDateFormatter& formatDate) {
  std::string out;
  bool first = true;
  for (const char* word : HeaderWords) {
    if (!first) out += separator;
    first = false;
    AppendQuoted(out, word);
  }
  out += LineEnd;

  for (const TAnniversary& record : anniversaries) {
    // The event's own date, with its own year, not this year's occurrence.
    if (const auto day = WholeDay(record.Date)) out += formatDate(*day);
    out += separator;
    AppendQuoted(out, KindName(record.Kind));
    out += separator;
    AppendQuoted(out, record.Description());
    out += separator;
    AppendQuoted(out, ImportanceName(record.Importance));
    out += separator;
    AppendQuoted(out, PeriodName(record.ReminderDays));
    out += LineEnd;
  }
  return out;
}

std::string CsvExportBytes(const TAnniversaryList& anniversaries, const RegionalSettings& regional) {
  return CsvExportBytes(anniversaries, regional.ListSeparator(),
                        [&regional](DayNumber day) { return regional.FormatShortDate(day); });
}

FileResult WriteCsvExport(const std::filesystem::path& file, const TAnniversaryList& anniversaries,
                          const RegionalSettings& regional, const ProgramPaths& paths) {
  return WriteChosenFile(file, CsvExportBytes(anniversaries, regional), ProgramFiles(paths));
}

void ExportCommand(const TAnniversaryList& anniversaries, const ProgramPaths& paths, TCfg& cfg,
                   const RegionalSettings& regional, Ui& ui) {
  RunExport(anniversaries, cfg, ui, {CsvFilter, CsvExtension, [&](const std::filesystem::path& file) {
              return WriteCsvExport(file, anniversaries, regional, paths);
            }});
}

}  // namespace jubilora
