#pragma once
// The File menu's commands on whole files of records: Backup, Restore, Synchronize and the
// dialogue of the exports.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/anniversary.h"
#include "core/ports.h"
#include "core/settings.h"
#include "data/data_file.h"

namespace jubilora {

// One reading of the local clock, 24-hour.
struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Called at most once per command, when the default backup name is needed.
using ReadLocalClock = std::function<LocalDateTime()>;

// "2026-03-07@09-05-03 Jubilora Backup.jld"
std::string GetBackupFileName(const LocalDateTime& now);

// The whole dialogue of "&Backup": copies the data file to a file the user names and
// remembers its folder in cfg.LastPath.
void BackupCommand(const TAnniversaryList& anniversaries, const DataPaths& paths, TCfg& cfg, Ui& ui,
                   const ReadLocalClock& readClock);

// "&Restore": replaces the data file by a user backup or by the automatic backup, then
// reloads and redraws. The automatic backup is never rotated.
void RestoreCommand(TAnniversaryList& anniversaries, const DataPaths& paths, TCfg& cfg, Ui& ui);

// "S&ynchronize": merges another file of records into the list, drops exact duplicates,
// saves and redraws. cfg.LastPath is only read.
void SynchronizeCommand(TAnniversaryList& anniversaries, const DataPaths& paths, const TCfg& cfg, Ui& ui);

// A way of writing the list to a file the user names: the file dialog's filter and
// extension, and the write.
struct ExportFormat {
  const char* filter;
  const char* extension;
  std::function<FileResult(const std::filesystem::path&)> write;
};

// The dialogue every export shares: a notice for an empty list, the question, the file
// dialog opening in cfg.ExportPath, the write, and the folder remembered in cfg.ExportPath.
void RunExport(const TAnniversaryList& anniversaries, TCfg& cfg, Ui& ui, const ExportFormat& format);

// Keeps the first of every group of the same anniversaries, wherever they stand: Kind, Date
// (as a floating value), Description (length and characters within it), Importance and
// ReminderDays all equal. The others keep their order.
void RemoveDuplicates(TAnniversaryList& anniversaries);

}  // namespace jubilora
