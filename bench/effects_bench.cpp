// Visual effects: one pass of the cross-fade and one of a slide over a 1024 x 768 frame, one
// pass of rippling water over a 320 x 240 region (three quarters of it water).
#include <benchmark/benchmark.h>

#include "player/effects/transition_painter.h"
#include "player/effects/water_surface.h"

namespace {

sl::draw::Surface Picture(int w, int h, int seed) {
  sl::draw::Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    sl::draw::Pixel* row = s.MutableRow(y);
    for (int x = 0; x < w; ++x) {
      row[x] = sl::draw::OpaquePixel(static_cast<std::uint8_t>(x * 7 + seed),
                                     static_cast<std::uint8_t>(y * 3 + seed),
                                     static_cast<std::uint8_t>((x ^ y) + seed));
    }
  }
  s.UpdateOpacity();
  return s;
}

// Passes of one kind over a 1024 x 768 frame, the progress moving on a little each time.
void PassesOf(benchmark::State& state, sl::TransitionKind kind) {
  sl::draw::Surface oldFrame = Picture(1024, 768, 0);
  sl::draw::Surface newFrame = Picture(1024, 768, 90);
  sl::draw::Surface target(1024, 768, sl::draw::kBlack);
  double progress = 0;
  for (auto _ : state) {
    sl::PaintTransitionPass(target, {0, 0}, oldFrame, newFrame, kind, progress);
    progress = progress >= 1 ? 0 : progress + 0.01;
    benchmark::DoNotOptimize(target.Row(0));
  }
}

void BM_CrossFadePass1024x768(benchmark::State& state) {
  PassesOf(state, sl::TransitionKind::kCrossFade);
}
BENCHMARK(BM_CrossFadePass1024x768)->Unit(benchmark::kMillisecond);

void BM_SlidePass1024x768(benchmark::State& state) {
  PassesOf(state, sl::TransitionKind::kSlideLeft);
}
BENCHMARK(BM_SlidePass1024x768)->Unit(benchmark::kMillisecond);

void BM_RipplingWaterPass320x240(benchmark::State& state) {
  sl::draw::Surface mask(320, 240, sl::draw::kBlack);
  mask.FillRect({0, 0, 320, 60}, sl::draw::kWhite);
  sl::WaterSurface water;
  water.Prepare(Picture(320, 240, 40), mask);
  double phase = 0;
  for (auto _ : state) {
    water.Render(phase, 6);
    phase += 0.05;
    benchmark::DoNotOptimize(water.Image().Row(0));
  }
}
BENCHMARK(BM_RipplingWaterPass320x240)->Unit(benchmark::kMillisecond);

}  // namespace
