// Dragging items: a press on an item starts its drag; a drop on a hotspot runs the hotspot's
// item-use action; a drop on another item runs the combination file of the two (items removed
// and added, then an optional procedure with its frame change).
#include "core/case_fold.h"
#include "core/data_file_reader.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/inventory/combination_file.h"
#include "player/inventory/inventory.h"
#include "player/startup/project.h"
#include "player/startup/shared_routines.h"
#include "ui/control_array.h"
#include "ui/controls/picture_box.h"
#include "ui/form.h"

namespace sl {

namespace {

constexpr int kButtonLeft = 1;
constexpr int kButtonRight = 2;

}  // namespace

bool Inventory::IsPickedObject(const ui::Control& source) const {
  return FoldCase(source.Name()) == "pickedobject" && source.Index() >= 1 &&
         source.Index() <= ObjectsCount;
}

void Inventory::PickedObject_MouseDown(std::int16_t index, int button) {
  if (!game_) return;
  Game& g = *game_;
  g.InterruptWaits();
  if (g.Subsystems().video->VideoIsPlaying()) return;
  if (button == kButtonRight) {
    g.WindowMouseDown(button);  // the menus, as a press on the frame opens or closes them
  } else if (button == kButtonLeft) {
    DraggedItem = index;
    Items().Item(index).Drag(1);
  }
}

void Inventory::Area_DragDrop(ui::Control& target, ui::Control& source, double x, double y,
                              bool animated) {
  if (!game_ || !IsPickedObject(source)) return;
  Game& g = *game_;
  GameSubsystems& subs = g.Subsystems();
  // The target may be gone once the action has opened another frame: take what is needed now.
  auto n = static_cast<std::int16_t>(target.Index());
  subs.hotspots->SaveClickPos(static_cast<float>(target.Left() + x),
                              static_cast<float>(target.Top() + y));
  ActionOutcome result = subs.hotspots->MakeAction(n, DraggedItem);
  if (result == ActionOutcome::EndGame) {
    g.StartUnloading();
    return;
  }
  if (!animated) {
    g.CutSceneArea().SetVisible(false);
    subs.video->StopMovie();
  }
  if (result != ActionOutcome::NewFrame) subs.hotspots->ShowOrNotShowAreas();
}

void Inventory::PickedObject_DragDrop(std::int16_t index, ui::Control& source) {
  if (!game_ || !IsPickedObject(source) || index == DraggedItem) return;
  CombineItems(DraggedItem, index);
}

namespace {

// The items of a combination going and coming in the inventory.
class InventoryCombination final : public CombinationEffects {
 public:
  InventoryCombination(Inventory& inventory, std::int16_t dragged, std::int16_t target)
      : inventory_(inventory), dragged_(dragged), target_(target) {}
  void RemoveDragged() override {
    inventory_.RemovePickedObject(dragged_);
    draggedGone_ = true;
  }
  void RemoveTarget() override {
    // The target moved up a place when the dragged item before it went.
    inventory_.RemovePickedObject(
        draggedGone_ && dragged_ < target_ ? static_cast<std::int16_t>(target_ - 1) : target_);
  }
  void Add(const std::string& item) override { inventory_.AddPickedObject(item, false); }

 private:
  Inventory& inventory_;
  std::int16_t dragged_;
  std::int16_t target_;
  bool draggedGone_ = false;
};

}  // namespace

void Inventory::CombineItems(std::int16_t d, std::int16_t t) {
  try {
    ui::ControlArray& items = Items();
    std::string path = project_.Folders().AreasFolder + items.Item(d).Tag() + "_on_" +
                       items.Item(t).Tag() + ".drg";
    if (!project_.Paths().FileExists(path)) return;
    DataFileReader r(project_.Paths().ReadFile(path));
    InventoryCombination effects(*this, d, t);
    std::optional<CombinationScript> script = ReadCombinationFile(r, effects);
    if (script) RunCombinationProcedure(script->run, UnescapeScriptText(script->text));
  } catch (const RuntimeError&) {
    project_.ShowError(" Unable to combine items.");
  }
}

void Inventory::RunCombinationProcedure(bool run, const std::string& text) {
  Game& g = *game_;
  GameSubsystems& subs = g.Subsystems();
  if (g.GameStopping()) return;
  subs.scripts->ResetModule();
  if (text.empty() || !run) return;
  subs.scripts->SetHotspotNumber(0);
  subs.scripts->ExecuteVBScript(text, true);
  subs.hotspots->ShowOrNotShowAreas();
  if (subs.scripts->StopGameRequested()) {
    g.StartUnloading();
    return;
  }
  if (g.GameStopping()) return;
  if (!subs.hotspots->OpenRequestedFrame()) subs.scripts->StartTimedEvents();
}

}  // namespace sl
