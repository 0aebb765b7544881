#include "skin/core/ScrollBarGeometry.h"

#include <algorithm>

namespace kestu {

std::int64_t RoundQuotient(std::int64_t num, std::int64_t den) {
  std::int64_t q = num / den, r = num % den;
  if (r < 0) r += den, --q;  // floor division
  const std::int64_t twice = 2 * r;
  if (twice > den || (twice == den && (q & 1) != 0)) ++q;
  return q;
}

ScrollBarGeometry MeasureScrollBar(int length, int arrow, int minButton, const ScrollModel& m, bool enabled) {
  ScrollBarGeometry g;
  g.L = std::max(length, 0);
  g.A = std::max(arrow, 0);
  const int button = std::max(g.A, minButton);
  g.FirstEnd = std::min(button, g.L / 2);
  g.SecondStart = std::max(g.L - button, g.L / 2);

  const std::int64_t track = std::int64_t(g.L) - 2 * g.A;
  const std::int64_t span = std::int64_t(m.Max) + m.PageSize - m.Min;
  if (m.PageSize <= 0 || span <= 0 || track <= 0)
    g.S = kMinSliderLength;
  else
    g.S = int(std::max<std::int64_t>(RoundQuotient(track * m.PageSize, span), kMinSliderLength));

  const std::int64_t range = std::int64_t(m.Max) - m.Min;
  if (!enabled)
    g.C = g.L / 2;
  else if (range <= 0)
    g.C = 0;
  else
    g.C = int(g.A + g.S / 2 + RoundQuotient((track - g.S) * (std::int64_t(m.Position) - m.Min), range));
  return g;
}

TsScrollPart PartAt(const ScrollBarGeometry& g, int p) {
  if (p < g.FirstEnd) return spFirstButton;
  if (p >= g.SecondStart) return spSecondButton;
  if (g.SliderFits() && p >= g.SliderStart() && p < g.SliderEnd()) return spSlider;
  return p < g.C ? spTrackBefore : spTrackAfter;
}

int PositionAt(const ScrollBarGeometry& g, const ScrollModel& m, int p) {
  // round((p - A - S / 2) x (Max - Min) / (L - 2A - S)) with S / 2 kept exact.
  const std::int64_t den = 2 * (std::int64_t(g.L) - 2 * g.A - g.S);
  if (den <= 0) return m.Min;
  const std::int64_t num = (2 * std::int64_t(p) - 2 * g.A - g.S) * (std::int64_t(m.Max) - m.Min);
  const std::int64_t pos = m.Min + RoundQuotient(num, den);
  return int(std::clamp<std::int64_t>(pos, INT32_MIN, INT32_MAX));
}

}  // namespace kestu
