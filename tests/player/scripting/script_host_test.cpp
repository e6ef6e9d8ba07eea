// The script host: the program built from the procedures and the code, variables by name, the
// objects scripts reach, the error report, the guards and limits, no state kept between runs,
// and the after-script step's orderings.
#include <gtest/gtest.h>

#include "player/scripting/script_fixture.h"
#include "ui/control_array.h"
#include "ui/controls/label.h"
#include "ui/controls/timer_control.h"
#include "ui/form.h"

namespace sl {
namespace {

using test::ScriptErrorText;
using test::ScriptRun;

TEST(ScriptHostTest, TheOpeningScriptAndProceduresSeeVariablesByName) {
  ScriptRun run;
  EXPECT_EQ(run.G().CurrentFrameName, "Hall");
  EXPECT_EQ(run.Text("Visits"), "1");  // the frame's opening script: Visits = Visits + 1
  EXPECT_FALSE(run.Run("Flag = Flag + 2: Counter = Twice(21): Note = \"n\" & Flag"));
  EXPECT_EQ(run.Integer("Flag"), 2);
  EXPECT_EQ(run.Integer("Counter"), 42);
  EXPECT_EQ(run.Text("Note"), "n2");
  // An integer variable keeps integers: True is -1; a fraction rounds half to even.
  EXPECT_FALSE(run.Run("Flag = True: Counter = 2.5"));
  EXPECT_EQ(run.Integer("Flag"), -1);
  EXPECT_EQ(run.Integer("Counter"), 2);
  EXPECT_TRUE(run.boxes.Shown().empty()) << run.LastBox();
}

TEST(ScriptHostTest, EachRunStartsFromTheProceduresAlone) {
  ScriptRun run;
  // The procedures' own global code runs again for every script.
  EXPECT_FALSE(run.Run("Note = Loaded"));
  EXPECT_EQ(run.Text("Note"), "1");
  // Nothing a script made is there for the next one.
  EXPECT_FALSE(run.Run("Dim kept: kept = 5: Set o = New RegExp"));
  EXPECT_FALSE(run.Run("Note = TypeName(kept) & TypeName(o) & Loaded"));
  EXPECT_EQ(run.Text("Note"), "EmptyEmpty1");
  EXPECT_TRUE(run.boxes.Shown().empty()) << run.LastBox();
}

TEST(ScriptHostTest, TheObjectsScriptsReach) {
  ScriptRun run;
  ASSERT_FALSE(run.Run(
      "Hotspot(2).Visible = False\n"
      "Note = ScreenObject.Width / ScreenObject.TwipsPerPixelX & \" \" & Hotspot.Count & \" \" & "
      "TimedEventObject.Count & \" \" & Action.GetSLVersion\n"
      "MessageObject.Caption = \"label\": FrameMessageObject.Tag = \"band\"\n"
      "Counter = Len(AppObject.Path) - Len(Replace(AppObject.Path, \"\\\", \"\"))"));
  // The hotspot stays hidden until the after-script step's visibility pass shows it again.
  EXPECT_EQ(run.Text("Note"), "1024 6 1 Version 3.3.1");
  EXPECT_EQ(run.G().Form().Get<ui::Label>("LabelMessageBox").Caption(), "label");
  EXPECT_EQ(run.G().Form().FindControl("FrameMessageBox")->Tag(), "band");
  EXPECT_GE(run.Integer("Counter"), 2);
  // The window itself only when the project allows control references.
  EXPECT_EQ(run.G().ControlsReferencesMode, 1);
  EXPECT_TRUE(run.Run("Note = TypeName(WindowObject.Timer1)"));
  EXPECT_EQ(run.LastBox(), ScriptErrorText("Object required: 'WindowObject'"));
  EXPECT_FALSE(run.Run("Action.AllowControlsReferencesNextTime"));
  EXPECT_FALSE(run.Run("Note = WindowObject.Timer1.Interval & TypeName(Timer1)"));
  EXPECT_EQ(run.Text("Note"), "0Timer");
  EXPECT_FALSE(run.Run("DoNotAllowControlsReferencesNextTime"));
  EXPECT_EQ(run.G().ControlsReferencesMode, 1);
}

TEST(ScriptHostTest, FailuresAreReportedAndChangesBeforeThemStay) {
  ScriptRun run;
  EXPECT_TRUE(run.Run("Flag = 7: x = 1 / 0: Flag = 8"));
  EXPECT_EQ(run.Integer("Flag"), 7);
  ASSERT_EQ(run.boxes.Shown().size(), 1u);
  const MessageBoxRequest& box = run.boxes.Shown()[0];
  EXPECT_EQ(box.title, "Error");
  EXPECT_EQ(box.icon, MsgIcon::Critical);
  EXPECT_EQ(box.text, ScriptErrorText("Division by zero"));
  EXPECT_TRUE(run.Run("If Then"));
  EXPECT_EQ(run.LastBox(), ScriptErrorText("Expected expression"));
  EXPECT_TRUE(run.Run("ExecuteGlobal \"Function R(n): R = R(n + 1): End Function\": R 1"));
  EXPECT_EQ(run.LastBox(), ScriptErrorText("Out of stack space"));
  // Nothing runs while the game is stopping.
  run.boxes.Clear();
  run.G().SetGameStopping();
  EXPECT_FALSE(run.Host().ExecuteVBScript("Flag = 1: x = 1 / 0", true));
  EXPECT_EQ(run.Integer("Flag"), 7);
  EXPECT_TRUE(run.boxes.Shown().empty());
}

TEST(ScriptHostTest, ARunawayScriptEndsAtTheTimeOut) {
  ScriptRun run;
  run.Host().SetTimeOut(300);
  EXPECT_TRUE(run.Run("Flag = 3: Do: Loop"));
  EXPECT_EQ(run.Integer("Flag"), 3);
  ASSERT_FALSE(run.boxes.Shown().empty());
  EXPECT_TRUE(run.LastBox().find("Error executing script.") != std::string::npos);
  EXPECT_FALSE(run.Run("Flag = 4"));  // the next script runs as usual
  EXPECT_EQ(run.Integer("Flag"), 4);
}

TEST(ScriptHostTest, AfterScriptStepOrderings) {
  ScriptRun run;
  for (auto& b : run.boxes.Shown())
    printf("BOX: %s\n", b.text.c_str());
  // A quit request beats a frame request: no frame opens, the window closes 100 ms later.
  EXPECT_FALSE(run.Run("Action.GoToFrame \"Cellar\", 0, 1: Action.Quit"));
  EXPECT_EQ(run.G().CurrentFrameName, "Hall");
  run.Wait(200);
  EXPECT_FALSE(run.G().Loaded());
}

TEST(ScriptHostTest, LastVisitedFrameInAnyCaseAndAHistoryOfOne) {
  ScriptRun run;
  // With only the current frame in the history no frame opens; the timed events restart.
  EXPECT_FALSE(run.Run("n = Action.CreateTimedEvent(1, \"Flag = 1\", False)"));
  EXPECT_FALSE(run.Run("Action.GoToFrame \"Last Visited FRAME\", 0, 1"));
  EXPECT_EQ(run.G().History().Names(), std::vector<std::string>{"Hall"});
  EXPECT_EQ(run.Action().sFrameToLoad, "");
  ASSERT_EQ(run.Host().TimedEventStates().size(), 1u);
  EXPECT_TRUE(run.Host().TimedEventStates()[0].enabled);
  EXPECT_FALSE(run.Run("Action.ResetModule: Action.GoToFrame \"Cellar\", 0, 1"));
  EXPECT_EQ(run.G().CurrentFrameName, "Cellar");
  EXPECT_TRUE(run.Host().TimedEventStates().empty());  // dropped with the frame
  EXPECT_FALSE(run.Run("Action.GoToFrame \"LAST visited frame\", 0, 1"));
  EXPECT_EQ(run.G().CurrentFrameName, "Hall");
  EXPECT_EQ(run.G().History().Names(), std::vector<std::string>{"Hall"});
}

TEST(ScriptHostTest, HotspotProcedureSeesItsNumberAndTheClick) {
  ScriptRun run;
  run.Control("Area(1)");
  EXPECT_EQ(run.Integer("Counter"), 1);
  EXPECT_EQ(run.Text("Note"), "hotspot 1 at 30,30");
  run.Control("Area(2)");  // asks for the cellar
  EXPECT_EQ(run.G().CurrentFrameName, "Cellar");
  run.Control("Area(1)");  // back through "last visited frame"
  EXPECT_EQ(run.G().CurrentFrameName, "Hall");
  run.Control("Area(3)");  // asks for the cellar and to quit: quitting wins
  EXPECT_EQ(run.G().CurrentFrameName, "Hall");
  EXPECT_TRUE(run.boxes.Shown().empty()) << run.LastBox();
}

TEST(ScriptHostTest, TimerObjectsRunTheirProcedure) {
  ScriptRun run;
  auto& timer = static_cast<ui::TimerControl&>(run.G().Form().FindArray("TimerObject")->Item(0));
  timer.SetInterval(100);
  timer.SetEnabled(true);
  run.Wait(250);
  EXPECT_EQ(run.Integer("Counter"), 20);  // TimerObject0 adds 10 at every tick
  // While the game stops, a tick switches its timer off.
  run.G().SetGameStopping();
  run.Wait(100);
  EXPECT_FALSE(timer.TimerEnabled());
  EXPECT_EQ(run.Integer("Counter"), 20);
  EXPECT_TRUE(run.boxes.Shown().empty()) << run.LastBox();
}

}  // namespace
}  // namespace sl
