// The rippling water itself: a region of the frame picture as seen through waves that travel
// across it, redrawn for each phase, inside the shape the mask gives. The waves are horizontal
// bands, four over the region's height, closer together and flatter towards the top as distant
// water looks; each row of the water shows a row of the picture shifted up or down by the wave
// (blended between two rows, so the motion is smooth) and a little sideways. Outside the mask
// the picture stays as it was.
//
// API:
//   WaterSurface water;
//   water.Prepare(region, maskImage);       // once, when the effect loads
//   water.Render(phase, waveParameter);     // each tick
//   target.Blit(water.Image(), x, y);
#pragma once

#include <vector>

#include "ui/draw/surface.h"

namespace sl {

class WaterSurface {
 public:
  // Wave crests over the region's height.
  static constexpr int kWaveCount = 4;
  // The largest displacement, in pixels, that a wave parameter can ask for.
  static constexpr int kMaxAmplitude = 64;

  // `original` is the untouched region. A mask pixel is water where it is dark (less than half
  // bright), as the mask pictures are drawn: black water on white. Where the mask picture does
  // not reach (it is smaller than the region) there is no water.
  void Prepare(draw::Surface original, const draw::Surface& mask);
  // Redraws the water for `phase` (radians). The wave parameter is the waves' height in pixels
  // near the bottom of the region (limited to a quarter of the region's height); 0 stills them.
  void Render(double phase, int waveParameter);

  const draw::Surface& Image() const { return image_; }
  bool Empty() const { return image_.Empty(); }
  // Whether pixel (x, y) of the region is water.
  bool IsWater(int x, int y) const;

 private:
  // A run of water pixels on one row: x0 <= x < x1.
  struct Span {
    int y;
    int x0;
    int x1;
  };

  draw::Surface original_;
  draw::Surface image_;
  std::vector<Span> spans_;
};

}  // namespace sl
