// The pictures of a transition's passes: the cross-fade of two still images at one constant
// opacity and the four slides, drawn straight into the frame being composed. Pure drawing, no
// state: the caller says where the animation stands.
#pragma once

#include <cstdint>
#include <optional>

#include "ui/draw/geometry.h"
#include "ui/draw/surface.h"

namespace sl {

enum class TransitionKind {
  kCrossFade,   // numbers 0 and 1, "Alphablending"
  kSlideLeft,   // 2: the pictures move right, the new one comes in from the left
  kSlideRight,  // 3: the pictures move left, the new one comes in from the right
  kSlideUp,     // 4: the pictures move down, the new one comes in from above
  kSlideDown,   // 5: the pictures move up, the new one comes in from below
};

// The highest transition number; 0 is a second name for the cross-fade.
constexpr int kTransitionCount = 5;

// The kind a transition number names, or nothing for numbers outside 0..5.
std::optional<TransitionKind> TransitionKindOf(int number);

// The opacity of the new picture at `progress` (0..1, clamped): 255 x progress rounded to the
// nearest whole number, ties to even, so the last pass (progress 1) is fully opaque.
std::uint8_t CrossFadeAlpha(double progress);

// Where the two pictures of a slide lie, relative to the covered area's top-left corner.
struct SlidePlaces {
  draw::Point oldAt;
  draw::Point newAt;
};
SlidePlaces SlideGeometry(TransitionKind kind, double progress, draw::Size size);

// One pass of the animation: `oldFrame` and `newFrame` (stills of the covered area's size)
// drawn into `target` with the covered area's top-left corner at `at`, within the target's clip.
void PaintTransitionPass(draw::Surface& target, draw::Point at, const draw::Surface& oldFrame,
                         const draw::Surface& newFrame, TransitionKind kind, double progress);

// The cross-fade alone: every pixel becomes old x (255 - alpha) / 255 + new x alpha / 255.
void PaintCrossFade(draw::Surface& target, draw::Point at, const draw::Surface& oldFrame,
                    const draw::Surface& newFrame, std::uint8_t alpha);

}  // namespace sl
