// The visibility pass: which hotspots of the current frame show, from the disappeared list and
// each hotspot's variable conditions.
#include "core/data_file_reader.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/hotspots/hotspots.h"
#include "player/startup/project.h"
#include "player/variables/variable_store.h"
#include "ui/control_array.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

// Reads a list of variable names; true when every one passes (a name that is no variable
// passes whatever the list asks).
bool ListPasses(DataFileReader& r, const VariableStore& store, std::int16_t expected) {
  std::int16_t count = r.ReadInteger();
  for (std::int16_t i = 0; i < count; ++i) {
    std::int16_t value = store.GetVariableValue(r.ReadString());
    if (value != expected && value != VariableStore::kUnknownVariable) return false;
  }
  return true;
}

void FinishRecord(DataFileReader& r) {
  if (r.SeparatorOrEndNext()) {
    if (!r.Eof()) r.Skip(1);
    return;
  }
  while (r.ReadString() != DataFileReader::kSeparator) {
  }
}

}  // namespace

void Hotspots::ShowOrNotShowAreas() {
  if (!game_) return;
  Game& g = *game_;
  std::string base = project_.Folders().FramesDataFolder + g.CurrentFrameName;
  bool merged = FileExists(base + ".mr2");
  if (!merged && !FileExists(base + ".fm2")) return;
  try {
    DataFileReader r = OpenFile(base + (merged ? ".mr2" : ".fm2"));
    ui::ControlArray& areas = Array("Area");
    std::int16_t i = 0;
    while (!r.Eof() && !g.GameStopping()) {
      if (i == 32767) throw RuntimeError(kErrOverflow);
      ++i;
      r.Skip(10);
      bool visible = !variables_.IsDisappeared(g.CurrentFrameName, i);
      if (visible) {
        r.Skip(9);
        if (r.ReadDouble() != 0) {
          visible = ListPasses(r, variables_, 1) && ListPasses(r, variables_, 0);
        }
      }
      FinishRecord(r);
      areas.Item(i).SetVisible(visible);
      int k = AnimatedIndex(i);
      if (k > 0) ShowAnimated(k, visible);
    }
  } catch (const RuntimeError& e) {
    if (!g.GameStopping())
      project_.ShowError(" Unable to set hotspots visibility. " + e.Description());
  }
}

void Hotspots::ShowAnimated(int k, bool visible) {
  EffectsSubsystem& effects = *game_->Subsystems().effects;
  ui::EventLoop& loop = windows_.Loop();
  try {
    ui::Control& box = Array("AniGifBox").Item(k);
    if (box.Visible() && !visible) {
      effects.AniGifStop(k);
      loop.DoEvents();
    } else if (!box.Visible() && visible) {
      // Shown again, the animation starts from its first picture.
      effects.AniGifStop(k);
      loop.DoEvents();
      effects.AniGifPlay(k);
      loop.DoEvents();
    }
    box.SetVisible(visible);
  } catch (const RuntimeError&) {
  }
}

}  // namespace sl
