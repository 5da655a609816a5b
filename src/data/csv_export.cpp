#include "data/csv_export.h"

#include "core/naming.h"
#include "data/destination.h"
#include "data/file_commands.h"

namespace jubilora {

namespace {

constexpr const char* ExportCaption = "Export Your Data";
constexpr const char* NothingToExport =
    "There is nothing to export.\r\n\r\nPlease enter some data before performing\r\nan export operation.";
constexpr const char* ExportQuestion =
    "Please select file path and name for a text\r\nfile containing your anniversaries data.\r\n\r\n"
    "You may use this to open you data in other\r\napplications.";
constexpr const char* OkButton = "&OK";
constexpr const char* ProceedButton = "&Proceed";
constexpr const char* CancelButton = "&Cancel";
constexpr const char* CsvFilter = "Comma-Separated Values (*.csv)";
constexpr const char* CsvExtension = "csv";
constexpr int Proceed = 1;

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
  if (anniversaries.empty()) {
    ui.AnswerDialog(ExportCaption, NothingToExport, {OkButton}, IconKind::Warning, true);
    return;
  }
  if (ui.AnswerDialog(ExportCaption, ExportQuestion, {ProceedButton, CancelButton}, IconKind::Question, true) !=
      Proceed) {
    return;
  }
  FileDialogOptions dialog;
  dialog.title = ExportCaption;
  dialog.filter = CsvFilter;
  dialog.defaultSuffix = CsvExtension;
  dialog.initialFolder = cfg.ExportPath;
  const auto chosen = ui.ChooseSaveFile(dialog);
  if (!chosen) return;

  if (auto error = WriteCsvExport(*chosen, anniversaries, regional, paths)) ui.ReportError(error->Describe());
  // The folder is remembered even after a failed write: it is where the user looks next.
  cfg.ExportPath = FolderWithSeparator(*chosen);
}

}  // namespace jubilora
