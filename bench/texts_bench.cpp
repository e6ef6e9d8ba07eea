// Texts: OpenFrame of a frame with 200 text boxes (removing the previous ones and loading
// them anew), and a two-line message shown in the band and ended again.
#include <benchmark/benchmark.h>

#include "../tests/ui/fake_platform.h"
#include "core/recording_message_box.h"
#include "player/player.h"

namespace {

const std::string kProject = std::string(STORYLOOM_SOURCE_DIR) + "/tests/projects/texts_bench";

void BM_OpenFrame200TextBoxes(benchmark::State& state) {
  sl::ui::test::FakePlatform platform;
  sl::RecordingMessageBoxService boxes;
  sl::Player player(platform, boxes, kProject);
  player.Start();
  sl::Game& game = *player.GetGame();
  for (auto _ : state) {
    game.OpenFrame("Many");
    benchmark::DoNotOptimize(game.CurrentFrameName);
  }
  if (!boxes.Shown().empty()) state.SkipWithError(boxes.Shown()[0].text.c_str());
}
BENCHMARK(BM_OpenFrame200TextBoxes)->Unit(benchmark::kMillisecond);

void BM_ShowAndEndMessage(benchmark::State& state) {
  sl::ui::test::FakePlatform platform;
  sl::RecordingMessageBoxService boxes;
  sl::Player player(platform, boxes, kProject);
  player.Start();
  sl::TextSubsystem& texts = *player.GetGame()->Subsystems().texts;
  for (auto _ : state) {
    texts.ShowMessage("The lamp blazes out over the sea.\r\nShips will find the harbour.", true);
    texts.TimerMessageBox_Timer();
  }
  if (!boxes.Shown().empty()) state.SkipWithError(boxes.Shown()[0].text.c_str());
}
BENCHMARK(BM_ShowAndEndMessage)->Unit(benchmark::kMicrosecond);

}  // namespace
