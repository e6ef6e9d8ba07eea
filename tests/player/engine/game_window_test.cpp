// The game window on fixture projects: start-up, Start, frame timers and going back, the debug
// menu and its key sequence, history trimming, menus by Esc and right click, Ctrl+Q, the way
// back to the title window, the skipped title screen, window and picture geometry.
#include <gtest/gtest.h>

#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"

namespace sl {
namespace {

using test::GameRun;

constexpr int kF2 = 113, kF5 = 116, kF7 = 118, kF9 = 120;

std::vector<std::string> V(std::initializer_list<const char*> names) {
  return {names.begin(), names.end()};
}

struct Started : GameRun {
  Started() : GameRun("game_frames") {
    Start();
    Title().ClickButton(0);
  }
};

TEST(GameWindowTest, MissingProjectInformationEndsTheProgramWithAMessage) {
  GameRun run("game_no_general");
  run.Start();
  EXPECT_TRUE(run.player->Ended());
  ASSERT_FALSE(run.boxes.Shown().empty());
  EXPECT_EQ(run.boxes.Shown()[0].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(run.boxes.Shown()[0].text.ends_with("Config/General"));
  EXPECT_FALSE(run.Title().Form().Visible());
  EXPECT_EQ(run.player->GetGame(), nullptr);
}

TEST(GameWindowTest, StartOpensTheInitialFrameAndHidesTheTitle) {
  GameRun run("game_frames");
  run.Start();
  EXPECT_TRUE(run.Title().Form().Visible());
  EXPECT_EQ(run.player->GetGame(), nullptr);
  run.Title().ClickButton(0);
  EXPECT_FALSE(run.Title().Form().Visible());
  EXPECT_TRUE(run.G().Form().Visible());
  EXPECT_EQ(run.frames, V({"Start"}));
  PlayerState s = run.player->State();
  EXPECT_EQ(s.frame, "Start");
  EXPECT_EQ(s.history, V({"Start"}));
  EXPECT_TRUE(s.frameTimerEnabled);
  EXPECT_EQ(s.frameTimerInterval, 1500);
  EXPECT_EQ(s.frameTimerTarget, "Hall");
  EXPECT_FALSE(s.menus);
  EXPECT_TRUE(run.boxes.Shown().empty());
}

TEST(GameWindowTest, FrameTimerMovesOnAndGoesBackToTheLastVisitedFrame) {
  Started run;
  run.Wait(1499);
  EXPECT_EQ(run.G().CurrentFrameName, "Start");
  run.Wait(1);
  EXPECT_EQ(run.G().CurrentFrameName, "Hall");
  EXPECT_EQ(run.G().History().Names(), V({"Start", "Hall"}));
  run.Wait(1000);  // "[LAST Visited frame]" goes back, whatever its letter case
  EXPECT_EQ(run.G().CurrentFrameName, "Start");
  EXPECT_EQ(run.G().History().Names(), V({"Start"}));
  EXPECT_EQ(run.frames, V({"Start", "Hall", "Start"}));
}

TEST(GameWindowTest, GoingBackWithOnlyTheCurrentFrameDoesNothingAndTheTimerKeepsFiring) {
  Started run;
  run.G().OpenFrame("Hall");
  run.G().SetFramesHistory({"Hall"});
  run.Wait(3000);
  EXPECT_EQ(run.G().CurrentFrameName, "Hall");
  EXPECT_TRUE(run.G().Timer1().TimerEnabled());
  EXPECT_GE(run.G().Timer1().Inner().TickCount(), 3);
}

TEST(GameWindowTest, DebugKeySequenceRevealsTheDebugMenuOnlyWithoutInterruption) {
  Started run;
  for (int k : {kF2, kF7, kF9})
    run.Key(k);
  run.Key('A');
  run.Key(kF5);
  EXPECT_FALSE(run.MenuVisible("mnuDebug"));
  for (int k : {kF2, kF7, kF9, kF5})
    run.Key(k);
  EXPECT_TRUE(run.MenuVisible("mnuDebug"));
  EXPECT_TRUE(run.G().MenusShown());
  run.G().ShowMenus();
  EXPECT_FALSE(run.MenuVisible("mnuDebug"));
}

TEST(GameWindowTest, DebugFrameListJumpsAndTheHistoryKeepsTwentyFrames) {
  Started run;
  // Frame files sorted without regard to case: C01..C22, Hall, Start, X.
  auto& item1 = static_cast<ui::Menu&>(*run.G().Form().FindControl("mnuFrameName(1)"));
  EXPECT_EQ(item1.Caption(), "C01");
  EXPECT_EQ(static_cast<ui::Menu&>(*run.G().Form().FindControl("mnuFrameName(25)")).Caption(), "X");
  run.Menu("mnuFrameName(1)");
  EXPECT_EQ(run.G().CurrentFrameName, "C01");
  run.Wait(2200);
  EXPECT_EQ(run.G().CurrentFrameName, "C22");
  const auto& names = run.G().History().Names();
  ASSERT_EQ(names.size(), 20u);
  EXPECT_EQ(names.front(), "C03");
  EXPECT_EQ(names.back(), "C22");
  EXPECT_FALSE(run.G().Timer1().TimerEnabled());
}

TEST(GameWindowTest, BrokenFramesAreReportedAndMissingOnesChangeNothing) {
  Started run;
  run.G().OpenFrame("Nowhere");
  ASSERT_EQ(run.boxes.Shown().size(), 1u);
  EXPECT_NE(run.boxes.Shown()[0].text.find("The frame named \"Nowhere\" was not found."),
            std::string::npos);
  EXPECT_EQ(run.G().CurrentFrameName, "Start");
  EXPECT_TRUE(run.G().Timer1().TimerEnabled());
  run.G().OpenFrame("");
  EXPECT_TRUE(run.boxes.Shown()[1].text.ends_with(" A program link is broken."));
  run.G().OpenFrame("X");  // header only: the full read runs past the end
  ASSERT_EQ(run.boxes.Shown().size(), 3u);
  EXPECT_NE(run.boxes.Shown()[2].text.find("Unable to load the frame called 'X'."),
            std::string::npos);
  EXPECT_TRUE(run.boxes.Shown()[2].text.ends_with("Input past end of file"));
}

TEST(GameWindowTest, EscAndTheRightButtonToggleTheMenus) {
  Started run;
  EXPECT_FALSE(run.G().MenusShown());
  run.Key(27);
  EXPECT_TRUE(run.MenuVisible("mnuExit"));
  EXPECT_TRUE(run.MenuVisible("mnuOptions"));
  run.Key(27);
  EXPECT_FALSE(run.G().MenusShown());
  run.Click(5, 5, ui::kButtonRight);
  EXPECT_TRUE(run.G().MenusShown());
  run.Click(5, 5, ui::kButtonRight);
  EXPECT_FALSE(run.G().MenusShown());
  run.Click(5, 5, ui::kButtonRight);
  run.Click(5, 5, ui::kButtonLeft);
  EXPECT_FALSE(run.G().MenusShown());
  EXPECT_TRUE(run.G().MovieStopRequested());
  // The frame picture's background takes the same presses (the picture starts at 352, 264).
  run.Click(400, 300, ui::kButtonRight);
  EXPECT_TRUE(run.G().MenusShown());
  // A drop-down opened from the options menu keeps the bar on a right press.
  run.G().Menu("mnuOptions").Choose();
  run.Click(400, 300, ui::kButtonRight);
  EXPECT_TRUE(run.G().MenusShown());
  run.Click(400, 300, ui::kButtonLeft);
  EXPECT_FALSE(run.G().MenusShown());
}

TEST(GameWindowTest, CtrlQAsksAndGoesBackToTheTitleWindow) {
  Started run;
  run.boxes.QueueAnswer(MsgAnswer::No);
  run.Key('Q', ui::kCtrlMask);
  ASSERT_EQ(run.boxes.Shown().size(), 1u);
  const MessageBoxRequest& ask = run.boxes.Shown()[0];
  EXPECT_EQ(ask.title, "Fixture Frames");
  EXPECT_EQ(ask.text, run.player->GetProject().Texts()[10]);
  EXPECT_EQ(ask.buttons, MsgButtons::YesNo);
  EXPECT_EQ(ask.icon, MsgIcon::Question);
  run.Wait(200);
  EXPECT_TRUE(run.G().Loaded());
  run.boxes.QueueAnswer(MsgAnswer::Yes);
  run.Key('Q', ui::kCtrlMask);
  run.Wait(99);
  EXPECT_TRUE(run.G().Loaded());
  run.Wait(1);
  EXPECT_FALSE(run.G().Loaded());
  EXPECT_TRUE(run.Title().Form().Visible());
  EXPECT_FALSE(run.player->Ended());
  // A second game starts afresh.
  run.Title().ClickButton(0);
  EXPECT_EQ(run.G().History().Names(), V({"Start"}));
}

TEST(GameWindowTest, FullScreenWindowCentresThePicture) {
  Started run;
  ui::Form& f = run.G().Form();
  EXPECT_EQ(f.Width(), 1024 * 15);
  EXPECT_EQ(f.Height(), 768 * 15);
  EXPECT_EQ(f.Caption(), "");
  ui::PictureBox& p = run.G().PictureBox();
  EXPECT_EQ(p.Width(), 4800);
  EXPECT_EQ(p.Height(), 3600);
  EXPECT_EQ(p.Left(), 7680 - 2400);
  EXPECT_EQ(p.Top(), 5760 - 1800);
}

TEST(GameWindowTest, SkippedTitleScreenStartsWindowedAndExitEndsTheProgram) {
  GameRun run("game_windowed");
  run.Start();
  EXPECT_FALSE(run.Title().Form().Visible());
  ASSERT_NE(run.player->GetGame(), nullptr);
  Game& g = run.G();
  EXPECT_TRUE(g.Form().Visible());
  EXPECT_EQ(g.CurrentFrameName, "Tiles");
  EXPECT_EQ(g.Form().ScaleWidth(), 9600);
  EXPECT_EQ(g.Form().ScaleHeight(), 7200);
  EXPECT_EQ(g.Form().Caption(), "Fixture Windowed ");
  EXPECT_TRUE(g.MenusShown());
  run.Key(27);  // menus always shown: Esc does not hide them
  EXPECT_TRUE(g.MenusShown());
  run.Wait(2000);
  EXPECT_EQ(g.CurrentFrameName, "Picture");
  EXPECT_TRUE(run.boxes.Shown().empty());
  run.boxes.QueueAnswer(MsgAnswer::Yes);
  run.Menu("mnuExit");
  run.Wait(100);
  EXPECT_TRUE(run.player->Ended());
  EXPECT_TRUE(run.Loop().QuitRequested());
}

TEST(GameWindowTest, ResetTwiceLeavesTheSameState) {
  Started run;
  run.Wait(1500);
  run.G().ResetAll();
  run.G().ResetAll();
  EXPECT_TRUE(run.G().History().Names().empty());
  EXPECT_FALSE(run.G().Timer1().TimerEnabled());
  EXPECT_EQ(run.G().Form().FindArray("mnuFrameName")->Count(), 26);
  EXPECT_FALSE(run.G().Menu("mnuDisableTransitions").Checked());
  EXPECT_FALSE(run.G().GameStopping());
}

}  // namespace
}  // namespace sl
