// Rippling water: a frame whose background is a picture may have one rectangle in which the
// picture ripples, inside the shape of a mask. The frame's ".rwe" file holds the rectangle and
// the wave's settings, its ".rwm" picture the mask. LoadWaveEffectIfAny prepares the effect when
// the frame opens; the rippling-water timer (30 ms) redraws it on each tick, from the time since
// it was (re)started; "Disable Real-Time Effects" switches it off and on.
//
// API:
//   RipplingWater water(project, windows, pictures);
//   water.Attach(game);
//   if (water.LoadWaveEffectIfAny("Harbour")) { water.VexelTime(1); timer.SetEnabled(true); }
//   water.TimerRipplingWater_Timer();      // the timer's tick
#pragma once

#include <cstdint>
#include <string>

#include "player/effects/water_surface.h"
#include "player/effects/wave_settings.h"
#include "ui/controls/picture_box.h"

namespace sl {

class Game;
class Project;
namespace draw {
class PictureCache;
}
namespace ui {
class WindowManager;
}

class RipplingWater final : public ui::PictureBoxOverlay {
 public:
  static constexpr int kTickMs = 30;
  // How long switching the effect off waits for a tick at work.
  static constexpr int kStopWaitMs = 5000;

  RipplingWater(Project& project, ui::WindowManager& windows, draw::PictureCache& pictures);
  ~RipplingWater() override;
  RipplingWater(const RipplingWater&) = delete;
  RipplingWater& operator=(const RipplingWater&) = delete;

  void Attach(Game& game);

  // Prepares and shows the effect of `frame` when both its files exist; true when it did (the
  // game's RipplingWaterActive is then set). The timer is left to the caller.
  bool LoadWaveEffectIfAny(const std::string& frame);
  void TimerRipplingWater_Timer();
  void EnableOrDisableEffects();
  // Mode 1 restarts the wave's clock; mode 0 gives the milliseconds since then.
  std::int64_t VexelTime(int mode);
  bool TickRunning() const { return tickRunning_; }

  const WaveSettings& Settings() const { return settings_; }
  const WaterSurface& Surface() const { return water_; }

  void PaintOverlay(draw::Surface& target, draw::Point at, draw::Size client) override;

 private:
  ui::PictureBox& SurfaceBox();
  void RenderFrame();
  void Stop();
  void ReportError(const std::string& sentence, const std::string& description);

  Project& project_;
  ui::WindowManager& windows_;
  draw::PictureCache& pictures_;
  Game* game_ = nullptr;
  WaveSettings settings_;
  WaterSurface water_;
  std::int64_t timeBase_ = 0;
  bool tickRunning_ = false;
};

}  // namespace sl
