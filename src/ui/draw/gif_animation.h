// Animated GIF pictures: every image of a GIF file with its place, delay, transparency and
// disposal, decoded with giflib, and a canvas that plays them in order.
//
// API:
//   GifAnimation animation = DecodeGifAnimation(bytes);   // RuntimeError 481 when the file
//                                                         // is not a GIF or its first image
//                                                         // is broken
//   animation.canvas            // size of the picture (the GIF's logical screen)
//   animation.frames[i].image   // the i-th image at its own size; transparent pixels where
//                               // the file's transparent colour index is
//   animation.frames[i].offset  // where that image goes on the canvas
//   animation.frames[i].delayMs // how long the picture shows after this image is drawn, as
//                               // the file gives it (0 when the file gives none)
//   animation.frames[i].disposal // what happens to its area before the next image is drawn
//   animation.loopCount         // the looping extension's count: none when the file has
//                               // none (play once), 0 = repeat without end, n = n repeats
//
//   GifAnimationCanvas canvas(animationPointer);  // shows frame 0 on a transparent canvas
//   canvas.Image();      // the picture as it shows now (canvas-sized, premultiplied)
//   canvas.FrameIndex(); // the frame drawn last
//   canvas.Advance();    // disposes of the current frame and draws the next; after the
//                        // last frame it starts again from frame 0 on a cleared canvas
//   canvas.Restart();    // back to frame 0
//
// A Picture decoded from a GIF of several images holds its animation (Picture::Animation());
// its still image is frame 0 on the canvas. Damage after the first image ends the animation
// there: the images decoded before it are kept. Every image is decoded before it is kept, so
// memory grows only with data the file really holds.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "ui/draw/geometry.h"
#include "ui/draw/surface.h"

namespace sl::draw {

enum class GifDisposal : std::uint8_t {
  kKeep,        // the image stays and the next one is drawn over it (also "unspecified")
  kBackground,  // its area is cleared to transparent
  kPrevious,    // its area goes back to what it showed before the image was drawn
};

struct GifFrame {
  Surface image;
  Point offset;
  int delayMs = 0;
  GifDisposal disposal = GifDisposal::kKeep;
};

struct GifAnimation {
  Size canvas;
  std::vector<GifFrame> frames;
  std::optional<int> loopCount;
};

// The most images kept of one file; later images are left out.
constexpr std::size_t kMaxGifFrames = 10000;

GifAnimation DecodeGifAnimation(std::span<const std::uint8_t> bytes);

class GifAnimationCanvas {
 public:
  explicit GifAnimationCanvas(std::shared_ptr<const GifAnimation> animation);

  const Surface& Image() const { return canvas_; }
  std::size_t FrameIndex() const { return index_; }
  const GifAnimation& Animation() const { return *animation_; }

  void Advance();
  void Restart();

 private:
  void DrawCurrent();

  std::shared_ptr<const GifAnimation> animation_;
  Surface canvas_;
  // What the current frame's area showed before it was drawn, when its disposal restores it.
  Surface beforeCurrent_;
  Point beforeCurrentAt_;
  std::size_t index_ = 0;
};

}  // namespace sl::draw
