// Painting a control tree into a surface.
#include "ui/compositor.h"

namespace sl::ui {

namespace {
void PaintChildren(Control& container, draw::Surface& target, draw::Point clientOrigin,
                   draw::Rect clip) {
  draw::Size client = container.ClientSize();
  clip = clip.Intersect({clientOrigin.x, clientOrigin.y, client.width, client.height});
  if (clip.Empty()) return;
  for (Control* child : container.Children()) {
    if (!child->Visible() || !child->IsWindowed()) continue;
    draw::Rect b = child->PixelBounds();
    draw::Rect at{clientOrigin.x + b.x, clientOrigin.y + b.y, b.width, b.height};
    draw::Rect childClip = clip.Intersect(at);
    if (childClip.Empty()) continue;
    {
      draw::ClipScope scope(target, childClip);
      child->Paint(target, {at.x, at.y});
    }
    if (child->IsContainer() && !child->Children().empty()) {
      draw::Point o = child->ClientOrigin();
      PaintChildren(*child, target, {at.x + o.x, at.y + o.y}, childClip);
    }
  }
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
