#pragma once
// The export of all records as comma-separated values, for other applications.

#include <filesystem>
#include <functional>
#include <string>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "core/ports.h"
#include "core/settings.h"
#include "data/file_error.h"
#include "data/program_paths.h"

namespace jubilora {

// A day in the user's short date format, Windows-1252.
using ShortDateFormatter = std::function<std::string(DayNumber)>;

// The file's bytes: a quoted header, then one line per record in list order, every line
// ending with CR LF. The date is the only field without quotes, and is empty when the
// stored date has no calendar day; a double quote inside a quoted field is doubled.
std::string CsvExportBytes(const TAnniversaryList& anniversaries, const std::string& separator,
                           const ShortDateFormatter& formatDate);
// The same with the regional list separator and short date format.
std::string CsvExportBytes(const TAnniversaryList& anniversaries, const RegionalSettings& regional);

// Writes the export to `file` as WriteChosenFile does: never onto one of the program's files.
FileResult WriteCsvExport(const std::filesystem::path& file, const TAnniversaryList& anniversaries,
                          const RegionalSettings& regional, const ProgramPaths& paths);

// The whole dialogue of "&Export": asks, lets the user name the file, writes it and
// remembers its folder in cfg.ExportPath.
void ExportCommand(const TAnniversaryList& anniversaries, const ProgramPaths& paths, TCfg& cfg,
                   const RegionalSettings& regional, Ui& ui);

}  // namespace jubilora
