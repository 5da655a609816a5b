#pragma once
// The anniversaries written as an iCalendar file: File > Export > iCalendar, --export-ics and
// the copy kept up to date after every save. All three write the same bytes.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/anniversary.h"
#include "core/ports.h"
#include "core/settings.h"
#include "data/file_error.h"
#include "data/program_paths.h"

namespace jubilora {

inline constexpr const char* ICalendarFilter = "iCalendar (*.ics)";
inline constexpr const char* ICalendarExtension = "ics";

// When the list was last changed, in seconds since 1970 (UTC): the modification time of the
// file LoadData reads, or `now` when there is none.
std::int64_t DataRevision(const DataPaths& paths, std::int64_t now);

// The export of `list` with the default reminder period and the 29 February choice of `cfg`,
// stamped with DataRevision.
std::string ICalendarExportBytes(const TAnniversaryList& list, const TCfg& cfg, const DataPaths& paths,
                                 std::int64_t now);

// Writes the export to `file` as WriteChosenFile does: never onto one of the program's files.
FileResult WriteICalendarExport(const std::filesystem::path& file, const TAnniversaryList& list, const TCfg& cfg,
                                const ProgramPaths& paths, std::int64_t now);

// "&iCalendar...": the dialogue of every export, for a file of "*.ics".
void ICalendarExportCommand(const TAnniversaryList& list, const ProgramPaths& paths, TCfg& cfg, Ui& ui,
                            std::int64_t now);

// The copy named by cfg.ICalendarCopy, rewritten whole after each save. A rewrite that fails
// is reported once, not again until one succeeds or the copy moves; the data stays saved.
class ICalendarCopy {
 public:
  void Refresh(const TAnniversaryList& saved, const TCfg& cfg, const ProgramPaths& paths, Ui& ui, std::int64_t now);

 private:
  std::optional<std::string> failing_;  // the copy whose failure the user has been told of
};

}  // namespace jubilora
