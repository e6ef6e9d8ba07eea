// Timed events on the virtual clock: numbering, one-shot and repeating events, removal, the
// duration limits, pausing, frame changes and failing scripts.
#include <gtest/gtest.h>

#include "player/scripting/script_fixture.h"

namespace sl {
namespace {

using test::ScriptRun;

std::string Events(ScriptRun& run) {
  std::string s;
  for (const TimedEventState& e : run.Host().TimedEventStates()) {
    s += std::to_string(e.n) + (e.active ? " live" : " dead") + (e.enabled ? " on " : " off ") +
         std::to_string(e.interval) + (e.repeat ? " repeat" : " once") + "; ";
  }
  return s;
}

TEST(TimedEventsTest, OneShotAndRepeatingEventsOnTheClock) {
  ScriptRun run;
  ASSERT_FALSE(
      run.Run("Note = Action.CreateTimedEvent(0.5, \"Flag = Flag + 1\", False) & \",\" & "
              "Action.CreateTimedEvent(20, \"Counter = Counter + 1\", True)"));
  EXPECT_EQ(run.Text("Note"), "1,2");  // consecutive numbers, started after the script
  EXPECT_EQ(Events(run), "1 live on 500 once; 2 live on 20000 repeat; ");
  run.Wait(499);
  EXPECT_EQ(run.Integer("Flag"), 0);
  run.Wait(1);
  EXPECT_EQ(run.Integer("Flag"), 1);
  EXPECT_EQ(Events(run), "1 dead off 0 once; 2 live on 20000 repeat; ");
  run.Wait(60'000);
  EXPECT_EQ(run.Integer("Flag"), 1);  // a one-shot event fires once
  EXPECT_EQ(run.Integer("Counter"), 3);
  // Removed, it stops; its number is not used again.
  ASSERT_FALSE(run.Run("Action.RemoveTimedEvent 2: Note = Action.CreateTimedEvent(1, \"\", True)"));
  EXPECT_EQ(run.Text("Note"), "3");
  run.Wait(20'000);
  EXPECT_EQ(run.Integer("Counter"), 3);
  EXPECT_TRUE(run.boxes.Shown().empty()) << run.LastBox();
}

TEST(TimedEventsTest, DurationLimits) {
  ScriptRun run;
  ASSERT_FALSE(run.Run("Note = Action.CreateTimedEvent(66, \"Flag = 1\", False)"));
  EXPECT_EQ(run.Text("Note"), "0");
  EXPECT_EQ(Events(run), "");
  EXPECT_TRUE(run.boxes.Shown().empty());
  // 40 seconds do not fit a 16-bit count of milliseconds: the event exists but never fires.
  ASSERT_FALSE(run.Run("Note = Action.CreateTimedEvent(40, \"Flag = 1\", False)"));
  EXPECT_EQ(run.Text("Note"), "0");
  ASSERT_EQ(run.boxes.Shown().size(), 1u);
  EXPECT_EQ(run.LastBox(),
            "An error has occurred. The program may not work properly. Press 'Esc' and the "
            "click 'Exit' to quit.\r\n\r\nError description: Unable to create the timed event #1. "
            "Overflow");
  EXPECT_EQ(Events(run), "1 dead off 0 once; ");
  ASSERT_FALSE(run.Run("Note = Action.CreateTimedEvent(-1, \"Flag = 1\", False)"));
  EXPECT_EQ(run.Text("Note"), "0");
  EXPECT_TRUE(
      run.LastBox().ends_with("Unable to create the timed event #2. Invalid property value"));
}

TEST(TimedEventsTest, AFrameChangeDropsEveryEvent) {
  ScriptRun run;
  ASSERT_FALSE(
      run.Run("Action.CreateTimedEvent 1, \"Action.GoToFrame \"\"Cellar\"\"\", False\n"
              "Action.CreateTimedEvent 2, \"Flag = 1\", True"));
  EXPECT_EQ(Events(run), "1 live on 1000 once; 2 live on 2000 repeat; ");
  run.Wait(1000);
  EXPECT_EQ(run.G().CurrentFrameName, "Cellar");
  EXPECT_EQ(Events(run), "");
  run.Wait(5000);
  EXPECT_EQ(run.Integer("Flag"), 0);
}

TEST(TimedEventsTest, AFailingRepeatingEventStops) {
  ScriptRun run;
  ASSERT_FALSE(run.Run("Action.CreateTimedEvent 1, \"Counter = Counter + 1: x = 1 / 0\", True"));
  run.Wait(5000);
  EXPECT_EQ(run.Integer("Counter"), 1);
  EXPECT_EQ(run.boxes.Shown().size(), 1u);
  EXPECT_EQ(Events(run), "1 dead off 0 repeat; ");
}

TEST(TimedEventsTest, PausedWhileTheGameStopsOrADialogIsOpen) {
  ScriptRun run;
  ASSERT_FALSE(run.Run("Action.CreateTimedEvent 1, \"Counter = Counter + 1\", True"));
  run.Wait(1500);
  EXPECT_EQ(run.Integer("Counter"), 1);
  // Paused, the event stays live; started again it counts a full interval.
  run.Host().PauseTimedEvents();
  run.Wait(3000);
  EXPECT_EQ(Events(run), "1 live off 1000 repeat; ");
  run.Host().StartTimedEvents();
  run.Wait(999);
  EXPECT_EQ(run.Integer("Counter"), 1);
  run.Wait(1);
  EXPECT_EQ(run.Integer("Counter"), 2);
  // Starting again does not restart a running countdown.
  run.Wait(500);
  run.Host().StartTimedEvents();
  run.Wait(500);
  EXPECT_EQ(run.Integer("Counter"), 3);
  // A tick while the game stops does nothing, and the event stays live.
  run.G().SetGameStopping();
  run.Wait(2000);
  EXPECT_EQ(run.Integer("Counter"), 3);
  EXPECT_EQ(Events(run), "1 live on 1000 repeat; ");
}

}  // namespace
}  // namespace sl
