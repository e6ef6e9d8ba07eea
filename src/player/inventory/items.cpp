// The items held: adding one at the end (with the bar popping open), removing one (later items
// move up a place), the item a clicked hotspot gives, and forgetting them all at reset.
#include "core/data_file_reader.h"
#include "core/message_box.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/inventory/inventory.h"
#include "player/inventory/inventory_grid.h"
#include "player/startup/media_picture.h"
#include "player/startup/project.h"
#include "ui/control_array.h"
#include "ui/controls/image.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/form.h"

namespace sl {

namespace {

constexpr std::int16_t kMaxItems = 32767;

}  // namespace

void Inventory::ClearItems() {
  ObjectsCount = 0;
  if (!game_) return;
  ui::ControlArray& items = Items();
  std::vector<int> loaded;
  for (const auto& [index, control] : items.Elements()) {
    if (index != 0) loaded.push_back(index);
  }
  for (int index : loaded)
    items.Unload(index);
}

void Inventory::AddPickedObject(const std::string& ObjectName, bool bDoNotPopup) {
  if (!game_) return;
  const ProjectInformation& info = project_.Info();
  std::string icon;
  try {
    Timer().SetEnabled(false);
    {
      DataFileReader reader(
          project_.Paths().ReadFile(project_.Folders().AreasFolder + ObjectName + ".obj"));
      icon = reader.ReadString();
    }
    if (ObjectsCount >= kMaxItems) throw RuntimeError(kErrOverflow);
    ++ObjectsCount;
    ui::Control& item = Items().Load(ObjectsCount);
    // The name goes first: an item whose icon fails to load is still held under its name.
    item.SetTag(ObjectName);
    item.SetToolTipText(ObjectName);
    PlaceItem(item, ObjectsCount);
    draw::Picture picture =
        LoadMediaPicture(project_, pictures_, project_.Folders().AreasFolder + icon);
    static_cast<ui::Image&>(item).SetPicture(picture);
    item.SetDragIcon(picture);
    item.SetVisible(true);
    item.ZOrder(0);
    if (info.InventoryAnimated) {
      FitPanelToItems();
      Button().SetVisible(true);
    }
    if (info.InventoryPopUpOnAdd && !bDoNotPopup) {
      OpenRequest = true;
      game_->PointerZone = kZoneInventory;
      if (!moving_ && info.InventoryAnimated) Inventory_Move();
      Timer().SetEnabled(false);
      Timer().SetEnabled(true);
    }
  } catch (const RuntimeError&) {
    project_.ShowError(" Unable to pick up the item named '" + ObjectName +
                       "'. The item may be unavailable, or the icon '" + icon +
                       "' associated to the item may be corrupt.");
  }
}

void Inventory::RemovePickedObject(std::int16_t ObjectIndex) {
  if (!game_) return;
  try {
    // Only an item that is held can be removed; any other number would take the last item.
    if (ObjectIndex < 1 || ObjectIndex > ObjectsCount) throw RuntimeError(kErrNoArrayElement);
    ui::ControlArray& items = Items();
    for (int i = ObjectIndex; i < ObjectsCount; ++i) {
      auto& to = static_cast<ui::Image&>(items.Item(i));
      auto& from = static_cast<ui::Image&>(items.Item(i + 1));
      to.SetPicture(from.Picture());
      to.SetDragIcon(from.DragIcon());
      to.SetTag(from.Tag());
      to.SetToolTipText(from.ToolTipText());
    }
    items.Unload(ObjectsCount);
    --ObjectsCount;
    const ProjectInformation& info = project_.Info();
    if (info.InventoryAnimated) {
      if (ObjectsCount > 0) FitPanelToItems();
      if (ObjectsCount == 0 && info.InventoryHideWhenEmpty) Button().SetVisible(false);
    }
  } catch (const RuntimeError&) {
    project_.ShowError(" Unable to remove the item from the inventory.");
  }
}

void Inventory::PickOrNotPickObject(std::int16_t AreaIndex) {
  if (!game_) return;
  Game& g = *game_;
  std::string path = project_.Folders().FramesDataFolder + g.CurrentFrameName + ".fm4";
  try {
    if (!project_.Paths().FileExists(path)) return;
    DataFileReader r(project_.Paths().ReadFile(path));
    while (!r.Eof() && !g.GameStopping()) {
      r.Skip(1);
      if (r.ReadInteger() != AreaIndex) {
        r.SkipRecord();
        continue;
      }
      r.Skip(8);
      if (r.ReadDouble() == 1) AddPickedObject(r.ReadString(), false);
      return;
    }
  } catch (const RuntimeError& e) {
    if (!g.GameStopping()) {
      project_.ShowError(" Error in the \"PickOrNotPickObject\" procedure.\r\n\r\n" +
                         e.Description());
    }
  }
}

std::vector<std::string> Inventory::ItemNames() {
  std::vector<std::string> names;
  if (!game_) return names;
  ui::ControlArray& items = Items();
  for (int k = 1; k <= ObjectsCount; ++k) {
    if (ui::Control* item = items.Find(k)) names.push_back(item->Tag());
  }
  return names;
}

void Inventory::PlaceItem(ui::Control& item, int k) {
  const ProjectInformation& info = project_.Info();
  InventoryGrid grid(info.PictureWidth, info.InventoryItemGap, info.InventoryMargin);
  item.Move(grid.Left(k), grid.Top(k), item.Width(), item.Height());
}

// The panel grows or shrinks to the rows in use; the background picture stays at its bottom.
void Inventory::FitPanelToItems() {
  const ProjectInformation& info = project_.Info();
  InventoryGrid grid(info.PictureWidth, info.InventoryItemGap, info.InventoryMargin);
  ui::PictureBox& panel = Panel();
  double height = grid.PanelHeight(ObjectsCount);
  // A closed bar stays closed when it gains a row: no strip of it shows below the top edge.
  double top = panel.Top() <= -panel.Height() ? -height : panel.Top();
  panel.Move(panel.Left(), top, panel.Width(), height);
  ui::Image& background = Background();
  if (background.Visible()) {
    background.Move(0, panel.Height() - background.Height(), background.Width(),
                    background.Height());
  }
}

}  // namespace sl
