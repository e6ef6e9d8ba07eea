// Painting a control tree into a surface.
#include "ui/compositor.h"

#include <algorithm>

namespace sl::ui {

namespace {
// The child windows of `container` that lie just beneath child `index`.
void PaintChildWindows(Control& container, std::size_t index, draw::Surface& target,
                       draw::Point clientOrigin, draw::Rect clip) {
  for (const HostedWindow& h : container.ChildWindows()) {
    if (std::min(h.below, container.Children().size()) != index) continue;
    draw::Rect b = h.window->Bounds();
    draw::Rect at{clientOrigin.x + b.x, clientOrigin.y + b.y, b.width, b.height};
    draw::Rect windowClip = clip.Intersect(at);
    if (windowClip.Empty()) continue;
    draw::ClipScope scope(target, windowClip);
    h.window->Paint(target, {at.x, at.y});
  }
}

void PaintChildren(Control& container, draw::Surface& target, draw::Point clientOrigin,
                   draw::Rect clip) {
  draw::Size client = container.ClientSize();
  clip = clip.Intersect({clientOrigin.x, clientOrigin.y, client.width, client.height});
  if (clip.Empty()) return;
  const auto& children = container.Children();
  bool windows = !container.ChildWindows().empty();
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (windows) PaintChildWindows(container, i, target, clientOrigin, clip);
    Control* child = children[i];
    if (!child->Visible() || !child->IsWindowed()) continue;
    draw::Rect b = child->PixelBounds();
    draw::Rect at{clientOrigin.x + b.x, clientOrigin.y + b.y, b.width, b.height};
    draw::Rect childClip = clip.Intersect(at);
    if (childClip.Empty()) continue;
    {
      draw::ClipScope scope(target, childClip);
      child->Paint(target, {at.x, at.y});
    }
    if (child->IsContainer() && (!child->Children().empty() || !child->ChildWindows().empty())) {
      draw::Point o = child->ClientOrigin();
      PaintChildren(*child, target, {at.x + o.x, at.y + o.y}, childClip);
    }
  }
  if (windows) PaintChildWindows(container, children.size(), target, clientOrigin, clip);
}
}  // namespace

void PaintControlTree(Control& root, draw::Surface& target, draw::Point origin, draw::Rect clip) {
  {
    draw::ClipScope scope(target, clip);
    root.Paint(target, origin);
  }
  draw::Point o = root.ClientOrigin();
  PaintChildren(root, target, {origin.x + o.x, origin.y + o.y}, clip);
}

}  // namespace sl::ui
