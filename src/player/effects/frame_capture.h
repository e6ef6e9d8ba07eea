// CaptureCurrentFrame: a still image of the frame as the game window shows it, composed from
// the live controls in a fixed order (later ones cover earlier ones): the background (the frame
// picture box's colour, picture and drawing), the text boxes, the still hotspot pictures, the
// first images of the animated pictures, the rippling water. Menus, the message band and the
// inventory bar are not part of it. Nothing that the controls hold is changed.
#pragma once

#include <functional>

#include "ui/draw/surface.h"

namespace sl {

class Game;

// The first image of animated picture `index`, or null when it has none.
using FirstImageLookup = std::function<const draw::Surface*(int index)>;

// A still of the frame picture box's client size, opaque.
draw::Surface CaptureCurrentFrame(Game& game, const FirstImageLookup& firstImage);

}  // namespace sl
