// Transitions in play, in-process on the effects fixture with a virtual clock: the stills,
// the frozen cover of the cross-fade, the passes (one per 60 Hz refresh, the last exactly at the
// end, with the sound fades following), a click that ends the animation, durations and numbers
// that give no animation, the switch and its setting, the held timers, an abandoned opening and
// a script's frame request with a transition.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "player/effects/effects.h"
#include "player/effects/frame_capture.h"
#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "ui/control_array.h"
#include "ui/controls/menu.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/draw/image_compare.h"
#include "ui/draw/png_io.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {
namespace {

constexpr draw::Pixel kRed = draw::OpaquePixel(255, 0, 0);
constexpr draw::Pixel kBlue = draw::OpaquePixel(0, 0, 255);

// What the sound subsystem hears of a transition: every step of the fades, with the clock, the
// held timers and, at the first pass past half way, the game window as it is shown.
class FadeRecorder final : public SoundSubsystem {
 public:
  struct Step {
    std::int64_t ms;
    double progress;
    bool timer1;
    bool messageTimer;
  };
  void StepFades(double progress) override {
    Game& g = *game;
    steps.push_back({g.Form().Manager()->Loop().NowMs(), progress, g.Timer1().TimerEnabled(),
                     g.Form().Get<ui::TimerControl>("TimerMessageBox").TimerEnabled()});
    if (progress >= 0.5 && progress < 1 && halfWay.Empty()) {
      halfWayProgress = progress;
      halfWay = PictureArea();
    }
  }
  draw::Surface PictureArea() {
    Game& g = *game;
    const draw::Surface& s = g.Form().Manager()->Compose(g.Form());
    draw::Rect r = g.PictureBox().FormPixelBounds();
    return s.Crop(r.Offset(0, g.Form().NonClientPixels().menuBar));
  }
  Game* game = nullptr;
  std::vector<Step> steps;
  draw::Surface halfWay;
  double halfWayProgress = 0;
};

class EffectsRun : public test::GameRun {
 public:
  EffectsRun() : GameRun("effects_game", {320, 240}) {}
  void TransitionStarted(int number, double duration) override {
    started.push_back({number, duration});
  }
  void TransitionEnded(int /*number*/, double /*duration*/, std::int64_t startMs,
                       std::int64_t endMs, bool interrupted) override {
    ended.push_back({startMs, endMs, interrupted});
  }
  struct End {
    std::int64_t start;
    std::int64_t end;
    bool interrupted;
  };
  std::vector<std::pair<int, double>> started;
  std::vector<End> ended;
};

class Transitions : public ::testing::Test {
 protected:
  void SetUp() override {
    run.player->Subsystems().sound = &fades;
    run.Start();
    fades.game = &run.G();
    ASSERT_EQ(run.G().CurrentFrameName, "Dock");
  }
  Game& G() { return run.G(); }
  Effects& Fx() { return run.player->GetEffects(); }
  void Go(const std::string& frame, int number, double seconds) {
    Fx().TransitionStep1(number);
    G().OpenFrame(frame, FrameTransition{number, seconds});
  }
  ui::PictureBox& Cover() { return G().Form().Get<ui::PictureBox>("picWhere"); }
  draw::Surface Still() {
    return CaptureCurrentFrame(G(), [](int) -> const draw::Surface* { return nullptr; });
  }

  // The recorder outlives the player that calls it.
  FadeRecorder fades;
  EffectsRun run;
};

TEST_F(Transitions, StillOfTheFrameIsWhatThePlayerSees) {
  G().Form().FindArray("Area")->Item(2).SetVisible(false);
  draw::Surface still = Still();
  ASSERT_EQ(still.Dimensions(), (draw::Size{320, 240}));
  // Background, then text boxes, then hotspot pictures: the crate covers the top of the text
  // under it, and the text's three lines go on below the crate.
  EXPECT_EQ(still.GetPixel(70, 50), draw::OpaquePixel(0, 200, 0));
  EXPECT_EQ(still, fades.PictureArea());
  // The hidden hotspot's magenta picture is not part of it.
  for (int y = 152; y < 172; ++y) {
    for (int x = 202; x < 222; ++x)
      ASSERT_NE(still.GetPixel(x, y), draw::OpaquePixel(255, 0, 255)) << x << "," << y;
  }
  int textPixels = 0;
  for (int y = 66; y < 90; ++y) {
    for (int x = 60; x < 100; ++x) {
      draw::Pixel p = still.GetPixel(x, y);
      textPixels +=
          draw::PixelRed(p) > 220 && draw::PixelGreen(p) > 220 && draw::PixelBlue(p) > 220;
    }
  }
  EXPECT_GT(textPixels, 20);
  draw::ReferenceCheck check = draw::CompareWithReference(
      still, STORYLOOM_SOURCE_DIR "/tests/player/effects/data/dock_still.png",
      std::filesystem::temp_directory_path());
  EXPECT_TRUE(check.match) << check.message;
}

TEST_F(Transitions, CrossFadeFreezesTheOldFrameThenBlendsOnePassPerRefresh) {
  draw::Surface before = fades.PictureArea();
  Fx().TransitionStep1(1);
  EXPECT_TRUE(Cover().Visible());
  // The new frame loads beneath the frozen cover.
  G().OpenFrame("Red");
  EXPECT_EQ(fades.PictureArea(), before);
  std::int64_t t0 = run.Loop().NowMs();
  Fx().TransitionStep2(1, 0.5);
  EXPECT_FALSE(Cover().Visible());
  ASSERT_EQ(run.started.size(), 1u);
  EXPECT_EQ(run.started[0], (std::pair<int, double>{1, 0.5}));
  ASSERT_EQ(run.ended.size(), 1u);
  EXPECT_EQ(run.ended[0].start, t0);
  EXPECT_EQ(run.ended[0].end, t0 + 500);  // exactly the duration
  EXPECT_FALSE(run.ended[0].interrupted);
  // A pass at the start, then one at each refresh of a 60 Hz display, the last at the end; the
  // fades follow every pass and are finished once more at the end.
  ASSERT_GE(fades.steps.size(), 30u);
  EXPECT_LE(fades.steps.size(), 33u);
  EXPECT_EQ(fades.steps.front().progress, 0);
  for (std::size_t i = 1; i + 1 < fades.steps.size(); ++i) {
    std::int64_t gap = fades.steps[i].ms - fades.steps[i - 1].ms;
    EXPECT_GE(gap, 1) << i;
    EXPECT_LE(gap, 17) << i;
    EXPECT_GT(fades.steps[i].progress, fades.steps[i - 1].progress);
  }
  EXPECT_EQ(fades.steps[fades.steps.size() - 2].ms, t0 + 500);
  EXPECT_EQ(fades.steps[fades.steps.size() - 2].progress, 1);
  EXPECT_EQ(fades.steps.back().progress, 1);
  // Half way the picture is a mix of the old frame and the new red one at the pass's opacity.
  ASSERT_FALSE(fades.halfWay.Empty());
  std::uint32_t alpha = CrossFadeAlpha(fades.halfWayProgress);
  draw::Pixel old = before.GetPixel(300, 230);
  draw::Pixel mixed = fades.halfWay.GetPixel(300, 230);
  EXPECT_NEAR(draw::PixelRed(mixed), (draw::PixelRed(old) * (255 - alpha) + 255 * alpha) / 255.0,
              1);
  EXPECT_NEAR(draw::PixelGreen(mixed), draw::PixelGreen(old) * (255 - alpha) / 255.0, 1);
  // Afterwards the new frame shows as it is.
  EXPECT_EQ(fades.PictureArea().GetPixel(5, 5), kRed);
}

TEST_F(Transitions, SlidePassesPlaceBothFrames) {
  G().OpenFrame("Red");
  Go("Blue", 2, 0.4);
  ASSERT_FALSE(fades.halfWay.Empty());
  // Slide Left: the new (blue) frame has come in from the left as far as the pass says.
  int edge = static_cast<int>(std::lround(fades.halfWayProgress * 320));
  EXPECT_EQ(fades.halfWay.GetPixel(edge - 1, 100), kBlue);
  EXPECT_EQ(fades.halfWay.GetPixel(edge, 100), kRed);
  EXPECT_EQ(run.ended.at(0).end - run.ended.at(0).start, 400);
  EXPECT_EQ(fades.PictureArea().GetPixel(310, 5), kBlue);

  fades.halfWay = draw::Surface();
  Go("Red", 5, 0.4);  // Slide Down: the pictures move up
  int top = 240 - static_cast<int>(std::lround(fades.halfWayProgress * 240));
  EXPECT_EQ(fades.halfWay.GetPixel(100, top - 1), kBlue);
  EXPECT_EQ(fades.halfWay.GetPixel(100, top), kRed);
}

TEST_F(Transitions, AClickEndsTheAnimationAtOnce) {
  G().OpenFrame("Red");
  std::int64_t t0 = run.Loop().NowMs();
  run.QueueClick(100, 100, t0 + 150);
  Go("Blue", 1, 2.0);
  ASSERT_EQ(run.ended.size(), 1u);
  EXPECT_TRUE(run.ended[0].interrupted);
  EXPECT_EQ(run.ended[0].end, t0 + 150);
  EXPECT_FALSE(Cover().Visible());
  EXPECT_FALSE(Fx().TransitionInProgress());
  EXPECT_EQ(G().CurrentFrameName, "Blue");
  EXPECT_EQ(fades.PictureArea().GetPixel(5, 5), kBlue);
  EXPECT_EQ(fades.steps.back().progress, 1);
}

TEST_F(Transitions, NoAnimationForZeroDurationOrUnknownNumbers) {
  for (auto [number, seconds] : {std::pair{1, 0.0}, {3, -1.0}, {6, 0.5}, {-1, 0.5}}) {
    fades.steps.clear();
    Go(number % 2 ? "Red" : "Blue", number, seconds);
    EXPECT_TRUE(run.started.empty()) << number << " " << seconds;
    EXPECT_FALSE(Cover().Visible());
    // The fades are still finished.
    ASSERT_EQ(fades.steps.size(), 1u);
    EXPECT_EQ(fades.steps[0].progress, 1);
  }
  EXPECT_EQ(G().CurrentFrameName, "Red");
  // Transition 0 is the cross-fade.
  Go("Blue", 0, 0.1);
  EXPECT_EQ(run.started.at(0).first, 0);
  EXPECT_EQ(run.ended.at(0).end - run.ended.at(0).start, 100);
}

TEST_F(Transitions, SwitchedOffNothingIsDrawnAndTheChoiceIsKept) {
  run.Menu("mnuDisableTransitions");
  EXPECT_TRUE(G().Menu("mnuDisableTransitions").Checked());
  EXPECT_FALSE(G().TransitionsEnabled());
  EXPECT_EQ(run.platform.settings.values.at("Software|FixtureEffects|DisableTransitions"), "True");
  Fx().TransitionStep1(1);
  EXPECT_FALSE(Cover().Visible());
  G().OpenFrame("Red", FrameTransition{1, 0.5});
  EXPECT_TRUE(run.started.empty());
  EXPECT_TRUE(fades.steps.empty());
  // The channels fade over time instead, as on a change without a transition.
  EXPECT_TRUE(G().TimerAudioFade().TimerEnabled());
  Fx().EnableOrDisableTransitions();
  EXPECT_TRUE(G().TransitionsEnabled());
  EXPECT_EQ(run.platform.settings.values.at("Software|FixtureEffects|DisableTransitions"), "False");
}

TEST_F(Transitions, FrameTimerAndMessageTimerAreHeldDuringTheAnimation) {
  G().Subsystems().texts->ShowMessage("Hello", true);
  auto& messageTimer = G().Form().Get<ui::TimerControl>("TimerMessageBox");
  ASSERT_TRUE(messageTimer.TimerEnabled());
  Go("Red", 4, 0.2);
  ASSERT_FALSE(fades.steps.empty());
  for (const FadeRecorder::Step& s : fades.steps) {
    EXPECT_FALSE(s.timer1);
    EXPECT_FALSE(s.messageTimer);
  }
  EXPECT_TRUE(messageTimer.TimerEnabled());
}

TEST_F(Transitions, AnOpeningThatFailsTakesTheFrozenCoverAway) {
  Fx().TransitionStep1(1);
  ASSERT_TRUE(Cover().Visible());
  G().OpenFrame("Nowhere", FrameTransition{1, 0.5});
  EXPECT_FALSE(run.boxes.Shown().empty());  // the broken link is reported
  EXPECT_FALSE(Cover().Visible());
  EXPECT_EQ(G().CurrentFrameName, "Dock");
}

// A script asking for a frame with a transition (the script API's GoToFrame).
class FrameRequest final : public ScriptSubsystem {
 public:
  std::string FrameToLoad() override { return "Red"; }
  int TransitionNumber() override { return 3; }
  double TransitionDuration() override { return 0.25; }
};

TEST_F(Transitions, ScriptFrameRequestRunsItsTransition) {
  FrameRequest request;
  ScriptSubsystem* before = G().Subsystems().scripts;
  G().Subsystems().scripts = &request;
  EXPECT_TRUE(G().Subsystems().hotspots->OpenRequestedFrame());
  G().Subsystems().scripts = before;
  EXPECT_EQ(G().CurrentFrameName, "Red");
  ASSERT_EQ(run.started.size(), 1u);
  EXPECT_EQ(run.started[0], (std::pair<int, double>{3, 0.25}));
  EXPECT_EQ(run.ended.at(0).end - run.ended.at(0).start, 250);
}

}  // namespace
}  // namespace sl
