// Loading a frame's hotspots into the `Area` control array and removing them again, and the
// helpers the other hotspot files share.
#include <string>

#include "core/case_fold.h"
#include "core/data_file_reader.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "player/engine/game.h"
#include "player/hotspots/area_record.h"
#include "player/hotspots/hotspots.h"
#include "player/startup/media_picture.h"
#include "player/startup/project.h"
#include "player/startup/shared_routines.h"
#include "ui/control_array.h"
#include "ui/controls/image.h"
#include "ui/controls/picture_box.h"
#include "ui/draw/picture_cache.h"
#include "ui/draw/units.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

Hotspots::Hotspots(Project& project, VariableStore& variables, draw::PictureCache& pictures,
                   ui::WindowManager& windows)
    : project_(project), variables_(variables), pictures_(pictures), windows_(windows) {}

void Hotspots::Attach(Game& game) {
  game_ = &game;
  WireMouseHandlers();
}

void Hotspots::LoadAreas() {
  if (!game_) return;
  Game& g = *game_;
  std::string base = project_.Folders().FramesDataFolder + g.CurrentFrameName;
  bool merged = FileExists(base + ".mr2");
  if (!merged && !FileExists(base + ".fm2")) return;
  MergedHotspotIndex = 1;
  DataFileReader reader("");
  try {
    reader = OpenFile(base + (merged ? ".mr2" : ".fm2"));
  } catch (const RuntimeError& e) {
    ReportLoadError(0, e.Description());
    return;
  }
  int n = 0;
  while (!reader.Eof() && !g.GameStopping()) {
    ++n;
    LoadOneArea(reader, n);
  }
}

void Hotspots::LoadOneArea(DataFileReader& reader, int n) {
  Game& g = *game_;
  ui::ControlArray& areas = Array("Area");
  AreaRecord a;
  try {
    a = ReadAreaRecord(reader);
  } catch (const RuntimeError& e) {
    // The hotspot keeps its number (later numbers must not shift); it stays empty and hidden.
    ReportLoadError(n, e.Description());
    reader.SkipRecord();  // on to the end of the record
    if (!areas.Exists(n)) areas.Load(n).SetVisible(false);
    return;
  }
  if (a.mergeFlag == 1 && n != 1 && MergedHotspotIndex == 1) MergedHotspotIndex = n;
  // Each step below goes on after a failure of the one before, as one bad picture must not
  // stop the rest of the hotspot.
  auto step = [&](auto&& statement) {
    try {
      statement();
    } catch (const RuntimeError& e) {
      ReportLoadError(n, e.Description());
    }
  };
  if (a.hasPicture && a.animated != 0) {
    step([&] {
      ui::Control& c = areas.Load(n);
      c.SetVisible(false);
      static_cast<ui::Image&>(c).SetPicture(draw::Picture());
      c.Move(0, 0, draw::PixelsToTwips(1), draw::PixelsToTwips(1));
    });
    step([&] {
      int k = g.Subsystems().effects->AniGifNewWithIndex(
          n, project_.FindMediaFile(project_.Folders().AreasFolder + a.picture), a.left + 30,
          a.top + 30, Val(a.speed));
      if (k > 0) animated_[n] = k;
    });
    step([&] {
      auto it = animated_.find(n);
      if (it == animated_.end()) return;
      if (ui::Control* box = Array("AniGifBox").Find(it->second)) ApplyPointer(*box, a.pointer);
    });
    return;
  }
  if (g.GameStopping()) return;
  ui::Image* image = nullptr;
  step([&] { image = &static_cast<ui::Image&>(areas.Load(n)); });
  if (!image) return;
  step([&] {
    image->Move(a.left + 30, a.top + 30, a.width - 60 >= 1 ? a.width - 60 : 1,
                a.height - 60 >= 1 ? a.height - 60 : 1);
  });
  step([&] { image->SetStretch(a.stretch == 1); });
  step([&] {
    image->SetPicture(a.hasPicture ? LoadMediaPicture(project_, pictures_,
                                                      project_.Folders().AreasFolder + a.picture)
                                   : draw::Picture());
  });
  if (g.GameStopping()) return;
  step([&] { ApplyPointer(*image, a.pointer); });
  step([&] { image->ZOrder(0); });
}

void Hotspots::ApplyPointer(ui::Control& control, const std::string& pointerFile) {
  if (IsNoneOrDefault(pointerFile)) {
    ApplyDefaultPointer(control);
    return;
  }
  control.SetMousePointer(99);
  control.SetMouseIcon(
      LoadMediaPicture(project_, pictures_, project_.Folders().IconsFolder + pointerFile));
}

void Hotspots::ResetFrameAreas() {
  animated_.clear();
  if (!game_) return;
  auto ignoring = [](auto&& statement) {
    try {
      statement();
    } catch (const RuntimeError&) {
    }
  };
  // Removes the highest element while there is one above the template; stops should an
  // element refuse to go, rather than trying it for ever.
  auto unloadAll = [&](ui::ControlArray* array, auto&& before) {
    if (!array) return;
    while (array->UBound() >= 1) {
      int k = array->UBound();
      before(k);
      ignoring([&] { array->Unload(k); });
      if (array->UBound() == k) return;
    }
  };
  ui::Form& form = game_->Form();
  unloadAll(form.FindArray("Area"), [](int) {});
  ui::ControlArray* aniGif = form.FindArray("AniGif");
  ui::ControlArray* boxes = form.FindArray("AniGifBox");
  unloadAll(aniGif, [&](int k) {
    ignoring([&] {
      if (boxes && boxes->Exists(k)) boxes->Item(k).SetVisible(false);
    });
  });
  unloadAll(boxes, [](int) {});
}

int Hotspots::AnimatedIndex(int hotspot) const {
  auto it = animated_.find(hotspot);
  return it == animated_.end() ? 0 : it->second;
}

void Hotspots::ReportLoadError(int n, const std::string& description) {
  if (game_ && game_->GameStopping()) return;
  project_.ShowError(" Unable to load hotspot #" + std::to_string(n) + ". " + description);
}

bool Hotspots::FileExists(const std::string& path) {
  return project_.Paths().FileExists(path);
}

DataFileReader Hotspots::OpenFile(const std::string& path) {
  return DataFileReader(project_.Paths().ReadFile(path));
}

ui::ControlArray& Hotspots::Array(const char* name) {
  ui::ControlArray* array = game_->Form().FindArray(name);
  if (!array) throw RuntimeError(kErrNoArrayElement);
  return *array;
}

}  // namespace sl
