// `storyloom --check` on a generated game of 500 frames: each frame with a background picture,
// music, an opening script, five hotspots with pictures and cursors and five actions that go to
// the next frame and run a procedure; the game has 40 procedures and 20 variables. Measures the
// whole check as the command line runs it, the player built for it included.
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/support/temp_folder.h"
#include "../tests/ui/fake_platform.h"
#include "core/recording_message_box.h"
#include "player/check/game_check.h"
#include "player/player.h"

namespace {

constexpr int kFrames = 500;
constexpr int kHotspots = 5;
constexpr int kProcedures = 40;
constexpr int kVariables = 20;

std::string FrameName(int n) {
  return "Frame " + std::to_string(n % kFrames);
}

std::string FrameFile(int n) {
  return "1,\"Back" + std::to_string(n % 50) +
         ".jpg\",#FALSE#\r\n#FALSE#,\"Tune.mid\"\r\n#FALSE#,\"0\",\"\"\r\n\"\",0\r\n"
         "#FALSE#,#FALSE#,\"\"\r\n0,0,0\r\n#FALSE#,#FALSE#,0,0,0,0\r\n#TRUE#\r\n#FALSE#,0\r\n0\r\n"
         "#TRUE#,\"Visits = Visits + 1\r\nText(1).Caption = |Visit | & Visits\r\n"
         "If Flag3 = 1 Then Action.Message |Again|\r\nCall Helper7(Visits)\"\r\n";
}

std::string HotspotFile() {
  std::string text;
  for (int h = 1; h <= kHotspots; ++h) {
    text += "\"Spot " + std::to_string(h) +
            "\",0,0,0,0,0,0,0,0,0\r\n600,600,900,900\r\n0,#TRUE#,\"Item.gif\",0,"
            "\"Hand.cur\"\r\n1,1,\"Flag1\",0\r\n\"----- SEPARATOR -----\"\r\n";
  }
  return text;
}

std::string ActionFile(int n) {
  std::string text;
  for (int h = 1; h <= kHotspots; ++h) {
    text += "\"Action " + std::to_string(h) +
            "\",0,0,0,0,0,0,0,0,0\r\n1,\"Flag2\",0,1,0\r\n1,\"Hello\",0,\"\"\r\n0,0\r\n1,\"" +
            FrameName(n + h) +
            "\"\r\n0,0,0,\"\",#FALSE#,#FALSE#,0,0,0,0\r\n0,1,\"Step.wav\",0,\"\"\r\n0,0,0,0\r\n"
            "0,0,0,#TRUE#\r\n0,0,0,0\r\n0\r\n0\r\n0\r\n#TRUE#\r\n0,0\r\n"
            "#TRUE#,\"Helper" +
            std::to_string(h) + " " + std::to_string(n) +
            "\r\nIf Flag1 = 1 Then Flag2 = 0\"\r\n\"----- SEPARATOR -----\"\r\n";
  }
  return text;
}

void MakeGame(const sl::test::TempFolder& game) {
  game.Write("Config/General", "\"Bench\",\"\",\"Bench\",0,\"" + FrameName(0) +
                                   "\",\"1.0\",640,480,\"\",\"\",\"\"\r\n");
  std::string variables = "\"Variables\"\r\n";
  for (int v = 1; v <= kVariables; ++v)
    variables += "\"Flag" + std::to_string(v) + "\"\r\n";
  game.Write("Config/Variables", variables + "\"***\"\r\n\"Visits\"\r\n");
  std::string procedures = "'\r\n'\r\n'\r\n";
  for (int p = 1; p <= kProcedures; ++p) {
    procedures += "Sub Helper" + std::to_string(p) +
                  "(n)\r\n  Dim k\r\n  For k = 1 To n\r\n    Visits = Visits + k\r\n  Next\r\n"
                  "  If Visits > 100 Then Action.Message \"Many\"\r\nEnd Sub\r\n";
  }
  game.Write("Config/Procedures", procedures);
  for (const char* file : {"Areas/Tune.mid", "Areas/Step.wav", "Areas/Item.gif", "Icons/Hand.cur"})
    game.Write(file, "x");
  for (int b = 0; b < 50; ++b)
    game.Write("Frames/Back" + std::to_string(b) + ".jpg", "x");
  for (int n = 0; n < kFrames; ++n) {
    std::string name = FrameName(n);
    game.Write("Frames/" + name + ".fme", FrameFile(n));
    game.Write("FramesData/" + name + ".fm2", HotspotFile());
    game.Write("FramesData/" + name + ".fm3", ActionFile(n));
  }
}

void BM_CheckGameOf500Frames(benchmark::State& state) {
  sl::test::TempFolder folder;
  MakeGame(folder);
  sl::ui::test::FakePlatform platform;
  sl::CheckResult result;
  for (auto _ : state) {
    sl::RecordingMessageBoxService boxes;
    sl::Player player(platform, boxes, folder.Path());
    result = sl::GameCheck(player, boxes, folder.Path()).Run();
    benchmark::DoNotOptimize(result.problems);
  }
  if (!result.problems.empty()) state.SkipWithError(result.problems.front().c_str());
  if (result.frames != kFrames) state.SkipWithError("not every frame was checked");
  state.counters["scripts"] = result.scripts;
}
BENCHMARK(BM_CheckGameOf500Frames)->Unit(benchmark::kMillisecond);

}  // namespace
