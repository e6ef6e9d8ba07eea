// The parts of an action that reach other subsystems: the video of an action (where it plays and
// how), the channel lines with fewer values than five or more lines than channels, and the item
// an action gives, observed through recording subsystems on the fixture's "Studio" frame.
#include <gtest/gtest.h>

#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "ui/controls/picture_box.h"

namespace sl {
namespace {

struct MovieCall {
  std::string file;
  std::string target;
  bool stretched = false;
  int rect[4] = {0, 0, 0, 0};
};

class RecordingVideo : public VideoSubsystem {
 public:
  void PlayMovieWithStop(const std::string& file, ui::Control& target, bool stretched, int left,
                         int top, int width, int height) override {
    MovieCall c{file, target.Name(), stretched, {left, top, width, height}};
    calls.push_back(c);
    status = "playing";
    polls = 0;
    if (game) game->ClearMovieStop();  // a started video clears the stop request
  }
  // The video plays until it is stopped; after many polls it ends by itself so that a broken
  // wait fails the test instead of hanging it.
  std::string Status() override {
    if (++polls > 1000) status = "stopped";
    return status;
  }
  void StopMovie() override { status = "stopped"; }

  Game* game = nullptr;
  std::vector<MovieCall> calls;
  std::string status;
  int polls = 0;
};

class RecordingInventory : public InventorySubsystem {
 public:
  void AddPickedObject(const std::string& name, bool noPopUp) override {
    added.push_back(name + (noPopUp ? " quiet" : ""));
  }
  std::vector<std::string> added;
};

class ActionMedia : public ::testing::Test {
 protected:
  void SetUp() override {
    run = std::make_unique<test::GameRun>("hotspots_game");
    run->player->Subsystems().video = &video;
    run->player->Subsystems().inventory = &inventory;
    run->player->Subsystems().sound = &tableKept;  // the table stays as the action wrote it
    run->Start();
    video.game = &run->G();
    run->G().OpenFrame("Studio");
    ASSERT_EQ(run->G().CurrentFrameName, "Studio");
    boxesBefore = run->boxes.Shown().size();  // the first frame reports a broken picture
  }
  ActionOutcome Action(int n) {
    return run->G().Subsystems().hotspots->MakeAction(static_cast<std::int16_t>(n), 0);
  }
  SoundChannel& Channel(int c) { return run->G().Channels().Channel(c); }

  std::size_t boxesBefore = 0;
  RecordingVideo video;
  RecordingInventory inventory;
  SoundSubsystem tableKept;
  std::unique_ptr<test::GameRun> run;
};

TEST_F(ActionMedia, VideoPlaysStretchedOwnSizeOrInTheCutSceneAreaAndWaitsForTheStop) {
  // The action waits while the video plays; a click on the window ends the wait.
  ui::InputEvent press;
  press.kind = ui::InputKind::MouseDown;
  press.space = ui::CoordSpace::Client;
  press.x = 300;
  press.y = 200;
  press.button = ui::kButtonLeft;
  run->platform.Post(press);
  EXPECT_EQ(Action(1), ActionOutcome::NothingFurther);
  EXPECT_LT(video.polls, 1000);
  ASSERT_EQ(video.calls.size(), 1u);
  EXPECT_NE(video.calls[0].file.find("clip.avi"), std::string::npos);
  EXPECT_EQ(video.calls[0].target, "PictureBox");
  EXPECT_TRUE(video.calls[0].stretched);
  EXPECT_EQ(video.calls[0].rect[0], 10);
  EXPECT_EQ(video.calls[0].rect[3], 50);
  EXPECT_FALSE(run->G().MovieStopRequested());  // the wait clears the flag it ended on

  video.polls = 990;  // plays to its end
  Action(2);
  ASSERT_EQ(video.calls.size(), 2u);
  EXPECT_FALSE(video.calls[1].stretched);
  EXPECT_EQ(video.calls[1].rect[2], 0);  // own size: no rectangle

  video.polls = 990;
  Action(3);
  ASSERT_EQ(video.calls.size(), 3u);
  EXPECT_EQ(video.calls[2].target, "CutSceneArea");
  ui::PictureBox& area = run->G().CutSceneArea();
  EXPECT_TRUE(area.Visible());
  EXPECT_DOUBLE_EQ(area.Left(), 5 * 15);
  EXPECT_DOUBLE_EQ(area.Top(), 6 * 15);
  EXPECT_DOUBLE_EQ(area.Width(), 70 * 15);
  EXPECT_DOUBLE_EQ(area.Height(), 40 * 15);
}

TEST_F(ActionMedia, ShortChannelLinesLeaveTheMissingValuesAndStillReadTheItem) {
  Channel(1).volume = 6;
  Action(4);
  EXPECT_EQ(Channel(1).mode, 2);
  EXPECT_TRUE(Channel(1).fade);
  EXPECT_TRUE(Channel(1).loop);
  EXPECT_DOUBLE_EQ(Channel(1).previousVolume, 6);
  EXPECT_DOUBLE_EQ(Channel(1).volume, 0);  // never given on a three-value line
  EXPECT_EQ(Channel(1).file, "");
  EXPECT_EQ(Channel(2).mode, 1);
  EXPECT_FALSE(Channel(2).loop);
  ASSERT_EQ(inventory.added, std::vector<std::string>{"Rope"});
}

TEST_F(ActionMedia, SixValuesPerLineSkipTheChannelLinesAndTheItem) {
  Action(5);
  EXPECT_EQ(Channel(1).mode, 0);
  EXPECT_EQ(Channel(1).file, "");
  EXPECT_TRUE(inventory.added.empty());
  EXPECT_EQ(run->boxes.Shown().size(), boxesBefore);
}

TEST_F(ActionMedia, LinesBeyondTheSeventhChannelAreReadAndIgnored) {
  Action(6);
  for (int c = 1; c <= SoundChannels::kChannels; ++c) {
    EXPECT_EQ(Channel(c).mode, c);
    EXPECT_DOUBLE_EQ(Channel(c).volume, c);
    EXPECT_EQ(Channel(c).file, "c" + std::to_string(c) + ".wav");
  }
  // The item after the nine lines is still found in its place.
  ASSERT_EQ(inventory.added, std::vector<std::string>{"Hook"});
  EXPECT_EQ(run->boxes.Shown().size(), boxesBefore);
}

}  // namespace
}  // namespace sl
