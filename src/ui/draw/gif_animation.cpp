// GifAnimationCanvas: draws the images of an animated GIF one after the other, disposing of
// each as the file asks before the next is drawn.
#include "ui/draw/gif_animation.h"

namespace sl::draw {

GifAnimationCanvas::GifAnimationCanvas(std::shared_ptr<const GifAnimation> animation)
    : animation_(std::move(animation)) {
  Restart();
}

void GifAnimationCanvas::Restart() {
  canvas_ = Surface(animation_->canvas.width, animation_->canvas.height);
  beforeCurrent_ = Surface();
  index_ = 0;
  DrawCurrent();
}

void GifAnimationCanvas::Advance() {
  const auto& frames = animation_->frames;
  if (frames.size() <= 1) return;
  if (index_ + 1 == frames.size()) {
    Restart();
    return;
  }
  const GifFrame& done = frames[index_];
  switch (done.disposal) {
    case GifDisposal::kKeep:
      break;
    case GifDisposal::kBackground:
      canvas_.FillRect({done.offset.x, done.offset.y, done.image.Width(), done.image.Height()},
                       kTransparent);
      break;
    case GifDisposal::kPrevious:
      canvas_.Blit(beforeCurrent_, beforeCurrentAt_.x, beforeCurrentAt_.y, {BlendMode::kCopy});
      break;
  }
  ++index_;
  DrawCurrent();
}

void GifAnimationCanvas::DrawCurrent() {
  const auto& frames = animation_->frames;
  if (index_ >= frames.size()) return;
  const GifFrame& frame = frames[index_];
  if (frame.disposal == GifDisposal::kPrevious) {
    Rect area =
        Rect{frame.offset.x, frame.offset.y, frame.image.Width(), frame.image.Height()}.Intersect(
            canvas_.Bounds());
    beforeCurrent_ = canvas_.Crop(area);
    beforeCurrentAt_ = {area.x, area.y};
  }
  canvas_.Blit(frame.image, frame.offset.x, frame.offset.y);
  canvas_.UpdateOpacity();  // so that an opaque picture is drawn by whole rows
}

}  // namespace sl::draw
