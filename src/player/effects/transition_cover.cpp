// Drawing the cover of a transition.
#include "player/effects/transition_cover.h"

namespace sl {

void TransitionCover::PaintOverlay(draw::Surface& target, draw::Point at, draw::Size /*client*/) {
  switch (showing_) {
    case Showing::kNothing:
      return;
    case Showing::kOldFrame:
      target.Blit(old_, at.x, at.y, {draw::BlendMode::kCopy});
      return;
    case Showing::kAnimation:
      PaintTransitionPass(target, at, old_, new_, kind_, progress_);
      return;
  }
}

}  // namespace sl
