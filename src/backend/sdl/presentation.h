// Presentation arithmetic of the desktop: where a window's frame goes inside its real window or
// monitor (aspect kept, whole-number factors where they fit, letterboxed), how pointer positions
// map back to frame pixels, and how the virtual display maps onto the real desktop. Pure
// functions, so they are tested without a display.
#pragma once

#include "ui/platform.h"
#include "ui/scale_mode.h"

namespace sl::sdl {

struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Where a frame is drawn inside a target: `scale` target pixels per frame pixel, `dest` the
// rectangle it covers, centred (the rest is the letterbox).
struct Placement {
  double scale = 1;
  PixelRect dest;
};

// A whole-number factor is taken when its picture is at least this share of the exact fit;
// otherwise the exact fit (uneven pixel widths) beats a small picture in wide black borders.
constexpr double kIntegerShare = 0.8;

// Fits `frame` into `target` with the aspect ratio kept: in `Auto` mode a whole-number factor
// when it is at least kIntegerShare of the exact fit, in `PixelPerfect` mode the largest whole
// factor that fits (the exact fit only below 1), in `Smooth` mode the exact fit.
Placement FitFrame(ui::Size frame, ui::Size target, ui::ScaleMode mode = ui::ScaleMode::Auto);
// Whether a placement is drawn with linear filtering: smooth scaling at a fractional factor.
bool Filtered(const Placement& placement, ui::ScaleMode mode);
// Where a frame pixel's centre lies in the target's coordinates.
PixelPoint FrameToTarget(PixelPoint framePixel, const Placement& placement);

// Maps a pointer position in window coordinates (what the window system reports) to frame
// pixels. `windowSize` and `drawableSize` differ on high-density displays, where one window
// coordinate covers several drawable pixels. Positions in the letterbox map outside the frame.
PixelPoint WindowToFrame(PixelPoint windowPoint, ui::Size windowSize, ui::Size drawableSize,
                         const Placement& placement);

// The virtual display laid onto the real desktop: real = origin + virtual * scale. The scale is
// the largest whole number at which the virtual display fits (at least 1), or the exact fit
// below 1 when the real desktop is the smaller; the virtual display is centred.
struct DesktopMapping {
  double scale = 1;
  int originX = 0;
  int originY = 0;
  PixelRect ToReal(int left, int top, int width, int height) const;
  PixelPoint ToVirtual(int realX, int realY) const;
};
DesktopMapping MapDisplay(ui::Size virtualDisplay, PixelRect realBounds);

// True when a window spec asks to cover the whole virtual display without a frame: such a
// window is shown full screen.
bool CoversDisplay(const ui::WindowSpec& spec, ui::Size virtualDisplay);

}  // namespace sl::sdl
