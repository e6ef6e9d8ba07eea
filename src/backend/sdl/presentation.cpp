// Presentation arithmetic: fitting frames, mapping the pointer back, laying out the desktop.
#include "backend/sdl/presentation.h"

#include <algorithm>
#include <cmath>

namespace sl::sdl {

namespace {

int Round(double v) {
  return static_cast<int>(std::lround(v));
}

}  // namespace

Placement FitFrame(ui::Size frame, ui::Size target, ui::ScaleMode mode) {
  Placement p;
  if (frame.width <= 0 || frame.height <= 0 || target.width <= 0 || target.height <= 0) {
    p.dest = {0, 0, std::max(target.width, 0), std::max(target.height, 0)};
    return p;
  }
  double fit = std::min(static_cast<double>(target.width) / frame.width,
                        static_cast<double>(target.height) / frame.height);
  // The small tolerance keeps an exact multiple (2.0 computed as 1.9999...) whole.
  double whole = std::floor(fit + 1e-9);
  switch (mode) {
    case ui::ScaleMode::Auto:
      p.scale = (whole >= 1 && whole / fit >= kIntegerShare) ? whole : fit;
      break;
    case ui::ScaleMode::PixelPerfect:
      p.scale = whole >= 1 ? whole : fit;
      break;
    case ui::ScaleMode::Smooth:
      p.scale = fit;
      break;
  }
  int w = std::min(target.width, std::max(1, Round(frame.width * p.scale)));
  int h = std::min(target.height, std::max(1, Round(frame.height * p.scale)));
  p.dest = {(target.width - w) / 2, (target.height - h) / 2, w, h};
  return p;
}

bool Filtered(const Placement& placement, ui::ScaleMode mode) {
  return mode == ui::ScaleMode::Smooth &&
         std::abs(placement.scale - std::round(placement.scale)) > 1e-9;
}

PixelPoint FrameToTarget(PixelPoint framePixel, const Placement& placement) {
  return {placement.dest.x + static_cast<int>(std::floor((framePixel.x + 0.5) * placement.scale)),
          placement.dest.y + static_cast<int>(std::floor((framePixel.y + 0.5) * placement.scale))};
}

PixelPoint WindowToFrame(PixelPoint windowPoint, ui::Size windowSize, ui::Size drawableSize,
                         const Placement& placement) {
  double sx = windowSize.width > 0 ? static_cast<double>(drawableSize.width) / windowSize.width : 1;
  double sy =
      windowSize.height > 0 ? static_cast<double>(drawableSize.height) / windowSize.height : 1;
  // The centre of the window coordinate's area, in drawable pixels, then in frame pixels.
  double dx = (windowPoint.x + 0.5) * sx - placement.dest.x;
  double dy = (windowPoint.y + 0.5) * sy - placement.dest.y;
  double scale = placement.scale > 0 ? placement.scale : 1;
  return {static_cast<int>(std::floor(dx / scale)), static_cast<int>(std::floor(dy / scale))};
}

PixelRect DesktopMapping::ToReal(int left, int top, int width, int height) const {
  return {originX + Round(left * scale), originY + Round(top * scale),
          std::max(1, Round(width * scale)), std::max(1, Round(height * scale))};
}

PixelPoint DesktopMapping::ToVirtual(int realX, int realY) const {
  return {static_cast<int>(std::floor((realX - originX) / scale)),
          static_cast<int>(std::floor((realY - originY) / scale))};
}

DesktopMapping MapDisplay(ui::Size virtualDisplay, PixelRect realBounds) {
  DesktopMapping m;
  if (virtualDisplay.width <= 0 || virtualDisplay.height <= 0 || realBounds.w <= 0 ||
      realBounds.h <= 0) {
    m.originX = realBounds.x;
    m.originY = realBounds.y;
    return m;
  }
  double fit = std::min(static_cast<double>(realBounds.w) / virtualDisplay.width,
                        static_cast<double>(realBounds.h) / virtualDisplay.height);
  m.scale = fit >= 1 ? std::floor(fit + 1e-9) : fit;
  m.originX = realBounds.x + (realBounds.w - Round(virtualDisplay.width * m.scale)) / 2;
  m.originY = realBounds.y + (realBounds.h - Round(virtualDisplay.height * m.scale)) / 2;
  return m;
}

bool CoversDisplay(const ui::WindowSpec& spec, ui::Size virtualDisplay) {
  return spec.frame == ui::WindowFrame::None && spec.left <= 0 && spec.top <= 0 &&
         spec.left + spec.width >= virtualDisplay.width &&
         spec.top + spec.height >= virtualDisplay.height;
}

}  // namespace sl::sdl
