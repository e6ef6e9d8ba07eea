// Wiring of the visual effects to the game window.
#include "player/effects/effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace sl {

Effects::Effects(Project& project, ui::WindowManager& windows, draw::PictureCache& pictures)
    : transitions_(project, windows),
      water_(project, windows, pictures),
      animations_(project, pictures) {}

void Effects::Attach(Game& game) {
  transitions_.Attach(game, [this](int index) { return animations_.FirstImage(index); });
  water_.Attach(game);
  animations_.Attach(game);
}

int Effects::AniGifNewWithIndex(int index, const std::string& path, double left, double top,
                                double speed) {
  // The speed is a 16-bit number of the hotspot file.
  double s = std::isfinite(speed) ? std::clamp(std::nearbyint(speed), -32768.0, 32767.0) : 0;
  return animations_.AniGifNewWithIndex(index, path, left, top, static_cast<int>(s));
}

}  // namespace sl
