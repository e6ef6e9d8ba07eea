// The inventory bar's slide: it heads for open while the pointer is over the inventory (or a
// pop-up asks for it) and for closed while the pointer is over the frame, travelling its height
// in 0.3 second; and the pop-up timer that closes it again.
#include <cmath>

#include "player/engine/game.h"
#include "player/inventory/inventory.h"
#include "player/startup/project.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

// One pass of the slide waits this long for events: about a frame of the display, so the slide
// is smooth and the processor rests between passes.
constexpr std::int64_t kPassMs = 15;
// Five passes of the full travel time (0.3 s): the step is re-measured every fifth pass.
constexpr double kFivePassesTravel = 1.5;

}  // namespace

void Inventory::Inventory_Move() {
  if (!game_) return;
  moving_ = true;
  ui::EventLoop& loop = windows_.Loop();
  double t0 = static_cast<double>(loop.NowMs()) / 1000.0;
  double step = 0;
  int c = 0;
  while (MovePass(t0, step, c)) {
    // Pending events run (mouse moves may turn the slide round) while the pass waits.
    loop.DoEventsWait(loop.NowMs() + kPassMs);
  }
  moving_ = false;
}

// One pass of the slide; false when the bar is where the zone wants it (or the program ends).
bool Inventory::MovePass(double& t0, double& step, int& c) {
  Game& g = *game_;
  const ProjectInformation& info = project_.Info();
  ui::EventLoop& loop = windows_.Loop();
  ui::PictureBox& panel = Panel();
  for (;;) {
    if (loop.QuitRequested() || !g.Loaded()) return false;
    double h = panel.Height();
    double top = panel.Top();
    std::int16_t zone = g.PointerZone;
    if ((zone == kZoneFrame && top <= -h) || zone == kZoneUnknown ||
        (zone == kZoneInventory && top >= 0)) {
      return false;
    }
    if (OpenRequest) g.PointerZone = zone = kZoneInventory;
    c = (c + 1) % 5;
    if (c == 2) {
      double now = static_cast<double>(loop.NowMs()) / 1000.0;
      step = (now - t0) * h / kFivePassesTravel;
      t0 = now;
    }
    if (zone == kZoneInventory) {
      if (!info.InventorySlideIn) {
        panel.SetTop(0);
        continue;  // the next pass sees it open
      }
      double n = std::nearbyint(top + step);
      panel.SetTop(n < 0 ? n : 0);
    } else {
      if (!info.InventorySlideOut) {
        panel.SetTop(-h);
        continue;
      }
      double n = std::nearbyint(top - step);
      panel.SetTop(n <= -h ? -h : n);
    }
    return true;
  }
}

void Inventory::TimerInventory_Timer() {
  if (!game_) return;
  Timer().SetEnabled(false);
  OpenRequest = false;
  const ProjectInformation& info = project_.Info();
  if (!info.InventorySlideOut) return;
  game_->PointerZone = kZoneFrame;
  if (!moving_ && info.InventoryAnimated) Inventory_Move();
}

}  // namespace sl
