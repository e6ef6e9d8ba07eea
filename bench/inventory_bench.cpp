// Inventory: 100 items added and removed from the front (every removal moves the later icons
// up), a full slide of the bar open and closed (the work of its passes; the clock is virtual),
// and a combination of two items from its file (with the pop-up slide of the new item).
#include <benchmark/benchmark.h>

#include "../tests/ui/fake_platform.h"
#include "core/recording_message_box.h"
#include "player/inventory/inventory.h"
#include "player/player.h"
#include "ui/control_array.h"
#include "ui/form.h"

namespace {

const std::string kProject = std::string(STORYLOOM_SOURCE_DIR) + "/tests/projects/inventory_game";

sl::Inventory& InventoryOf(sl::Player& player) {
  return static_cast<sl::Inventory&>(*player.GetGame()->Subsystems().inventory);
}

void BM_AddAndRemove100Items(benchmark::State& state) {
  sl::ui::test::FakePlatform platform;
  sl::RecordingMessageBoxService boxes;
  sl::Player player(platform, boxes, kProject);
  player.Start();
  sl::Inventory& inventory = InventoryOf(player);
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i)
      inventory.AddPickedObject(i % 2 ? "Rope" : "Hook", true);
    while (inventory.ObjectsCount > 0)
      inventory.RemovePickedObject(1);
  }
  if (!boxes.Shown().empty()) state.SkipWithError(boxes.Shown()[0].text.c_str());
}
BENCHMARK(BM_AddAndRemove100Items)->Unit(benchmark::kMillisecond);

void BM_SlideOpenAndClosed(benchmark::State& state) {
  sl::ui::test::FakePlatform platform;
  sl::RecordingMessageBoxService boxes;
  sl::Player player(platform, boxes, kProject);
  player.Start();
  sl::Inventory& inventory = InventoryOf(player);
  sl::Game& game = *player.GetGame();
  for (int i = 0; i < 8; ++i)
    inventory.AddPickedObject("Rope", true);
  for (auto _ : state) {
    game.PointerZone = sl::Inventory::kZoneInventory;
    inventory.Inventory_Move();
    game.PointerZone = sl::Inventory::kZoneFrame;
    inventory.Inventory_Move();
  }
}
BENCHMARK(BM_SlideOpenAndClosed)->Unit(benchmark::kMillisecond);

void BM_CombineRopeOnHook(benchmark::State& state) {
  sl::ui::test::FakePlatform platform;
  sl::RecordingMessageBoxService boxes;
  sl::Player player(platform, boxes, kProject);
  player.Start();
  sl::Inventory& inventory = InventoryOf(player);
  sl::ui::ControlArray& items = *player.GetGame()->Form().FindArray("PickedObject");
  for (auto _ : state) {
    inventory.AddPickedObject("Rope", true);
    inventory.AddPickedObject("Hook", true);
    inventory.DraggedItem = 1;
    inventory.PickedObject_DragDrop(2, items.Item(1));  // a grapple, which pops the bar open
    state.PauseTiming();
    inventory.ClearItems();
    state.ResumeTiming();
  }
  if (!boxes.Shown().empty()) state.SkipWithError(boxes.Shown()[0].text.c_str());
}
BENCHMARK(BM_CombineRopeOnHook)->Unit(benchmark::kMicrosecond);

}  // namespace
