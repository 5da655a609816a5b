#include "app/headless.h"

#include <QSaveFile>

#include <ostream>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "data/csv_export.h"
#include "data/data_file.h"
#include "platform/clock.h"
#include "platform/font_catalog.h"
#include "platform/regional.h"
#include "platform/system_colors.h"
#include "report/layout.h"
#include "report/render/report_painter.h"
#include "report/text_report.h"

namespace jubilora {

namespace {

// The picture the window shows, written whole or not at all.
int WritePicture(const std::string& file, const TAnniversaryList& list, const std::vector<ReportEntry>& entries,
                 const TCfg& cfg, DayNumber today, const SystemColors& colors, std::ostream& err) {
  InitResources();
  const QtTextMeasurer measurer(cfg);
  const KindIcons icons;
  const QImage picture = PaintReport(LayoutReport(list, entries, cfg, today, measurer, colors), cfg, icons);
  QSaveFile out(QString::fromStdString(file));
  if (!out.open(QIODevice::WriteOnly) || !picture.save(&out, "PNG") || !out.commit()) {
    err << "jubilora: cannot write " << file << ": " << out.errorString().toStdString() << '\n';
    return 1;
  }
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
  if (const auto error = LoadData(paths.Data(), list)) {
    err << "jubilora: " << error->Describe() << '\n';
    return 1;
  }
  if (commandLine.mode == RunMode::ExportCsv) {
    // The list as a start leaves it, written whole or not at all; nothing else is touched.
    if (const auto error = WriteCsvExport(commandLine.file, list, QtRegionalSettings())) {
      err << "jubilora: " << *error << '\n';
      return 1;
    }
    return 0;
  }
  const QtFontCatalog fonts;
  const QtRegionalSettings regional;
  const LoadedSettings loaded = LoadSettingsFile(paths.settings, fonts, regional, today);
  if (loaded.error) err << "jubilora: " << *loaded.error << "; using the default preferences\n";
  const TCfg& cfg = loaded.settings.cfg;

  const QtSystemColors colors;
  const auto entries = PrepareReportEntries(list, cfg, today);
  if (commandLine.mode == RunMode::Render) return WritePicture(commandLine.file, list, entries, cfg, today, colors, err);
  const auto items = DescribeReport(list, entries, cfg, today, colors);
  out << (commandLine.mode == RunMode::PrintTsv ? FormatTsvReport(items) : FormatPlainReport(items));
  out.flush();
  return out ? 0 : 1;
}

}  // namespace jubilora
