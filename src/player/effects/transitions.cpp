// Transitions between frames: the two steps, the paced animation and the on/off switch.
#include "player/effects/transitions.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>

#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/startup/project.h"
#include "ui/control_array.h"
#include "ui/controls/menu.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

// Longer than any game means; keeps the arithmetic of absurd durations finite.
constexpr double kMaxDurationMs = 24.0 * 3600 * 1000;

bool IsCrossFadeNumber(int number) {
  return number == 0 || number == 1;
}

}  // namespace

Transitions::Transitions(Project& project, ui::WindowManager& windows)
    : project_(project), windows_(windows) {}

Transitions::~Transitions() = default;

void Transitions::Attach(Game& game, FirstImageLookup firstImage) {
  game_ = &game;
  firstImage_ = std::move(firstImage);
}

void Transitions::InitTransitionNames() {
  names_ = {"", "Alphablending", "Slide Left", "Slide Right", "Slide Up", "Slide Down"};
}

ui::PictureBox& Transitions::CoverBox() {
  return game_->Form().Get<ui::PictureBox>("picWhere");
}

bool Transitions::TransitionsEnabled() {
  return game_ && game_->TransitionsEnabled();
}

void Transitions::EnableOrDisableTransitions() {
  if (!game_) return;
  try {
    ui::Menu& item = game_->Menu("mnuDisableTransitions");
    item.SetChecked(!item.Checked());
    windows_.GetPlatform().Settings().Save("Software", project_.Info().ProjectName,
                                           "DisableTransitions", item.Checked() ? "True" : "False");
  } catch (const std::exception&) {
    // A failed write leaves the menu item changed.
  }
}

void Transitions::ShowCover() {
  ui::PictureBox& cover = CoverBox();
  ui::PictureBox& frame = game_->PictureBox();
  cover.SetBorderStyle(0);
  cover.Move(frame.Left(), frame.Top(), frame.Width(), frame.Height());
  cover.SetOverlay(&cover_);
  cover.ZOrder(0);
  cover.SetVisible(true);
}

void Transitions::HideCover() {
  if (!game_) return;
  cover_.Clear();
  if (auto* cover = dynamic_cast<ui::PictureBox*>(game_->Form().FindControl("picWhere"))) {
    cover->SetVisible(false);
    cover->SetOverlay(nullptr);
  }
}

void Transitions::TransitionStep1(int iTransNumber) {
  if (!game_ || game_->GameStopping() || !TransitionsEnabled()) return;
  ++generation_;
  cover_.SetOldFrame(CaptureCurrentFrame(*game_, firstImage_));
  // The cross-fade keeps the old frame on screen, frozen, while the new one loads beneath;
  // the slides let the loading show.
  if (IsCrossFadeNumber(iTransNumber)) {
    cover_.Freeze();
    ShowCover();
  }
}

void Transitions::AbandonTransition() {
  if (running_) return;  // the animation that runs owns the cover
  HideCover();
}

void Transitions::TransitionStep2(int iTransNumber, double dTransitionDuration) {
  if (!game_) return;
  Game& g = *game_;
  if (g.GameStopping() || !TransitionsEnabled()) {
    HideCover();
    // The channels then fade over time as they do on a change of frame without a transition.
    if (!g.GameStopping()) g.TimerAudioFade().SetEnabled(true);
    return;
  }
  ui::TimerControl& timer1 = g.Timer1();
  auto& messageTimer = g.Form().Get<ui::TimerControl>("TimerMessageBox");
  bool timer1Was = timer1.TimerEnabled();
  bool messageTimerWas = messageTimer.TimerEnabled();
  timer1.SetEnabled(false);
  messageTimer.SetEnabled(false);
  cover_.SetNewFrame(CaptureCurrentFrame(g, firstImage_));
  RenderTransition(iTransNumber, dTransitionDuration);
  // The animated pictures start again from their first images, which the stills showed.
  if (ui::ControlArray* boxes = g.Form().FindArray("AniGifBox")) {
    std::vector<int> shown;
    for (const auto& [index, box] : boxes->Elements()) {
      if (index >= 1 && box->Visible()) shown.push_back(index);
    }
    for (int index : shown) {
      g.Subsystems().effects->AniGifStop(index);
      g.Subsystems().effects->AniGifPlay(index);
    }
  }
  if (timer1Was) timer1.SetEnabled(true);
  if (messageTimerWas) messageTimer.SetEnabled(true);
  HideCover();
}

void Transitions::RenderTransition(int number, double durationSeconds) {
  if (!game_) return;
  std::optional<TransitionKind> kind = TransitionKindOf(number);
  if (kind && durationSeconds > 0) {
    try {
      Animate(number, *kind, durationSeconds);
    } catch (const RuntimeError& e) {
      ReportRenderError(e.Description());
    } catch (const std::bad_alloc&) {
      ReportRenderError(std::string(RuntimeError::StandardDescription(7)));
    }
  }
  running_ = false;
  game_->Subsystems().sound->StepFades(1);
}

bool Transitions::Animate(int number, TransitionKind kind, double durationSeconds) {
  Game& g = *game_;
  ui::EventLoop& loop = windows_.Loop();
  running_ = true;
  g.ClearTransitionInterrupt();
  const std::uint64_t generation = generation_;
  const std::int64_t t0 = loop.NowMs();
  // The last pass falls exactly on the end, which is at least a millisecond away.
  const std::int64_t endMs =
      t0 +
      std::max<std::int64_t>(1, std::llround(std::min(durationSeconds * 1000, kMaxDurationMs)));
  if (GameObserver* o = g.Observer()) o->TransitionStarted(number, durationSeconds);
  ui::PictureBox& cover = CoverBox();
  auto over = [&] { return g.GameStopping() || loop.QuitRequested() || generation != generation_; };
  bool interrupted = false;
  cover_.Animate(kind, 0);
  ShowCover();
  for (;;) {
    std::int64_t t = loop.NowMs();
    double f = t >= endMs ? 1.0 : static_cast<double>(t - t0) / static_cast<double>(endMs - t0);
    cover_.Animate(kind, f);
    cover.Invalidate();
    if (kind == TransitionKind::kCrossFade) {
      g.Subsystems().sound->StepFades(f);
      loop.DoEvents();
    } else {
      loop.DoEvents();
      g.Subsystems().sound->StepFades(f);
    }
    if (g.TransitionInterrupted()) interrupted = true;
    if (interrupted || f >= 1 || over()) break;
    WaitForNextPass(endMs);
    if (g.TransitionInterrupted()) {
      interrupted = true;
      break;
    }
  }
  running_ = false;
  if (GameObserver* o = g.Observer())
    o->TransitionEnded(number, durationSeconds, t0, loop.NowMs(), interrupted);
  return !interrupted;
}

void Transitions::WaitForNextPass(std::int64_t endMs) {
  ui::EventLoop& loop = windows_.Loop();
  std::int64_t next = std::min(loop.GetPlatform().NextRefreshMs(loop.NowMs()), endMs);
  while (loop.NowMs() < next && !game_->TransitionInterrupted() && !loop.QuitRequested())
    loop.DoEventsWait(next);
}

void Transitions::ReportRenderError(const std::string& description) {
  if (errorReported_) return;
  project_.ShowError(
      " Error rendering the full-screen alphablending transitions. Make sure that the file "
      "'Msimg32.dll' is in your Windows\\System directory. This message will not reappear until "
      "you restart the program. " +
      description);
  errorReported_ = true;
}

}  // namespace sl
