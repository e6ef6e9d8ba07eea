// Hotspots: OpenFrame of a frame with 300 hotspots (half with cached pictures and variable
// conditions) including the visibility pass, and MakeAction on the last record of a 300-record
// action file.
#include <benchmark/benchmark.h>

#include "../tests/ui/fake_platform.h"
#include "core/recording_message_box.h"
#include "player/player.h"

namespace {

const std::string kProject = std::string(STORYLOOM_SOURCE_DIR) + "/tests/projects/hotspots_bench";

void BM_OpenFrame300Hotspots(benchmark::State& state) {
  sl::ui::test::FakePlatform platform;
  sl::RecordingMessageBoxService boxes;
  sl::Player player(platform, boxes, kProject);
  player.Start();  // opens the frame once and fills the picture cache
  sl::Game& game = *player.GetGame();
  for (auto _ : state) {
    game.OpenFrame("Many");
    benchmark::DoNotOptimize(game.CurrentFrameName);
  }
  if (!boxes.Shown().empty()) state.SkipWithError(boxes.Shown()[0].text.c_str());
}
BENCHMARK(BM_OpenFrame300Hotspots)->Unit(benchmark::kMillisecond);

void BM_MakeActionLastOf300(benchmark::State& state) {
  sl::ui::test::FakePlatform platform;
  sl::RecordingMessageBoxService boxes;
  sl::Player player(platform, boxes, kProject);
  player.Start();
  sl::HotspotSubsystem& hotspots = *player.GetGame()->Subsystems().hotspots;
  for (auto _ : state)
    benchmark::DoNotOptimize(hotspots.MakeAction(300, 0));
  if (!boxes.Shown().empty()) state.SkipWithError(boxes.Shown()[0].text.c_str());
}
BENCHMARK(BM_MakeActionLastOf300)->Unit(benchmark::kMillisecond);

}  // namespace
