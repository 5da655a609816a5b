#include "report/layout.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "core/naming.h"
#include "report/text_report.h"
#include "report/urgency.h"

namespace jubilora {

namespace {

constexpr int HeadingTextOffset = 2;
constexpr int HeadingBarExtra = 4;  // heading bar height = heading text height + 4
constexpr int EntrySpacing = 10;    // above and below every entry
constexpr int SameDayOverlap = 10;  // further entries of a day move up by this much
constexpr int ForcedSmoothing = 2;

// Where a heading bar starts: past, today, or the plain "date background" colour.
std::uint32_t HeadingBarColor(DayNumber day, DayNumber today, const TCfg& cfg, const SystemColors& system) {
  if (day < today) return ToColor32(cfg.Passed, system);
  if (day == today) return ToColor32(cfg.MostUrgent, system);
  return ToColor32(cfg.PlainText, system);
}

const TAnniversary& RecordOf(const TAnniversaryList& list, const ReportEntry& entry) {
  return list[static_cast<std::size_t>(entry.index)];
}

}  // namespace

std::optional<int> KindImage(std::uint8_t kind) {
  if (kind == 0) return std::nullopt;
  if (kind >= KindOtherNoYears) return ReportKindImages - 1;
  return kind - 1;
}

std::uint32_t GradientColumnColor(std::uint32_t c1, std::uint32_t c2, int left, int right, int x) {
  // An empty bar has no columns to colour; its start colour is the only sensible answer.
  if (right <= left) return 0xFF000000u | c1;
  return CombineChannels(c1, c2, [width = right - left, x](int from, int to) {
    const double step = static_cast<double>(from - to) / static_cast<double>(width);
    return from - static_cast<int>(std::trunc(step * static_cast<double>(x)));
  });
}

ReportLayout LayoutReport(const TAnniversaryList& list, const std::vector<ReportEntry>& entries, const TCfg& cfg,
                          DayNumber today, const TextMeasurer& measurer, const SystemColors& system) {
  const int smoothing = cfg.ForceSmoothing ? ForcedSmoothing : 0;
  const int iconColumn = cfg.ShowIcons ? ReportIconColumn : 0;
  const DayNumber noDay = today - cfg.DaysAfter - 1;

  ReportLayout layout;
  layout.width = ReportMinWidth;
  layout.height = 0;
  layout.background = ToColor32(cfg.Background, system);

  // Measuring pass. The heights of the entries in the report font are kept for the drawing
  // pass: measuring is the costly part of a long report.
  std::vector<int> reportHeights;
  reportHeights.reserve(entries.size());
  DayNumber headingDay = noDay;
  for (const ReportEntry& entry : entries) {
    if (entry.day != headingDay) {
      const TextSize heading = measurer.Measure(FontRole::Heading, DayHeading(cfg.DateFormat, entry.day, today));
      layout.width = std::max(layout.width, heading.width + 2 * ReportMargin);
      layout.height += heading.height + HeadingBarExtra;
      headingDay = entry.day;
    } else {
      layout.height -= SameDayOverlap;
    }
    const TextSize text = measurer.Measure(FontRole::Report, GetDisplayText(RecordOf(list, entry), entry.day, cfg));
    layout.width = std::max(layout.width, text.width + iconColumn + 2 * ReportMargin + smoothing * cfg.FontSize);
    reportHeights.push_back(text.height);
    if (cfg.ShowIcons && text.height < ReportIconSize) {
      layout.height += ReportIconSize + 2 * EntrySpacing;
    } else {
      layout.height += text.height + 2 * EntrySpacing;
    }
  }

  if (entries.empty()) {
    const TextSize message = measurer.Measure(FontRole::Report, NothingToRemindText);
    layout.width = message.width + 2 * ReportMargin;
    layout.height = message.height + 2 * ReportMargin;
    layout.ops.emplace_back(TextOp{ReportMargin, ReportMargin, NothingToRemindText, FontRole::Report,
                                   ToColor32(cfg.PlainText, system), smoothing});
    return layout;
  }

  // Drawing pass.
  headingDay = noDay;
  int y = 0;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const ReportEntry& entry = entries[k];
    if (entry.day != headingDay) {
      if (!layout.scrollTarget && entry.day >= today) layout.scrollTarget = y;
      const std::string heading = DayHeading(cfg.DateFormat, entry.day, today);
      const int barHeight = measurer.Measure(FontRole::Heading, heading).height + HeadingBarExtra;
      layout.ops.emplace_back(GradientBar{0, y, layout.width, y + barHeight,
                                          HeadingBarColor(entry.day, today, cfg, system), layout.background});
      layout.ops.emplace_back(TextOp{ReportMargin, y + HeadingTextOffset, heading, FontRole::Heading,
                                     layout.background, 0});
      y += barHeight;
      headingDay = entry.day;
    } else {
      y -= SameDayOverlap;
    }

    const TAnniversary& record = RecordOf(list, entry);
    const FontRole font = entry.day < today ? FontRole::ReportStruck : FontRole::Report;
    std::string text = GetDisplayText(record, entry.day, cfg);
    const int textHeight = font == FontRole::Report ? reportHeights[k] : measurer.Measure(font, text).height;

    int rowHeight = textHeight;
    int textLowering = 0;
    if (cfg.ShowIcons) {
      int iconLowering = 0;
      if (textHeight < ReportIconSize) {
        rowHeight = ReportIconSize;
        textLowering = (ReportIconSize - textHeight) / 2;
      } else {
        iconLowering = (textHeight - ReportIconSize) / 2;
      }
      if (const std::optional<int> image = KindImage(record.Kind)) {
        layout.ops.emplace_back(IconOp{ReportMargin, y + EntrySpacing + iconLowering, *image,
                                       IconOpacity(entry.day, today, cfg.DaysBefore)});
      }
    }
    layout.ops.emplace_back(TextOp{iconColumn + ReportMargin, y + EntrySpacing + textLowering, std::move(text), font,
                                   GetTextColor(entry.day, today, cfg, system), smoothing});
    y += rowHeight + 2 * EntrySpacing;
  }
  return layout;
}

}  // namespace jubilora
