// Hotspots in play, in-process on the fixture projects: loading with pictures, pointers and the
// inset; the visibility rules; actions with their variables, disappearance, sounds, channel
// table, frame changes and the end of the game; and broken data that must leave the game going.
#include <gtest/gtest.h>

#include <algorithm>

#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "player/hotspots/hotspots.h"
#include "player/variables/variable_store.h"
#include "ui/control_array.h"
#include "ui/controls/image.h"
#include "ui/form.h"

namespace sl {
namespace {

class HotspotGame : public ::testing::Test {
 protected:
  void Open(const std::string& project) {
    run = std::make_unique<test::GameRun>(project);
    run->Start();
  }
  ui::Control& Area(int n) { return run->G().Form().FindArray("Area")->Item(n); }
  int AreaCount() { return run->G().Form().FindArray("Area")->UBound(); }
  HotspotSubsystem& Spots() { return *run->G().Subsystems().hotspots; }
  VariableStore& Vars() { return run->player->Variables(); }
  ActionOutcome Action(int n) { return Spots().MakeAction(static_cast<std::int16_t>(n), 0); }
  const std::vector<MessageBoxRequest>& Boxes() { return run->boxes.Shown(); }
  bool Played(const std::string& part) {
    return std::any_of(run->sounds.begin(), run->sounds.end(),
                       [&](const std::string& s) { return s.find(part) != std::string::npos; });
  }

  std::unique_ptr<test::GameRun> run;
};

TEST_F(HotspotGame, LoadingPlacesPicturesPointersAndTheInset) {
  Open("hotspots_game");
  ASSERT_EQ(run->G().CurrentFrameName, "Room");
  ASSERT_EQ(AreaCount(), 7);
  // 2 pixels inside the drawn rectangle on every side; never below 1 twip.
  ui::Control& crate = Area(1);
  EXPECT_DOUBLE_EQ(crate.Left(), 10 * 15 + 30);
  EXPECT_DOUBLE_EQ(crate.Width(), 40 * 15 - 60);
  EXPECT_DOUBLE_EQ(Area(4).Width(), 1);
  EXPECT_DOUBLE_EQ(Area(4).Height(), 1);
  auto& image = static_cast<ui::Image&>(crate);
  EXPECT_TRUE(image.Stretch());
  EXPECT_EQ(image.Picture().Width(), 20);
  // A custom cursor from the icons folder, with its hot spot; "Default" is the default one.
  EXPECT_EQ(crate.MousePointer(), 99);
  EXPECT_EQ(crate.MouseIcon().HotSpot().x, 5);
  EXPECT_EQ(crate.MouseIcon().HotSpot().y, 7);
  EXPECT_EQ(Area(3).MousePointer(), 0);
  // A hotspot picture that is no picture: one report, the other hotspots load.
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find(" Unable to load hotspot #4. "), std::string::npos);
  EXPECT_EQ(Boxes()[0].icon, MsgIcon::Critical);
  EXPECT_TRUE(Area(7).Visible());
}

TEST_F(HotspotGame, VisibilityFollowsVariablesAndTheDisappearedList) {
  Open("hotspots_game");
  EXPECT_FALSE(Area(2).Visible());  // needs Key = 1
  EXPECT_TRUE(Area(5).Visible());   // "Nobody" is no variable: it passes
  EXPECT_TRUE(Area(6).Visible());   // conditions off
  Vars().ChangeVariableValue("Key", 2);
  Spots().ShowOrNotShowAreas();
  EXPECT_FALSE(Area(2).Visible());  // 2 is not true
  Vars().ChangeVariableValue("Key", 1);
  Vars().Disappear.Add("Hall", 2);  // another frame's hotspot 2: no effect here
  Spots().ShowOrNotShowAreas();
  EXPECT_TRUE(Area(2).Visible());
  Vars().Disappear.Add("Room", 2);
  Spots().ShowOrNotShowAreas();
  EXPECT_FALSE(Area(2).Visible());
}

TEST_F(HotspotGame, ClickMakesTheCrateDisappearAndTogglesEveryLamp) {
  Open("hotspots_game");
  run->boxes.Clear();
  run->Control("Area(1)");
  EXPECT_FALSE(Area(1).Visible());
  ASSERT_EQ(Vars().Disappear.Count(), 1);
  EXPECT_EQ(Vars().Disappear.Item(1).Name, "Room");
  EXPECT_EQ(Vars().Disappear.Item(1).Value, 1);
  EXPECT_EQ(Vars().Variables.Item(2).Value, 1);  // both variables named Lamp
  EXPECT_EQ(Vars().Variables.Item(3).Value, 1);
  EXPECT_FALSE(Area(5).Visible());   // Lamp must be false
  EXPECT_TRUE(Played("other.wav"));  // the hotspot's own channel record
  // The action's message, shown outside the game: the only message box.
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].icon, MsgIcon::Information);
  EXPECT_EQ(Boxes()[0].text, "The crate is gone.");
}

TEST_F(HotspotGame, LeverSetsTheKeyPlaysSoundsAndAppliesItsChannelLines) {
  Open("hotspots_game");
  EXPECT_EQ(Action(3), ActionOutcome::NothingFurther);
  EXPECT_EQ(Vars().GetVariableValue("Key"), 1);
  EXPECT_TRUE(Played("ding.wav 1 -800"));
  EXPECT_TRUE(Played("loop.wav 0 -1200"));
  EXPECT_TRUE(Played("chan.wav"));    // the hotspot's own channel record
  EXPECT_FALSE(Played("other.wav"));  // hotspot 1's record
  // The channel lines take effect at once: channel 2 stops, the missing music is skipped, and
  // the table is idle again.
  EXPECT_TRUE(Played("stop 2"));
  EXPECT_FALSE(Played("music.mid"));
  SoundChannel& c1 = run->G().Channels().Channel(1);
  EXPECT_EQ(c1.file, "");
  EXPECT_DOUBLE_EQ(c1.volume, 5);
  EXPECT_EQ(run->G().Channels().Channel(2).mode, 0);
  EXPECT_DOUBLE_EQ(run->G().FadeDuration, 0.5);
  // A hotspot sound that plays already (it loops) goes on without a restart.
  run->sounds.clear();
  Action(3);
  EXPECT_FALSE(Played("loop.wav"));
  Spots().ShowOrNotShowAreas();
  EXPECT_TRUE(Area(2).Visible());
}

TEST_F(HotspotGame, DoorOpensHallAndPreviousFrameComesBack) {
  Open("hotspots_game");
  Vars().ChangeVariableValue("Key", 1);
  EXPECT_EQ(Action(2), ActionOutcome::NewFrame);
  EXPECT_EQ(run->G().CurrentFrameName, "Hall");
  // A transparent GIF at its own size: the picture keeps its transparency.
  auto& sprite = static_cast<ui::Image&>(Area(2));
  EXPECT_FALSE(sprite.Stretch());
  EXPECT_TRUE(sprite.Picture().HasTransparency());
  EXPECT_EQ(Action(1), ActionOutcome::NewFrame);
  EXPECT_EQ(run->G().CurrentFrameName, "Room");
  EXPECT_EQ(run->G().History().Names(), std::vector<std::string>{"Room"});
  // With one history entry "previous frame" goes nowhere.
  run->G().OpenFrame("Hall");
  run->G().SetFramesHistory({"Hall"});
  EXPECT_EQ(Action(1), ActionOutcome::NothingFurther);
  EXPECT_EQ(run->G().CurrentFrameName, "Hall");
}

TEST_F(HotspotGame, EndGameAppliesVariablesOnlyAndClosesTheWindow) {
  Open("hotspots_game");
  Vars().ChangeVariableValue("Key", 1);
  run->Control("Area(7)");
  EXPECT_EQ(Vars().GetVariableValue("Key"), 0);
  EXPECT_TRUE(Boxes().size() == 1u);  // only the load report; no message
  run->Wait(200);
  EXPECT_FALSE(run->G().Loaded());
}

TEST_F(HotspotGame, ClickPositionIsRoundedFromTwips) {
  Open("hotspots_game");
  Spots().SaveClickPos(400, 650);
  EXPECT_EQ(Spots().ClickPositionX(), 27);
  EXPECT_EQ(Spots().ClickPositionY(), 43);
  Spots().SaveClickPos(22.5f * 15, 0);  // halves to even
  EXPECT_EQ(Spots().ClickPositionX(), 22);
}

TEST_F(HotspotGame, BrokenDataReportsOrStaysSilentAndTheGameGoesOn) {
  Open("hotspots_broken");
  ASSERT_EQ(run->G().CurrentFrameName, "Short");
  EXPECT_GE(Vars().Variables.Count(), 1);  // junk in the variables list is read as names
  EXPECT_EQ(Vars().GetVariableValue("Flag"), 0);
  run->boxes.Clear();
  // A click beyond the action file's records, and a frame without an action file: nothing.
  EXPECT_EQ(Action(2), ActionOutcome::NothingFurther);
  EXPECT_EQ(Action(4), ActionOutcome::NothingFurther);
  EXPECT_TRUE(Boxes().empty());
  // An old record that ends after the frame change still changes variables and frame.
  EXPECT_EQ(Action(1), ActionOutcome::NewFrame);
  EXPECT_EQ(Vars().GetVariableValue("Flag"), 1);
  ASSERT_EQ(run->G().CurrentFrameName, "Bad");
  // A bad field in the hotspot file: that hotspot is reported, the others load.
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find(" Unable to load hotspot #1. Type mismatch"), std::string::npos);
  EXPECT_EQ(AreaCount(), 3);
  EXPECT_TRUE(Area(3).Visible());
  // A bad field in the action record.
  run->boxes.Clear();
  EXPECT_EQ(Action(2), ActionOutcome::NothingFurther);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find(" Unable to make the action associated with the hotspot #2. Type "
                                 "mismatch"),
            std::string::npos);
  EXPECT_EQ(Action(3), ActionOutcome::NewFrame);
  EXPECT_EQ(run->G().CurrentFrameName, "NoActions");
  run->boxes.Clear();
  EXPECT_EQ(Action(1), ActionOutcome::NothingFurther);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(HotspotGame, MergedFilesWinAndSetTheMergedIndex) {
  Open("hotspots_broken");
  run->G().OpenFrame("Merged");
  EXPECT_EQ(AreaCount(), 3);
  EXPECT_EQ(Spots().GetMergedHotspotIndex(), 3);
  EXPECT_EQ(Action(3), ActionOutcome::NewFrame);
  EXPECT_EQ(run->G().CurrentFrameName, "Short");
}

TEST_F(HotspotGame, FrameChangeRemovesTheHotspotsOfTheFrameBefore) {
  Open("hotspots_game");
  run->G().OpenFrame("Hall");
  EXPECT_EQ(AreaCount(), 2);
  EXPECT_EQ(run->G().Form().FindArray("Area")->Count(), 3);  // the template stays
}

}  // namespace
}  // namespace sl
