// The inventory: the items the player holds as icons in the `PickedObject` control array, the
// sliding inventory bar (`Inventory1` with its button `Inventory2` and background picture
// `Inventory_Background`), the pop-up timer, dragging an item onto a hotspot (its item-use
// action) or onto another item (the combination file of the two).
//
// API:
//   Inventory inventory(project, pictures, windows);
//   subsystems.inventory = &inventory;   // before the game window is created
//   inventory.Attach(game);              // once the game window exists: wires the handlers
//   inventory.AddPickedObject("Rope", false);
//   inventory.RemovePickedObject(1);
//   inventory.ItemNames();               // {"Hook"}
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "player/game_subsystems.h"

namespace sl {

class Game;
class Project;
class DataFileReader;
namespace draw {
class PictureCache;
class Picture;
}  // namespace draw
namespace ui {
class Control;
class ControlArray;
class Image;
class PictureBox;
class TimerControl;
class WindowManager;
}  // namespace ui

class Inventory final : public InventorySubsystem {
 public:
  // Pointer zones: where the pointer was last seen.
  static constexpr std::int16_t kZoneUnknown = 0;
  static constexpr std::int16_t kZoneInventory = 1;
  static constexpr std::int16_t kZoneFrame = 2;

  Inventory(Project& project, draw::PictureCache& pictures, ui::WindowManager& windows);

  void Attach(Game& game);

  // InventorySubsystem
  void ClearItems() override;
  void Load_InventoryBackground() override;
  bool Moving() override { return moving_; }
  void AddPickedObject(const std::string& ObjectName, bool bDoNotPopup) override;
  void RemovePickedObject(std::int16_t ObjectIndex) override;
  void PickOrNotPickObject(std::int16_t AreaIndex) override;
  void Inventory_Move() override;
  void BringToFront() override;
  std::vector<std::string> ItemNames() override;
  void InventoryTick() override { TimerInventory_Timer(); }
  void HideInventoryButton() override;
  void ShowInventoryButton() override;

  void TimerInventory_Timer();
  void PickedObject_MouseDown(std::int16_t index, int button);
  void PickedObject_DragDrop(std::int16_t index, ui::Control& source);
  // A drop on a hotspot's control (`animated` for an animated picture or its holder box) at
  // (x, y) twips inside it.
  void Area_DragDrop(ui::Control& target, ui::Control& source, double x, double y, bool animated);

  std::int16_t ObjectsCount = 0;
  // Set by a pop-up, cleared by the timer: while set the bar heads for open.
  bool OpenRequest = false;
  // The `PickedObject` index of the item being dragged.
  std::int16_t DraggedItem = 0;

 private:
  // items.cpp
  void PlaceItem(ui::Control& item, int k);
  void FitPanelToItems();
  // bar_movement.cpp
  bool MovePass(double& t0, double& step, int& c);
  // combining.cpp
  void CombineItems(std::int16_t d, std::int16_t t);
  void RunCombinationProcedure(bool run, const std::string& text);

  ui::ControlArray& Items();
  ui::PictureBox& Panel();
  ui::Image& Button();
  ui::Image& Background();
  ui::TimerControl& Timer();
  bool IsPickedObject(const ui::Control& source) const;

  Project& project_;
  draw::PictureCache& pictures_;
  ui::WindowManager& windows_;
  Game* game_ = nullptr;
  bool moving_ = false;
};

}  // namespace sl
