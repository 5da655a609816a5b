#pragma once
// The report as data and as text, for the command line: the same entries, in the same
// order, that the window shows on its first show.

#include <cstdint>
#include <string>
#include <vector>

#include "core/anniversary.h"
#include "core/ports.h"
#include "core/settings.h"
#include "report/selection.h"

namespace jubilora {

inline constexpr const char* NothingToRemindText = "Today there is nothing to remind you of...";

// Builds the report the way the window does: one date sort at its start and one before
// each of its two passes over the selection window; the entries are those of the last.
std::vector<ReportEntry> PrepareReportEntries(TAnniversaryList& list, const TCfg& cfg, DayNumber today);

struct ReportItem {
  DayNumber day = 0;
  int offset = 0;            // day - today
  std::string heading;       // Windows-1252
  std::string text;          // Windows-1252
  std::uint32_t color = 0;   // 0xFFRRGGBB
  int opacity = 0;           // icon opacity
  bool past = false;
};

std::vector<ReportItem> DescribeReport(const TAnniversaryList& list, const std::vector<ReportEntry>& entries,
                                       const TCfg& cfg, DayNumber today, const SystemColors& system);

// UTF-8 texts. Plain: per day its heading, each entry indented by two blanks, then an empty
// line. Tab-separated: one line per entry.
std::string FormatPlainReport(const std::vector<ReportItem>& items);
std::string FormatTsvReport(const std::vector<ReportItem>& items);

}  // namespace jubilora
