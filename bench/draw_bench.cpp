// Drawing-layer throughput: blits, the stretched background, text, and a whole form composite
// of the size the player draws (1024 x 768, stretched background, 100 pictures, 50 labels).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "ui/draw/font.h"
#include "ui/draw/surface.h"
#include "ui/draw/text_layout.h"

namespace sl::draw {
namespace {

Surface Pattern(int w, int h, bool holes) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    Pixel* row = s.MutableRow(y);
    for (int x = 0; x < w; ++x) {
      bool hole = holes && ((x / 8 + y / 8) % 3 == 0);
      row[x] = hole ? kTransparent
                    : OpaquePixel(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                  static_cast<std::uint8_t>(x ^ y));
    }
  }
  s.UpdateOpacity();
  return s;
}

void BM_BlitOpaque256(benchmark::State& state) {
  Surface target(1024, 768, kBlack), src = Pattern(256, 256, false);
  for (auto _ : state) {
    target.Blit(src, 100, 100);
    benchmark::DoNotOptimize(target.Row(100));
  }
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_BlitOpaque256);

void BM_BlitTransparent256(benchmark::State& state) {
  Surface target(1024, 768, kBlack), src = Pattern(256, 256, true);
  for (auto _ : state) {
    target.Blit(src, 100, 100);
    benchmark::DoNotOptimize(target.Row(100));
  }
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_BlitTransparent256);

void BM_StretchBackground(benchmark::State& state) {
  Surface target(1024, 768), src = Pattern(640, 480, false);
  for (auto _ : state) {
    target.StretchBlit(src, src.Bounds(), target.Bounds());
    benchmark::DoNotOptimize(target.Row(0));
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 768);
}
BENCHMARK(BM_StretchBackground);

void BM_TextCachedLine(benchmark::State& state) {
  FontSystem fonts;
  Font font = fonts.Get({"Arial", 10});
  Surface target(400, 40, kWhite);
  for (auto _ : state) {
    font.DrawText(target, 2, 2, "The quick brown fox jumps over the lazy dog", kBlack);
    benchmark::DoNotOptimize(target.Row(2));
  }
}
BENCHMARK(BM_TextCachedLine);

void BM_TextNewLines(benchmark::State& state) {
  FontSystem fonts;
  Font font = fonts.Get({"Arial", 10});
  Surface target(400, 40, kWhite);
  long n = 0;
  for (auto _ : state) {
    font.DrawText(target, 2, 2, "Score: " + std::to_string(n++), kBlack);
    benchmark::DoNotOptimize(target.Row(2));
  }
}
BENCHMARK(BM_TextNewLines);

void BM_LayoutWrappedLabel(benchmark::State& state) {
  FontSystem fonts;
  Font font = fonts.Get({"Arial", 10});
  std::string text =
      "You see a small wooden box on the table. It is locked, and the key is "
      "nowhere to be seen.";
  for (auto _ : state)
    benchmark::DoNotOptimize(LayoutText(font, text, {150}).lines.size());
}
BENCHMARK(BM_LayoutWrappedLabel);

// One frame of a busy game window.
void BM_ComposeForm(benchmark::State& state) {
  FontSystem fonts;
  Font font = fonts.Get({"Arial", 10});
  Surface frame(1024, 768);
  Surface background = Pattern(640, 480, false);
  std::vector<Surface> images;
  for (int i = 0; i < 100; ++i)
    images.push_back(Pattern(48 + i % 5 * 8, 48, i % 3 == 0));
  std::vector<TextLayout> labels;
  for (int i = 0; i < 50; ++i) {
    labels.push_back(LayoutText(font, "Label number " + std::to_string(i) + "\r\nsecond line"));
  }
  for (auto _ : state) {
    frame.StretchBlit(background, background.Bounds(), frame.Bounds());
    for (int i = 0; i < 100; ++i)
      frame.Blit(images[i], (i * 97) % 960, (i * 53) % 700);
    for (int i = 0; i < 50; ++i) {
      Rect box{(i * 131) % 900, (i * 71) % 720, 120, labels[i].height};
      DrawTextLayout(frame, font, labels[i], box, TextAlign::kLeft, kWhite);
    }
    benchmark::DoNotOptimize(frame.Row(0));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeForm);

}  // namespace
}  // namespace sl::draw
