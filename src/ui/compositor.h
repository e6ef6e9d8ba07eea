// The compositor: flattens a form (its client area, every visible control in z-order, each
// clipped to its container) into one surface. Controls draw themselves; the compositor places
// and clips them.
#pragma once

#include "ui/control.h"
#include "ui/draw/surface.h"

namespace sl::ui {

// Draws `root` with its client area's top-left corner at `origin` of `target`, then its
// visible children back to front, recursively. Only the part inside `clip` is touched.
void PaintControlTree(Control& root, draw::Surface& target, draw::Point origin, draw::Rect clip);

}  // namespace sl::ui
