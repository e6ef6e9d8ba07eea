// Mouse pointers (the project's default cursor, the screen-wide pointer) and the mouse handlers
// of the frame's controls: a press on a hotspot, and the pointer zone kept by every move.
#include "core/case_fold.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "player/engine/game.h"
#include "player/hotspots/hotspots.h"
#include "player/startup/media_picture.h"
#include "player/startup/project.h"
#include "player/startup/shared_routines.h"
#include "ui/control_array.h"
#include "ui/draw/picture.h"
#include "ui/draw/units.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr std::int16_t kZoneInventory = 1;
constexpr std::int16_t kZoneFrame = 2;
constexpr int kPointerDefault = 0;
constexpr int kPointerArrow = 1;
constexpr int kPointerCustom = 99;

}  // namespace

void Hotspots::ApplyDefaultPointer(ui::Control& control) {
  const std::string& name = project_.Info().DefaultPointer;
  if (IsNoneOrDefault(name)) {
    control.SetMousePointer(kPointerDefault);
    control.SetMouseIcon(draw::Picture());
    return;
  }
  try {
    control.SetMouseIcon(
        LoadMediaPicture(project_, pictures_, project_.Folders().IconsFolder + name));
    control.SetMousePointer(kPointerCustom);
  } catch (const RuntimeError&) {
  }
}

void Hotspots::ResetDefaultPointer() {
  if (!game_) return;
  ui::Form& form = game_->Form();
  for (const char* name :
       {"PictureBox", "BackImage", "Area(0)", "AniGifBox(0)", "Text(0)", "CutSceneArea",
        "FrameMessageBox", "LabelMessageBox", "PickedObject(0)", "Inventory1", "Inventory2",
        "Inventory_Background", "picWhere", "PicRipplingWater"}) {
    if (ui::Control* c = form.FindControl(name)) ApplyDefaultPointer(*c);
  }
  const std::string& name = project_.Info().DefaultPointer;
  if (IsNoneOrDefault(name)) {
    windows_.SetScreenMouseIcon(draw::Picture());
  } else {
    try {
      windows_.SetScreenMouseIcon(
          LoadMediaPicture(project_, pictures_, project_.Folders().IconsFolder + name));
    } catch (const RuntimeError&) {
    }
  }
  windows_.SetScreenPointer(kPointerDefault);
}

void Hotspots::SetScreenPointerArrow() {
  windows_.SetScreenPointer(IsNoneOrDefault(project_.Info().DefaultPointer) ? kPointerArrow
                                                                            : kPointerCustom);
}

void Hotspots::SetScreenPointerDefault() {
  windows_.SetScreenPointer(kPointerDefault);
}

void Hotspots::SaveClickPos(float sglLeft, float sglTop) {
  try {
    clickX_ = RoundToInteger(draw::TwipsToPixels(sglLeft));
    clickY_ = RoundToInteger(draw::TwipsToPixels(sglTop));
  } catch (const RuntimeError&) {
    // A position beyond 16 bits cannot come from a click on the frame; the last one stays.
  }
}

void Hotspots::WireMouseHandlers() {
  ui::Form& form = game_->Form();
  if (ui::Control* area = form.FindControl("Area(0)")) {
    area->on.mouseDown = [this](ui::Control& c, const ui::MouseArgs& m) {
      AreaMouseDown(c, m.button, m.x, m.y, false);
    };
  }
  if (ui::Control* box = form.FindControl("AniGifBox(0)")) {
    box->on.mouseDown = [this](ui::Control& c, const ui::MouseArgs& m) {
      AreaMouseDown(c, m.button, m.x, m.y, true);
    };
  }
  // Handlers others have attached stay; only free moves are taken.
  auto onMove = [&](const char* name, std::int16_t zone) {
    ui::Control* c = form.FindControl(name);
    if (!c || c->on.mouseMove) return;
    c->on.mouseMove = [this, zone](ui::Control&, const ui::MouseArgs&) { MouseMovedOver(zone); };
  };
  for (const char* name : {"Area(0)", "AniGifBox(0)", "BackImage", "CutSceneArea",
                           "FrameMessageBox", "LabelMessageBox", "Text(0)"}) {
    onMove(name, kZoneFrame);
  }
  for (const char* name : {"Inventory1", "Inventory2", "Inventory_Background", "PickedObject(0)"})
    onMove(name, kZoneInventory);
}

void Hotspots::AreaMouseDown(ui::Control& control, int button, double x, double y, bool holderBox) {
  // The control may be gone once the action has opened another frame: take what is needed now.
  auto n = static_cast<std::int16_t>(control.Index());
  SaveClickPos(static_cast<float>(control.Left() + x), static_cast<float>(control.Top() + y));
  AreaClick(n, button);
  if (holderBox || !game_) return;
  windows_.Loop().Sleep(100);
  game_->Form().SetMousePointer(kPointerDefault);
}

std::int16_t Hotspots::PointerZone() {
  return game_ ? game_->PointerZone : 0;
}

void Hotspots::MouseMovedOver(std::int16_t zone) {
  game_->PointerZone = zone;
  InventorySubsystem& inventory = *game_->Subsystems().inventory;
  if (!inventory.Moving() && project_.Info().InventoryAnimated) inventory.Inventory_Move();
}

}  // namespace sl
