#include "report/urgency.h"

#include <cmath>

#include "core/naming.h"

namespace jubilora {

namespace {

// base + Trunc(steps * ((toward - base) / P * 2)): the quotient first, everything in
// doubles, the fraction dropped towards zero.
int BlendChannel(int base, int toward, double steps, int period) {
  const double slope = static_cast<double>(toward - base) / static_cast<double>(period) * 2.0;
  const double product = steps * slope;
  return base + static_cast<int>(std::trunc(product));
}

std::uint32_t Blend(StoredColor base, StoredColor toward, double steps, int period, const SystemColors& system) {
  return CombineChannels(ToColor32(base, system), ToColor32(toward, system),
                         [&](int from, int to) { return BlendChannel(from, to, steps, period); });
}

}  // namespace

std::uint32_t GetTextColor(DayNumber day, DayNumber today, const TCfg& cfg, const SystemColors& system) {
  const int period = cfg.DaysBefore;
  const int n = day - today;
  const int half = period / 2;

  if (day < today) return ToColor32(cfg.Passed, system);
  if (day == today) return ToColor32(cfg.MostUrgent, system);
  if (n < half) {
    // Here half >= 2, so the period is not zero.
    const double steps = static_cast<double>(period) / 2.0 - static_cast<double>(n);
    return Blend(cfg.SemiUrgent, cfg.MostUrgent, steps, period, system);
  }
  if (n == half) return ToColor32(cfg.SemiUrgent, system);
  if (n < period) {
    const double steps = static_cast<double>(period - n);
    return Blend(cfg.LeastUrgent, cfg.SemiUrgent, steps, period, system);
  }
  return ToColor32(cfg.LeastUrgent, system);
}

int IconOpacity(DayNumber day, DayNumber today, std::uint8_t daysBefore) {
  const int period = daysBefore;
  if (day < today || day > today + period) return 128;
  if (period == 0) return 255;
  const double share = static_cast<double>((today + period) - day) / static_cast<double>(period) * 127.0;
  return static_cast<int>(std::trunc(share)) + 128;
}

}  // namespace jubilora
