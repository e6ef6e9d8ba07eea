// Picture decoding: a 640 x 480 PNG and a small GIF whole, and the header checks alone on a GIF
// of 500 frames (what every GIF pays before it is decoded).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "ui/draw/picture.h"
#include "ui/draw/picture_decoders.h"
#include "ui/draw/png_io.h"

namespace sl::draw {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

// A GIF of `frames` 16 x 16 frames, each a few bytes of image data.
Bytes FramesGif(int frames) {
  Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(b, 16);
  Put16(b, 16);
  b.insert(b.end(), {0xF1, 0, 0});
  for (int i = 0; i < 12; ++i)
    b.push_back(static_cast<std::uint8_t>(i * 20));
  for (int f = 0; f < frames; ++f) {
    b.insert(b.end(), {0x21, 0xF9, 4, 0, 10, 0, 0, 0});
    b.push_back(0x2C);
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, 16);
    Put16(b, 16);
    b.insert(b.end(), {0, 2, 2, 0x4C, 0x01, 0});
  }
  b.push_back(0x3B);
  return b;
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

}  // namespace
}  // namespace sl::draw
