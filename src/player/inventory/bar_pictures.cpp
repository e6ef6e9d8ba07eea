// The bar's own pictures and controls: the inventory button (the project's picture or a built-in
// one), the background picture at the bottom of the panel, the order of the bar above the frame,
// the script's hiding and showing of the button; and the wiring of the inventory to the window.
#include "core/case_fold.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/inventory/inventory.h"
#include "player/startup/media_picture.h"
#include "player/startup/project.h"
#include "player/startup/shared_routines.h"
#include "ui/control_array.h"
#include "ui/controls/image.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/draw/picture_cache.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

// The button shown when the project names no picture of its own: a small chest, 24 pixels.
draw::Picture BuiltInButtonPicture() {
  constexpr int kSize = 24;
  const draw::Pixel edge = draw::OpaquePixel(60, 35, 10);
  const draw::Pixel wood = draw::OpaquePixel(160, 100, 40);
  const draw::Pixel lid = draw::OpaquePixel(190, 125, 55);
  const draw::Pixel metal = draw::OpaquePixel(230, 200, 60);
  draw::Surface s(kSize, kSize, draw::kTransparent);
  s.FillRect({2, 5, 20, 16}, edge);
  s.FillRect({3, 6, 18, 6}, lid);
  s.FillRect({3, 13, 18, 7}, wood);
  s.FillRect({2, 12, 20, 1}, edge);
  s.FillRect({10, 10, 4, 5}, metal);
  s.FillRect({11, 12, 2, 2}, edge);
  return draw::Picture(std::move(s));
}

}  // namespace

Inventory::Inventory(Project& project, draw::PictureCache& pictures, ui::WindowManager& windows)
    : project_(project), pictures_(pictures), windows_(windows) {}

void Inventory::Attach(Game& game) {
  game_ = &game;
  ui::Form& form = game.Form();
  Button().SetPicture(BuiltInButtonPicture());
  ui::Control& template0 = Items().Item(0);
  template0.on.mouseDown = [this](ui::Control& c, const ui::MouseArgs& m) {
    PickedObject_MouseDown(static_cast<std::int16_t>(c.Index()), m.button);
  };
  template0.on.dragDrop = [this](ui::Control& c, ui::Control& source, double, double) {
    PickedObject_DragDrop(static_cast<std::int16_t>(c.Index()), source);
  };
  auto onDrop = [&form, this](const char* name, bool animated) {
    ui::ControlArray* array = form.FindArray(name);
    if (!array) return;
    array->Item(0).on.dragDrop = [this, animated](ui::Control& c, ui::Control& source, double x,
                                                  double y) {
      Area_DragDrop(c, source, x, y, animated);
    };
  };
  onDrop("Area", false);
  onDrop("AniGif", true);
  onDrop("AniGifBox", true);
}

void Inventory::Load_InventoryBackground() {
  if (!game_) return;
  const ProjectInformation& info = project_.Info();
  const ProjectFolders& folders = project_.Folders();
  ui::Image& background = Background();
  try {
    auto exists = [this, &folders](const std::string& name) {
      return !IsNoneOrDefault(name) && project_.Paths().FileExists(folders.InventoryFolder + name);
    };
    if (!info.InventoryAnimated || !info.InventoryBackgroundShown) {
      background.SetVisible(false);
      background.SetPicture(draw::Picture());
      return;
    }
    if (!exists(info.InventoryPicture2)) {
      background.SetVisible(false);
      background.SetPicture(draw::Picture());
    } else {
      background.SetPicture(
          LoadMediaPicture(project_, pictures_, folders.InventoryFolder + info.InventoryPicture2));
      background.Move(0, Panel().Height() - background.Height(), background.Width(),
                      background.Height());
      background.SetVisible(true);
    }
    if (exists(info.InventoryPicture1)) {
      Button().SetPicture(
          LoadMediaPicture(project_, pictures_, folders.InventoryFolder + info.InventoryPicture1));
    }
  } catch (const RuntimeError&) {
    // The bar works without its pictures.
  }
}

void Inventory::BringToFront() {
  if (!game_) return;
  ui::ControlArray& items = Items();
  for (int k = 1; k <= ObjectsCount; ++k) {
    if (ui::Control* item = items.Find(k)) item->ZOrder(0);
  }
  Button().ZOrder(0);
  Panel().ZOrder(0);
}

void Inventory::HideInventoryButton() {
  if (!game_ || !project_.Info().InventoryAnimated) return;
  ui::PictureBox& panel = Panel();
  panel.SetTop(-panel.Height());
  Button().SetVisible(false);
}

void Inventory::ShowInventoryButton() {
  if (!game_ || !project_.Info().InventoryAnimated) return;
  Button().SetVisible(true);
}

ui::ControlArray& Inventory::Items() {
  ui::ControlArray* array = game_->Form().FindArray("PickedObject");
  if (!array) throw RuntimeError(kErrNoArrayElement);
  return *array;
}

ui::PictureBox& Inventory::Panel() {
  return game_->Form().Get<ui::PictureBox>("Inventory1");
}

ui::Image& Inventory::Button() {
  return game_->Form().Get<ui::Image>("Inventory2");
}

ui::Image& Inventory::Background() {
  return game_->Form().Get<ui::Image>("Inventory_Background");
}

ui::TimerControl& Inventory::Timer() {
  return game_->Form().Get<ui::TimerControl>("TimerInventory");
}

}  // namespace sl
