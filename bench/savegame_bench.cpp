// Saved games of a big game: 2,000 variables (1,500 integer, 500 variant), 200 items held, 100
// hotspots gone and a history of 20 frames. Saving (the state gathered, the file written all or
// nothing) and loading (reset, fresh variables, the state restored, the frame opened) in the
// running player, and the file alone written and read. The pauses between the steps of a load
// take no time: the clock is virtual.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "../tests/support/temp_folder.h"
#include "../tests/ui/fake_platform.h"
#include "core/recording_message_box.h"
#include "player/engine/game.h"
#include "player/player.h"
#include "player/savegame/saved_game_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kIntegerVariables = 1500;
constexpr int kVariantVariables = 500;
constexpr int kItems = 200;
constexpr int kGoneHotspots = 100;
constexpr int kHistory = 20;

std::string Numbered(const char* stem, int i) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%04d", stem, i);
  return text;
}

// The saved-game fixture, grown to the size above, in a temporary folder.
class BigGame {
 public:
  BigGame() {
    fs::copy(fs::path(STORYLOOM_SOURCE_DIR) / "tests/projects/savegame_game", dir.Path() + "/game",
             fs::copy_options::recursive);
    std::string variables = "\"Vars\"\r\n";
    for (int i = 0; i < kIntegerVariables; ++i)
      variables.append("\"").append(Numbered("Flag", i)).append("\"\r\n");
    variables += "\"***\"\r\n";
    for (int i = 0; i < kVariantVariables; ++i)
      variables.append("\"").append(Numbered("Value", i)).append("\"\r\n");
    dir.Write("game/Config/Variables", variables);
    for (int i = 0; i < kItems; ++i)
      dir.Write("game/Areas/" + Numbered("Item", i) + ".obj", "\"key.bmp\",0,\"\"\r\n");
    player = std::make_unique<sl::Player>(platform, boxes, dir / "game");
    player->Start();
    player->Title().ClickButton(0);
    sl::VariableStore& store = player->Variables();
    for (int i = 0; i < kIntegerVariables; ++i)
      store.SetVariableValue(Numbered("Flag", i), static_cast<std::int16_t>(i % 3 - 1));
    for (int i = 0; i < kVariantVariables; ++i) {
      store.ChangeVariableVariantValue(
          Numbered("Value", i), i % 2 ? sl::Variant(i * 0.25) : sl::Variant(Numbered("Text ", i)));
    }
    for (int i = 0; i < kGoneHotspots; ++i)
      store.Disappear.Add(Numbered("Frame", i), static_cast<std::int16_t>(i % 7 + 1));
    sl::Game& game = *player->GetGame();
    for (int i = 0; i < kItems; ++i)
      game.Subsystems().inventory->AddPickedObject(Numbered("Item", i), true);
    std::vector<std::string> history;
    for (int i = 0; i < kHistory; ++i)
      history.push_back(i % 2 ? "Garden" : "Hall");
    game.SetFramesHistory(history);
  }

  sl::SavedGameFile File() { return {"Bench", dir / "game/Bench.sav", 0}; }

  sl::test::TempFolder dir;
  sl::ui::test::FakePlatform platform;
  sl::RecordingMessageBoxService boxes;
  std::unique_ptr<sl::Player> player;
};

void CheckNoMessage(benchmark::State& state, const BigGame& big) {
  if (!big.boxes.Shown().empty()) state.SkipWithError(big.boxes.Shown()[0].text.c_str());
}

void BM_SaveGame(benchmark::State& state) {
  BigGame big;
  for (auto _ : state)
    benchmark::DoNotOptimize(big.player->Saves().SaveGame("Bench"));
  state.counters["bytes"] = static_cast<double>(fs::file_size(big.File().path));
  CheckNoMessage(state, big);
}
BENCHMARK(BM_SaveGame)->Unit(benchmark::kMillisecond);

void BM_LoadGame(benchmark::State& state) {
  BigGame big;
  big.player->Saves().SaveGame("Bench");
  for (auto _ : state)
    big.player->Saves().LoadGame(big.File());
  if (big.player->State().inventory.size() != kItems) state.SkipWithError("items not restored");
  CheckNoMessage(state, big);
}
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond);

// The same load in a game whose inventory does not pop up when an item is added: without the
// bar's 0.3-second slide, whose passes repaint the window while they wait, this is the work of
// loading itself.
void BM_LoadGameWithoutInventoryPopUp(benchmark::State& state) {
  BigGame big;
  big.player->GetProject().MutableInfo().InventoryPopUpOnAdd = false;
  big.player->Saves().SaveGame("Bench");
  for (auto _ : state)
    big.player->Saves().LoadGame(big.File());
  if (big.player->State().inventory.size() != kItems) state.SkipWithError("items not restored");
  CheckNoMessage(state, big);
}
BENCHMARK(BM_LoadGameWithoutInventoryPopUp)->Unit(benchmark::kMillisecond);

void BM_WriteSavedGameFile(benchmark::State& state) {
  BigGame big;
  sl::SavedGame saved = big.player->Saves().CurrentGame(*big.player->GetGame());
  for (auto _ : state)
    benchmark::DoNotOptimize(sl::WriteSavedGame(saved, {"Bench", "Bench", {}}));
}
BENCHMARK(BM_WriteSavedGameFile)->Unit(benchmark::kMicrosecond);

void BM_ReadSavedGameFile(benchmark::State& state) {
  BigGame big;
  std::string bytes = sl::WriteSavedGame(big.player->Saves().CurrentGame(*big.player->GetGame()),
                                         {"Bench", "Bench", {}});
  for (auto _ : state)
    benchmark::DoNotOptimize(sl::ReadSavedGame(bytes));
}
BENCHMARK(BM_ReadSavedGameFile)->Unit(benchmark::kMicrosecond);

}  // namespace
