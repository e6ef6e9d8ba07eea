// OpenFrame of a frame whose 1024x768 JPEG background is already in the picture cache: the
// frame file read, the tear-down and the stretched background drawing.
#include <benchmark/benchmark.h>

#include "../tests/ui/fake_platform.h"
#include "core/recording_message_box.h"
#include "player/player.h"

namespace {

void BM_OpenFrameCachedJpeg(benchmark::State& state) {
  sl::ui::test::FakePlatform platform;
  sl::RecordingMessageBoxService boxes;
  sl::Player player(platform, boxes,
                    std::string(STORYLOOM_SOURCE_DIR) + "/tests/projects/bench_jpeg");
  player.Start();  // the title screen is skipped: the frame opens once and fills the cache
  sl::Game& game = *player.GetGame();
  for (auto _ : state) {
    game.OpenFrame("Big");
    benchmark::DoNotOptimize(game.CurrentFrameName);
  }
  if (!boxes.Shown().empty()) state.SkipWithError(boxes.Shown()[0].text.c_str());
}
BENCHMARK(BM_OpenFrameCachedJpeg)->Unit(benchmark::kMillisecond);

}  // namespace
