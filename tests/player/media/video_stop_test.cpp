// The ways a playing video is stopped from inside the game: game reset and the stop of
// everything close it at once, and the wait for it ends there.
#include <gtest/gtest.h>

#include <functional>

#include "player/game_fixture.h"
#include "player/media/video_playback.h"
#include "ui/controls/picture_box.h"
#include "ui/timer.h"

namespace sl {
namespace {

class VideoStopTest : public ::testing::Test {
 protected:
  VideoStopTest() { run_.player->Video().SetPacing(VideoPacing::OnDemand); }

  // Runs `what` once, `ms` into the run (in the middle of the first frame's video wait).
  void At(std::int64_t ms, std::function<void()> what) {
    timer_.SetInterval(ms);
    timer_.SetHandler([this, what = std::move(what)] {
      timer_.SetEnabled(false);
      stoppedAt_ = run_.Loop().NowMs();
      what();
    });
    timer_.SetEnabled(true);
  }
  bool VideoShows() { return !run_.G().PictureBox().ChildWindows().empty(); }

  test::GameRun run_{"video_game", {320, 240}};
  ui::Timer timer_{run_.Loop()};
  std::int64_t stoppedAt_ = -1;
};

TEST_F(VideoStopTest, AVideoPlaysToItsEndWithoutStops) {
  run_.Start();
  EXPECT_EQ(run_.Loop().NowMs(), 1200);
  EXPECT_EQ(run_.player->Video().Status(), "");  // stopped and closed after the wait
  EXPECT_FALSE(VideoShows());
}

TEST_F(VideoStopTest, GameResetEndsTheWait) {
  At(300, [this] {
    EXPECT_TRUE(run_.player->Video().VideoIsPlaying());
    EXPECT_TRUE(VideoShows());
    run_.G().ResetAll();
  });
  run_.Start();
  EXPECT_EQ(stoppedAt_, 300);
  EXPECT_EQ(run_.Loop().NowMs(), 300);
  EXPECT_FALSE(run_.player->Video().VideoIsPlaying());
  EXPECT_FALSE(VideoShows());
}

TEST_F(VideoStopTest, StoppingEverythingEndsTheWait) {
  At(500, [this] { run_.player->GetProject().HaltActivity(); });
  run_.Start();
  EXPECT_EQ(run_.Loop().NowMs(), 500);
  EXPECT_EQ(run_.player->Video().Status(), "");
  EXPECT_FALSE(VideoShows());
}

}  // namespace
}  // namespace sl
