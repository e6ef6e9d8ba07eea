// ChildWindow: a window inside a control whose picture another part of the program draws, as a
// playing video is. It sits in its host's z-order as a windowed child does: above the host's
// children that were there when it came, below those brought to the front (or created) later.
// It takes no input: a click on it goes to whatever lies beneath.
#pragma once

#include "ui/draw/geometry.h"
#include "ui/draw/surface.h"

namespace sl::ui {

class ChildWindow {
 public:
  virtual ~ChildWindow() = default;
  // Where the window lies in its host's client area, in pixels.
  virtual draw::Rect Bounds() const = 0;
  // Draws the window with its top-left corner at `origin`; the clip is the part that shows.
  virtual void Paint(draw::Surface& target, draw::Point origin) = 0;
  // Whether the picture last painted is out of date (a video has moved on): the form is then
  // redrawn at its next repaint.
  virtual bool NeedsRepaint() { return false; }
};

// A child window in its host: the first `below` children of the host lie beneath it.
struct HostedWindow {
  ChildWindow* window = nullptr;
  std::size_t below = 0;
};

}  // namespace sl::ui
