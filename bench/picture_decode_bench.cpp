// Picture decoding: a 640 x 480 PNG and a small GIF whole, the header checks alone on a GIF
// of 500 frames (what every GIF pays before it is decoded), that GIF decoded whole and played
// through, and metafiles (decoded in a child process) at their own size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "../tests/ui/draw/picture_files.h"
#include "ui/draw/gif_animation.h"
#include "ui/draw/picture.h"
#include "ui/draw/picture_decoders.h"
#include "ui/draw/png_io.h"

namespace sl::draw {
namespace {

using test::Bytes;

// A GIF of `frames` 16 x 16 frames of a square moving across the picture.
Bytes FramesGif(int frames) {
  std::vector<test::GifImageSpec> images;
  for (int f = 0; f < frames; ++f) {
    test::GifImageSpec image;
    image.width = image.height = 16;
    image.indices.assign(256, 0);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x)
        image.indices[static_cast<std::size_t>((y + f % 12) * 16 + x + f % 12)] = 1 + f % 3;
    image.delayCs = 10;
    image.disposal = f % 4;
    images.push_back(std::move(image));
  }
  return test::MakeAnimatedGif(16, 16, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, images, 0);
}

void BM_DecodePng640x480(benchmark::State& state) {
  Surface s(640, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      s.SetPixel(x, y, OpaquePixel(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7));
  Bytes png = EncodePng(s);
  for (auto _ : state)
    benchmark::DoNotOptimize(DecodePicture(png));
}
BENCHMARK(BM_DecodePng640x480)->Unit(benchmark::kMillisecond);

void BM_DecodeGifSmall(benchmark::State& state) {
  Bytes gif = FramesGif(1);
  for (auto _ : state)
    benchmark::DoNotOptimize(DecodePicture(gif));
}
BENCHMARK(BM_DecodeGifSmall);

void BM_GifHeaderChecks500Frames(benchmark::State& state) {
  Bytes gif = FramesGif(500);
  for (auto _ : state)
    benchmark::DoNotOptimize(detail::GifHeadersAcceptable(gif));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(gif.size()));
}
BENCHMARK(BM_GifHeaderChecks500Frames);

void BM_DecodeGif500Frames(benchmark::State& state) {
  Bytes gif = FramesGif(500);
  for (auto _ : state)
    benchmark::DoNotOptimize(DecodePicture(gif));
}
BENCHMARK(BM_DecodeGif500Frames)->Unit(benchmark::kMillisecond);

void BM_PlayGif500Frames(benchmark::State& state) {
  auto animation = std::make_shared<GifAnimation>(DecodeGifAnimation(FramesGif(500)));
  GifAnimationCanvas canvas(animation);
  for (auto _ : state) {
    canvas.Advance();
    benchmark::DoNotOptimize(canvas.Image());
  }
}
BENCHMARK(BM_PlayGif500Frames);

// A metafile of 400 x 200 pixels: what each use costs before the picture cache keeps it.
void BM_DecodeWmf(benchmark::State& state) {
  Bytes wmf = test::MakeWmf(4167, 2083, 0xFF);
  for (auto _ : state)
    benchmark::DoNotOptimize(DecodePicture(wmf));
}
BENCHMARK(BM_DecodeWmf)->Unit(benchmark::kMillisecond);

void BM_DecodeEmf(benchmark::State& state) {
  Bytes emf = test::MakeEmf(400, 200, 0xFF);
  for (auto _ : state)
    benchmark::DoNotOptimize(DecodePicture(emf));
}
BENCHMARK(BM_DecodeEmf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sl::draw
