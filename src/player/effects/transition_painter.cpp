// Drawing the passes of the cross-fade and the slides.
#include "player/effects/transition_painter.h"

#include <algorithm>
#include <cmath>

#include <cstddef>

namespace sl {

std::optional<TransitionKind> TransitionKindOf(int number) {
  switch (number) {
    case 0:
    case 1:
      return TransitionKind::kCrossFade;
    case 2:
      return TransitionKind::kSlideLeft;
    case 3:
      return TransitionKind::kSlideRight;
    case 4:
      return TransitionKind::kSlideUp;
    case 5:
      return TransitionKind::kSlideDown;
    default:
      return std::nullopt;
  }
}

std::uint8_t CrossFadeAlpha(double progress) {
  if (!(progress > 0)) return 0;
  if (progress >= 1) return 255;
  // nearbyint rounds ties to even in the default rounding mode.
  return static_cast<std::uint8_t>(std::nearbyint(255 * progress));
}

SlidePlaces SlideGeometry(TransitionKind kind, double progress, draw::Size size) {
  double f = std::clamp(progress, 0.0, 1.0);
  auto px = [](double v) { return static_cast<int>(std::lround(v)); };
  int w = size.width;
  int h = size.height;
  SlidePlaces p;
  switch (kind) {
    case TransitionKind::kSlideLeft:
      p.newAt = {px((f - 1) * w), 0};
      p.oldAt = {p.newAt.x + w, 0};
      break;
    case TransitionKind::kSlideRight:
      p.oldAt = {-px(f * w), 0};
      p.newAt = {p.oldAt.x + w, 0};
      break;
    case TransitionKind::kSlideUp:
      p.newAt = {0, px((f - 1) * h)};
      p.oldAt = {0, p.newAt.y + h};
      break;
    case TransitionKind::kSlideDown:
      p.oldAt = {0, -px(f * h)};
      p.newAt = {0, p.oldAt.y + h};
      break;
    case TransitionKind::kCrossFade:
      break;
  }
  return p;
}

void PaintCrossFade(draw::Surface& target, draw::Point at, const draw::Surface& oldFrame,
                    const draw::Surface& newFrame, std::uint8_t alpha) {
  if (oldFrame.Dimensions() != newFrame.Dimensions()) {
    // Stills of different sizes (the window changed between them): the slow general way.
    target.Blit(oldFrame, at.x, at.y, {draw::BlendMode::kCopy});
    draw::BlitOptions fade;
    fade.opacity = alpha;
    target.Blit(newFrame, at.x, at.y, fade);
    return;
  }
  draw::Rect area = target.Clip().Intersect({at.x, at.y, oldFrame.Width(), oldFrame.Height()});
  if (area.Empty()) return;
  const unsigned a = alpha;
  const unsigned b = 255 - alpha;
  const auto bytes = static_cast<std::size_t>(area.width) * sizeof(draw::Pixel);
  for (int y = area.y; y < area.Bottom(); ++y) {
    // Channel by channel (the bytes of the pixels), which the compiler turns into vector code:
    // (new x alpha + old x (255 - alpha)) / 255, rounded once.
    const auto* __restrict o =
        reinterpret_cast<const std::uint8_t*>(oldFrame.Row(y - at.y) + (area.x - at.x));
    const auto* __restrict n =
        reinterpret_cast<const std::uint8_t*>(newFrame.Row(y - at.y) + (area.x - at.x));
    auto* __restrict d = reinterpret_cast<std::uint8_t*>(target.MutableRow(y) + area.x);
    for (std::size_t i = 0; i < bytes; ++i) {
      unsigned v = n[i] * a + o[i] * b + 128;
      d[i] = static_cast<std::uint8_t>((v + (v >> 8)) >> 8);
    }
  }
}

void PaintTransitionPass(draw::Surface& target, draw::Point at, const draw::Surface& oldFrame,
                         const draw::Surface& newFrame, TransitionKind kind, double progress) {
  if (kind == TransitionKind::kCrossFade) {
    PaintCrossFade(target, at, oldFrame, newFrame, CrossFadeAlpha(progress));
    return;
  }
  draw::Size size = oldFrame.Dimensions();
  SlidePlaces p = SlideGeometry(kind, progress, size);
  draw::ClipScope clip(target, {at.x, at.y, size.width, size.height});
  target.Blit(oldFrame, at.x + p.oldAt.x, at.y + p.oldAt.y, {draw::BlendMode::kCopy});
  target.Blit(newFrame, at.x + p.newAt.x, at.y + p.newAt.y, {draw::BlendMode::kCopy});
}

}  // namespace sl
