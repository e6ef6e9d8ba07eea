// Loading, ticking and switching the rippling water.
#include "player/effects/rippling_water.h"

#include <algorithm>
#include <new>

#include "core/data_file_reader.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/startup/project.h"
#include "ui/controls/menu.h"
#include "ui/controls/timer_control.h"
#include "ui/draw/picture_cache.h"
#include "ui/draw/units.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

namespace {}

RipplingWater::RipplingWater(Project& project, ui::WindowManager& windows,
                             draw::PictureCache& pictures)
    : project_(project), windows_(windows), pictures_(pictures) {}

RipplingWater::~RipplingWater() = default;

void RipplingWater::Attach(Game& game) {
  game_ = &game;
}

ui::PictureBox& RipplingWater::SurfaceBox() {
  return game_->Form().Get<ui::PictureBox>("PicRipplingWater");
}

std::int64_t RipplingWater::VexelTime(int mode) {
  std::int64_t now = windows_.Loop().NowMs();
  if (mode == 1) timeBase_ = now;
  return now - timeBase_;
}

void RipplingWater::PaintOverlay(draw::Surface& target, draw::Point at, draw::Size /*client*/) {
  target.Blit(water_.Image(), at.x, at.y, {draw::BlendMode::kCopy});
}

void RipplingWater::RenderFrame() {
  water_.Render(WavePhase(settings_, VexelTime(0)), settings_.waveParameter);
  SurfaceBox().Invalidate();
}

bool RipplingWater::LoadWaveEffectIfAny(const std::string& frame) {
  if (!game_) return false;
  Game& g = *game_;
  g.RipplingWaterActive = false;
  settings_.reverse = false;
  PathResolver& paths = project_.Paths();
  std::string base = project_.Folders().FramesFolder + frame;
  if (!paths.FileExists(base + ".rwe") || !paths.FileExists(base + ".rwm")) return false;
  try {
    DataFileReader reader(paths.ReadFile(base + ".rwe"));
    settings_ = ReadWaveSettings(reader);
    const WaveSettings& s = settings_;
    // Only the part of the rectangle on the frame picture can ripple; this also bounds what
    // a broken file can make the player allocate.
    ui::PictureBox& frameBox = g.PictureBox();
    draw::Size client = frameBox.ClientSize();
    draw::Rect asked{s.left, s.top, s.width, s.height};
    draw::Rect region = asked.Intersect({0, 0, client.width, client.height});
    ui::PictureBox& surface = SurfaceBox();
    surface.SetBorderStyle(0);
    surface.Move(draw::PixelsToTwips(region.x), draw::PixelsToTwips(region.y),
                 draw::PixelsToTwips(std::max(region.width, 0)),
                 draw::PixelsToTwips(std::max(region.height, 0)));
    draw::Picture mask;
    try {
      std::optional<std::string> real = paths.Find(base + ".rwm");
      if (!real) return false;
      mask = pictures_.Load(*real);
    } catch (const RuntimeError&) {
      return false;  // a mask that cannot be read leaves the water off without a word
    }
    if (region.Empty()) return false;
    draw::Surface original(region.width, region.height, draw::kBlack);
    draw::Point o = frameBox.ClientOrigin();
    frameBox.Paint(original, {-region.x - o.x, -region.y - o.y});
    water_.Prepare(std::move(original), mask.Image().Crop({region.x - asked.x, region.y - asked.y,
                                                           region.width, region.height}));
    VexelTime(1);
    RenderFrame();
    surface.SetOverlay(this);
    g.RipplingWaterActive = true;
    surface.SetVisible(true);
    g.TimerRipplingWater().SetInterval(kTickMs);
    return true;
  } catch (const RuntimeError& e) {
    g.TimerRipplingWater().SetEnabled(false);
    ReportError(" Error initializing the Rippling Water effect. ", e.Description());
  } catch (const std::bad_alloc&) {
    g.TimerRipplingWater().SetEnabled(false);
    ReportError(" Error initializing the Rippling Water effect. ",
                std::string(RuntimeError::StandardDescription(7)));
  }
  return false;
}

void RipplingWater::TimerRipplingWater_Timer() {
  if (!game_) return;
  Game& g = *game_;
  ui::TimerControl& timer = g.TimerRipplingWater();
  if (g.GameStopping()) {
    timer.SetEnabled(false);
    return;
  }
  if (!timer.TimerEnabled() || !g.RipplingWaterActive) return;
  tickRunning_ = true;
  try {
    RenderFrame();
    if (g.Form().MousePointer() != 0) g.Form().SetMousePointer(0);
  } catch (const RuntimeError& e) {
    g.RipplingWaterActive = false;
    timer.SetEnabled(false);
    ReportError(" Error rendering rippling water. ", e.Description());
  }
  if (!g.RipplingWaterActive) timer.SetEnabled(false);
  tickRunning_ = false;
}

void RipplingWater::Stop() {
  Game& g = *game_;
  ui::TimerControl& timer = g.TimerRipplingWater();
  if (timer.TimerEnabled()) {
    timer.SetEnabled(false);
    ui::EventLoop& loop = windows_.Loop();
    std::int64_t deadline = loop.NowMs() + kStopWaitMs;
    while (tickRunning_ && loop.NowMs() <= deadline && !loop.QuitRequested())
      loop.DoEventsWait(deadline);
  }
  g.RipplingWaterActive = false;
  ui::PictureBox& surface = SurfaceBox();
  surface.SetVisible(false);
  surface.SetOverlay(nullptr);
}

void RipplingWater::EnableOrDisableEffects() {
  if (!game_) return;
  Game& g = *game_;
  try {
    ui::Menu& item = g.Menu("mnuDisableEffects");
    item.SetChecked(!item.Checked());
    windows_.GetPlatform().Settings().Save("Software", project_.Info().ProjectName,
                                           "DisableEffects", item.Checked() ? "True" : "False");
  } catch (const std::exception&) {
  }
  try {
    if (!g.EffectsEnabled()) {
      Stop();
      return;
    }
    if (g.BackgroundKind == 1 && !g.BackgroundTiled && LoadWaveEffectIfAny(g.CurrentFrameName)) {
      VexelTime(1);
      g.TimerRipplingWater().SetEnabled(true);
    }
  } catch (const std::exception&) {
  }
}

void RipplingWater::ReportError(const std::string& sentence, const std::string& description) {
  project_.ShowError(sentence + description);
}

}  // namespace sl
