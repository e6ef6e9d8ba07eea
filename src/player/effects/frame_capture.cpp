// Composing the still image of the current frame.
#include "player/effects/frame_capture.h"

#include "player/engine/game.h"
#include "ui/compositor.h"
#include "ui/control_array.h"
#include "ui/controls/image.h"
#include "ui/controls/picture_box.h"
#include "ui/form.h"

namespace sl {

namespace {

// Draws controls of the frame picture box into a still of its client area.
class StillCanvas {
 public:
  explicit StillCanvas(ui::PictureBox& box) : box_(box) {
    draw::Size s = box.ClientSize();
    surface_ = draw::Surface(s.width, s.height, draw::kBlack);
    draw::Rect b = box.FormPixelBounds();
    draw::Point o = box.ClientOrigin();
    origin_ = {b.x + o.x, b.y + o.y};
  }

  // The box's own colour, picture and drawing, without its border or what it contains.
  void PaintBackground() {
    draw::Point o = box_.ClientOrigin();
    box_.Paint(surface_, {-o.x, -o.y});
  }

  // A control with what it contains, where it lies on the frame.
  void PaintControl(ui::Control& control) {
    ui::PaintControlTree(control, surface_, Place(control), surface_.Bounds());
  }

  void PaintImage(const draw::Surface& image, ui::Control& at) {
    draw::Point p = Place(at);
    surface_.Blit(image, p.x, p.y);
  }

  draw::Surface Take() { return std::move(surface_); }

 private:
  draw::Point Place(const ui::Control& control) const {
    draw::Rect r = control.FormPixelBounds();
    return {r.x - origin_.x, r.y - origin_.y};
  }

  ui::PictureBox& box_;
  draw::Surface surface_;
  draw::Point origin_;
};

template <class F>
void ForEachElement(ui::Form& form, const char* array, F&& visit) {
  ui::ControlArray* a = form.FindArray(array);
  if (!a) return;
  for (const auto& [index, control] : a->Elements()) {
    if (index >= 1) visit(index, *control);
  }
}

}  // namespace

draw::Surface CaptureCurrentFrame(Game& game, const FirstImageLookup& firstImage) {
  ui::Form& form = game.Form();
  StillCanvas still(game.PictureBox());
  still.PaintBackground();
  // Hidden text boxes stay out of the still: only what the frame shows is frozen.
  ForEachElement(form, "Text", [&](int, ui::Control& text) {
    if (text.Visible()) still.PaintControl(text);
  });
  ForEachElement(form, "Area", [&](int, ui::Control& area) {
    auto* image = dynamic_cast<ui::Image*>(&area);
    if (image && area.Visible() && !image->Picture().IsNone()) still.PaintControl(area);
  });
  ForEachElement(form, "AniGifBox", [&](int index, ui::Control& box) {
    if (!box.Visible()) return;
    if (const draw::Surface* first = firstImage ? firstImage(index) : nullptr)
      still.PaintImage(*first, box);
  });
  if (ui::Control* water = form.FindControl("PicRipplingWater"); water && water->Visible())
    still.PaintControl(*water);
  return still.Take();
}

}  // namespace sl
