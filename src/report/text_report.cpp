#include "report/text_report.h"

#include <cstdio>

#include "core/naming.h"
#include "core/ordering.h"
#include "core/text_codec.h"
#include "report/urgency.h"

namespace jubilora {

std::vector<ReportEntry> PrepareReportEntries(TAnniversaryList& list, const TCfg& cfg, DayNumber today) {
  // Each sort may rearrange records that tie on every key, so all three run.
  SortByDate(list, 0);
  SortByDate(list, 0);
  SortByDate(list, 0);
  return SelectionWindow(list, cfg, today);
}

std::vector<ReportItem> DescribeReport(const TAnniversaryList& list, const std::vector<ReportEntry>& entries,
                                       const TCfg& cfg, DayNumber today, const SystemColors& system) {
  std::vector<ReportItem> items;
  items.reserve(entries.size());
  DayNumber headingDay = today - cfg.DaysAfter - 1;
  std::string heading;
  for (const ReportEntry& entry : entries) {
    if (items.empty() || entry.day != headingDay) {
      headingDay = entry.day;
      heading = DayHeading(cfg.DateFormat, entry.day, today);
    }
    ReportItem item;
    item.day = entry.day;
    item.offset = entry.day - today;
    item.heading = heading;
    item.text = GetDisplayText(list[static_cast<std::size_t>(entry.index)], entry.day, cfg);
    item.color = GetTextColor(entry.day, today, cfg, system);
    item.opacity = IconOpacity(entry.day, today, cfg.DaysBefore);
    item.past = entry.day < today;
    items.push_back(std::move(item));
  }
  return items;
}

std::string FormatPlainReport(const std::vector<ReportItem>& items) {
  if (items.empty()) return std::string(NothingToRemindText) + "\n";
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i == 0 || items[i].day != items[i - 1].day) out += Cp1252ToUtf8(items[i].heading) + "\n";
    out += "  " + Cp1252ToUtf8(items[i].text) + "\n";
    if (i + 1 == items.size() || items[i + 1].day != items[i].day) out += "\n";
  }
  return out;
}

namespace {
// A damaged record may hold a tab or a line break; it must not split the line.
std::string TsvField(const std::string& cp1252) {
  std::string text = Cp1252ToUtf8(cp1252);
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}
}  // namespace

std::string FormatTsvReport(const std::vector<ReportItem>& items) {
  std::string out;
  for (const ReportItem& item : items) {
    const CivilDate date = CivilFromDay(item.day);
    char day[16];
    std::snprintf(day, sizeof day, "%04d-%02d-%02d", date.year, date.month, date.day);
    char color[8];
    std::snprintf(color, sizeof color, "#%06X", static_cast<unsigned>(item.color & 0xFFFFFFu));
    out += day;
    out += '\t' + std::to_string(item.offset);
    out += '\t' + TsvField(item.heading);
    out += '\t' + TsvField(item.text);
    out += '\t';
    out += color;
    out += '\t' + std::to_string(item.opacity);
    out += item.past ? "\t1\n" : "\t0\n";
  }
  return out;
}

}  // namespace jubilora
