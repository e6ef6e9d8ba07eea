// The inventory as a player meets it: the storyloom program, headless, picking items up and
// dragging one onto a hotspot from an event script (read back from the trace's `state`
// records); and the picture of the open bar against its reference (set
// STORYLOOM_UPDATE_REFERENCES=1 to rewrite it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "player/inventory/inventory.h"
#include "support/headless_run.h"
#include "ui/controls/picture_box.h"
#include "ui/draw/image_compare.h"
#include "ui/draw/png_io.h"
#include "ui/form.h"

namespace sl {
namespace {

using test::Has;

// The `state` records of a run; the run shows no message box.
std::vector<std::string> States(const test::TempFolder& dir, const std::string& events) {
  test::HeadlessRun run = test::RunHeadless(dir, "inventory_game", events);
  EXPECT_EQ(run.status, 0);
  for (const std::string& box : test::Records(run.trace, "msgbox"))
    ADD_FAILURE() << box;
  return test::Records(run.trace, "state");
}

TEST(InventoryPlay, ItemsPickedUpAndTheKeyDraggedOntoTheDoor) {
  test::TempFolder dir;
  auto states = States(dir,
                       "click 120 120\n"  // the rope: the bar pops open
                       "wait 3000\n"      // and closes again (clicks wait for the slide)
                       "click 120 320\n"  // the key, by its hotspot's action
                       "wait 3000\n"
                       "dump\n"
                       "move 5 5\n"  // over the inventory button: the bar slides open
                       "wait 500\n"
                       "drag 68 26 450 300\n"  // the key (second icon) onto the door
                       "dump\n");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_TRUE(Has(states[0], "\"inventory\":[\"Rope\",\"Key\"]")) << states[0];
  EXPECT_TRUE(Has(states[0], "\"variables\":[[\"DoorOpen\",0],[\"Tied\",0]]")) << states[0];
  EXPECT_TRUE(Has(states[1], "\"inventory\":[\"Rope\"]")) << states[1];
  EXPECT_TRUE(Has(states[1], "\"variables\":[[\"DoorOpen\",1],[\"Tied\",0]]")) << states[1];
}

TEST(InventoryPlay, TheOpenBarMatchesItsReferencePicture) {
  test::GameRun run("inventory_game");
  run.Start();
  Inventory& inventory = static_cast<Inventory&>(*run.G().Subsystems().inventory);
  for (const char* name : {"Rope", "Hook", "Key", "Grapple"})
    inventory.AddPickedObject(name, true);
  run.G().PointerZone = Inventory::kZoneInventory;
  inventory.Inventory_Move();
  const draw::Surface& frame = run.player->Windows().Compose(run.G().Form());
  // The frame picture's top-left quarter, where the bar hangs.
  draw::Rect picture = run.G().PictureBox().FormPixelBounds();
  draw::Surface shot = frame.Crop({picture.x, picture.y, 320, 120});
  std::filesystem::path reference =
      std::filesystem::path(STORYLOOM_SOURCE_DIR) / "tests/player/inventory/data/open_bar.png";
  const char* update = std::getenv("STORYLOOM_UPDATE_REFERENCES");
  if (update && *update == '1') draw::SavePng(shot, reference);
  draw::ReferenceCheck check =
      draw::CompareWithReference(shot, reference, STORYLOOM_BINARY_DIR, {24, 0.01});
  EXPECT_TRUE(check.match) << check.message;
}

}  // namespace
}  // namespace sl
