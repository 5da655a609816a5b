#include "data/icalendar_export.h"

#include <sys/stat.h>

#include "data/destination.h"
#include "data/file_commands.h"
#include "data/icalendar.h"

namespace jubilora {

namespace {

constexpr const char* CopyNotUpdated = "The iCalendar copy is not up to date; your data is saved.\n\n";

}  // namespace

// A calendar's DTSTAMP says when the events were last revised; taken from the data file, the
// same list gives the same bytes in every export, and a copy equals what --export-ics writes.
std::int64_t DataRevision(const DataPaths& paths, std::int64_t now) {
  for (const auto* file : {&paths.data, &paths.backup}) {
    struct stat info {};
    if (stat(file->c_str(), &info) == 0) return static_cast<std::int64_t>(info.st_mtime);
  }
  return now;
}

std::string ICalendarExportBytes(const TAnniversaryList& list, const TCfg& cfg, const DataPaths& paths,
                                 std::int64_t now) {
  return ICalendarBytes(list, {cfg.DaysBefore, cfg.LeapDay, DataRevision(paths, now)}).text;
}

FileResult WriteICalendarExport(const std::filesystem::path& file, const TAnniversaryList& list, const TCfg& cfg,
                                const ProgramPaths& paths, std::int64_t now) {
  return WriteChosenFile(file, ICalendarExportBytes(list, cfg, paths.Data(), now), ProgramFiles(paths));
}

void ICalendarExportCommand(const TAnniversaryList& list, const ProgramPaths& paths, TCfg& cfg, Ui& ui,
                            std::int64_t now) {
  RunExport(list, cfg, ui, {ICalendarFilter, ICalendarExtension, [&](const std::filesystem::path& file) {
              return WriteICalendarExport(file, list, cfg, paths, now);
            }});
}

void ICalendarCopy::Refresh(const TAnniversaryList& saved, const TCfg& cfg, const ProgramPaths& paths, Ui& ui,
                            std::int64_t now) {
  if (cfg.ICalendarCopy.empty()) return;
  if (failing_ && *failing_ != cfg.ICalendarCopy) failing_.reset();
  if (auto error = WriteICalendarExport(cfg.ICalendarCopy, saved, cfg, paths, now)) {
    if (!failing_) ui.ReportError(CopyNotUpdated + error->Describe());
    failing_ = cfg.ICalendarCopy;
    return;
  }
  failing_.reset();
}

}  // namespace jubilora
