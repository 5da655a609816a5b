#include "report/urgency.h"

#include <cmath>

#include "core/naming.h"

namespace jubilora {

namespace {

struct Channels {
  int red = 0;
  int green = 0;
  int blue = 0;
};

Channels Split(StoredColor color, const SystemColors& system) {
  const std::uint32_t plain = ResolveColor(color, system);
  return {static_cast<int>(plain & 0xFFu), static_cast<int>((plain >> 8) & 0xFFu),
          static_cast<int>((plain >> 16) & 0xFFu)};
}

std::uint32_t Pack(const Channels& c) {
  return 0xFF000000u | (static_cast<std::uint32_t>(c.red & 0xFF) << 16) |
         (static_cast<std::uint32_t>(c.green & 0xFF) << 8) | static_cast<std::uint32_t>(c.blue & 0xFF);
}

// base + Trunc(steps * ((toward - base) / P * 2)): the quotient first, everything in
// doubles, the fraction dropped towards zero.
int BlendChannel(int base, int toward, double steps, int period) {
  const double slope = static_cast<double>(toward - base) / static_cast<double>(period) * 2.0;
  const double product = steps * slope;
  return base + static_cast<int>(std::trunc(product));
}

Channels Blend(const Channels& base, const Channels& toward, double steps, int period) {
  return {BlendChannel(base.red, toward.red, steps, period), BlendChannel(base.green, toward.green, steps, period),
          BlendChannel(base.blue, toward.blue, steps, period)};
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
    return Pack(Blend(Split(cfg.SemiUrgent, system), Split(cfg.MostUrgent, system), steps, period));
  }
  if (n == half) return ToColor32(cfg.SemiUrgent, system);
  if (n < period) {
    const double steps = static_cast<double>(period - n);
    return Pack(Blend(Split(cfg.LeastUrgent, system), Split(cfg.SemiUrgent, system), steps, period));
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
