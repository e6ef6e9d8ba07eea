// Start-up to the title window shown: project set-up, interface texts, project information,
// title layout and scheme, on a fixture project.
#include <benchmark/benchmark.h>

#include "../tests/ui/fake_platform.h"
#include "core/recording_message_box.h"
#include "player/player.h"

namespace {

void BM_StartupToTitleWindow(benchmark::State& state) {
  const std::string project = std::string(STORYLOOM_SOURCE_DIR) + "/tests/projects/game_scheme";
  for (auto _ : state) {
    sl::ui::test::FakePlatform platform;
    sl::RecordingMessageBoxService boxes;
    sl::Player player(platform, boxes, project);
    player.Start();
    benchmark::DoNotOptimize(player.Title().Form().Visible());
  }
}
BENCHMARK(BM_StartupToTitleWindow)->Unit(benchmark::kMillisecond);

}  // namespace
