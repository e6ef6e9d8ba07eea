// The wave model and the masked redraw of the rippling water.
#include "player/effects/water_surface.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ui/draw/blend.h"

namespace sl {

namespace {

bool DarkPixel(draw::Pixel p) {
  draw::Rgba c = draw::ToRgba(p);
  if (c.a < 128) return false;  // a transparent mask pixel marks no water
  // Rec. 601 weights, in integers.
  return (c.r * 299 + c.g * 587 + c.b * 114) < 128 * 1000;
}

}  // namespace

void WaterSurface::Prepare(draw::Surface original, const draw::Surface& mask) {
  original_ = std::move(original);
  image_ = original_;
  spans_.clear();
  int w = std::min(original_.Width(), mask.Width());
  int h = std::min(original_.Height(), mask.Height());
  for (int y = 0; y < h; ++y) {
    const draw::Pixel* row = mask.Row(y);
    int x = 0;
    while (x < w) {
      while (x < w && !DarkPixel(row[x]))
        ++x;
      int start = x;
      while (x < w && DarkPixel(row[x]))
        ++x;
      if (x > start) spans_.push_back({y, start, x});
    }
  }
}

bool WaterSurface::IsWater(int x, int y) const {
  return std::any_of(spans_.begin(), spans_.end(),
                     [&](const Span& s) { return s.y == y && x >= s.x0 && x < s.x1; });
}

void WaterSurface::Render(double phase, int waveParameter) {
  const int w = original_.Width();
  const int h = original_.Height();
  if (w <= 0 || h <= 0 || spans_.empty()) return;
  const double amplitude =
      std::min({std::abs(waveParameter), kMaxAmplitude, std::max(h / 4, 1)}) * 1.0;
  const double turn = 2 * std::numbers::pi;
  // A phase kept small keeps the sines exact however long the effect runs.
  phase = std::fmod(phase, turn);
  int lastRow = -1;
  double shiftY = 0;
  int shiftX = 0;
  for (const Span& s : spans_) {
    if (s.y != lastRow) {
      lastRow = s.y;
      double depth = (s.y + 0.5) / h;  // 0 at the far edge (top), 1 at the near edge
      double theta = turn * kWaveCount * std::sqrt(depth) - phase;
      double height = amplitude * (0.35 + 0.65 * depth);
      shiftY = height * std::sin(theta);
      shiftX = static_cast<int>(std::lround(0.5 * height * std::cos(theta)));
    }
    double sourceY = std::clamp(s.y + shiftY, 0.0, static_cast<double>(h - 1));
    int y0 = static_cast<int>(sourceY);
    int y1 = std::min(y0 + 1, h - 1);
    auto lower = static_cast<std::uint32_t>(std::lround((sourceY - y0) * 255));
    const draw::Pixel* a = original_.Row(y0);
    const draw::Pixel* b = original_.Row(y1);
    draw::Pixel* d = image_.MutableRow(s.y);
    for (int x = s.x0; x < s.x1; ++x) {
      int sx = std::clamp(x + shiftX, 0, w - 1);
      d[x] = draw::detail::ScalePixel(a[sx], 255 - lower) + draw::detail::ScalePixel(b[sx], lower);
    }
  }
}

}  // namespace sl
