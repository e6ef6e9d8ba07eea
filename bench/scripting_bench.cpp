// Scripts: ExecuteVBScript of a one-line script with 5,000 lines of project procedures and 300
// variables (the engine restarts from the procedures compiled once per game reset), the same run
// built the classic way (procedures parsed again for every script), and a click on a hotspot
// whose action runs a procedure, end to end.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "../tests/support/temp_folder.h"
#include "../tests/ui/fake_platform.h"
#include "core/recording_message_box.h"
#include "player/player.h"
#include "vbscript/engine.h"

namespace {

constexpr int kProcedureLines = 5000;
constexpr int kVariables = 300;

std::string Procedures() {
  std::string text = "' header\r\n' header\r\n'\r\n";
  int lines = 0;
  for (int p = 0; lines < kProcedureLines; ++p) {
    std::string n = std::to_string(p);
    text += "Sub Proc" + n + "(a, b)\r\n  Dim x, y\r\n  x = a + b * 2\r\n  If x > 10 Then\r\n" +
            "    y = \"big\" & x\r\n  Else\r\n    y = Left(\"small\", 3)\r\n  End If\r\n" +
            "  For i = 1 To 3\r\n    x = x + i\r\n  Next\r\n  V" + n + " = y\r\nEnd Sub\r\n";
    lines += 13;
  }
  text +=
      "Sub HotspotProc\r\n  Counter = Counter + 1\r\n  Note = \"hotspot \" & "
      "Action.GetHotspotNumber\r\nEnd Sub\r\n";
  return text;
}

// The script fixture game with many procedures and variables, in a temporary folder.
struct BigScriptGame {
  sl::test::TempFolder dir;
  BigScriptGame() {
    std::filesystem::copy(std::string(STORYLOOM_SOURCE_DIR) + "/tests/projects/scripts_game",
                          dir.Path(), std::filesystem::copy_options::recursive);
    std::string variables = "\"Vars\"\r\n\"Flag\"\r\n\"Counter\"\r\n";
    for (int i = 0; i < kVariables / 2 - 2; ++i)
      variables += "\"I" + std::to_string(i) + "\"\r\n";
    variables += "\"***\"\r\n\"Visits\"\r\n\"Note\"\r\n";
    for (int i = 0; i < kVariables / 2 - 2; ++i)
      variables += "\"V" + std::to_string(i) + "\"\r\n";
    dir.Write("Config/Variables", variables);
    dir.Write("Config/Procedures", Procedures());
  }
};

// The game started (its first frame open), on the test platform.
struct StartedGame {
  BigScriptGame game;
  sl::ui::test::FakePlatform platform;
  sl::RecordingMessageBoxService boxes;
  sl::Player player{platform, boxes, game.dir.Path()};
  StartedGame() { player.Start(); }
  // Reports a run that did no work or showed a message.
  void Check(benchmark::State& state) {
    if (player.Variables().GetVariableValue("Counter") <= 0) state.SkipWithError("no runs");
    if (!boxes.Shown().empty()) state.SkipWithError(boxes.Shown()[0].text.c_str());
  }
};

void BM_ExecuteVBScriptOneLine(benchmark::State& state) {
  StartedGame g;
  sl::Scripting& scripts = g.player.Scripts();
  for (auto _ : state)
    benchmark::DoNotOptimize(scripts.ExecuteVBScript("Counter = Counter + 1", true));
  g.Check(state);
}
BENCHMARK(BM_ExecuteVBScriptOneLine)->Unit(benchmark::kMicrosecond);

// For comparison: the engine reset and the whole text parsed for every script.
void BM_OneLineParsingTheProceduresEveryTime(benchmark::State& state) {
  std::string text = Procedures() + "\r\n\r\nSub StartupProcedure\r\nx = 1\r\nEnd Sub";
  sl::vbs::Engine engine;
  for (auto _ : state) {
    engine.Reset();
    engine.AddCode(text);
    engine.Run("StartupProcedure");
  }
}
BENCHMARK(BM_OneLineParsingTheProceduresEveryTime)->Unit(benchmark::kMicrosecond);

void BM_HotspotClickRunningAProcedure(benchmark::State& state) {
  StartedGame g;
  sl::ui::EventLoop& loop = g.player.Windows().Loop();
  sl::ui::InputEvent click;
  click.kind = sl::ui::InputKind::ControlAction;
  click.target = "Area(1)";
  for (auto _ : state) {
    g.platform.Post(click);
    loop.DoEvents();
  }
  g.Check(state);
}
BENCHMARK(BM_HotspotClickRunningAProcedure)->Unit(benchmark::kMicrosecond);

}  // namespace
