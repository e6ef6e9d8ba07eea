// Wiring of the visual effects to the game window.
#include "player/effects/effects.h"

namespace sl {

Effects::Effects(Project& project, ui::WindowManager& windows, draw::PictureCache& pictures)
    : transitions_(project, windows), water_(project, windows, pictures) {}

void Effects::Attach(Game& game) {
  transitions_.Attach(game, [](int) -> const draw::Surface* { return nullptr; });
  water_.Attach(game);
}

}  // namespace sl
