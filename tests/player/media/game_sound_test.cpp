// The game's sound subsystem on the sound fixture: the fade clock's first tick only starts it,
// a fade of no length ends on the second; the audio-problem warning comes once a run and never
// while the game is stopping; a new game starts with no pending change; sounds end on the clock.
#include <gtest/gtest.h>

#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "ui/controls/timer_control.h"

namespace sl {
namespace {

class GameSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    run = std::make_unique<test::GameRun>("sound_game");
    run->Start();
    ASSERT_EQ(run->G().CurrentFrameName, "Quay");
  }
  Game& G() { return run->G(); }
  SoundSubsystem& Sound() { return *G().Subsystems().sound; }
  SoundChannel& Channel(int c) { return G().Channels().Channel(c); }
  void FadeIn(int c, const std::string& file) {
    Channel(c).fade = true;
    Channel(c).loop = true;
    Channel(c).volume = 10;
    Channel(c).file = file;
  }

  std::unique_ptr<test::GameRun> run;
};

TEST_F(GameSoundTest, AFadeOfNoLengthEndsOnTheSecondTick) {
  G().FadeDuration = 0;
  FadeIn(1, "tune.mid");
  Sound().ApplyChannelChanges();
  G().TimerAudioFade().SetEnabled(true);
  EXPECT_EQ(G().MPlayer()(1).Volume(), -4000);
  run->Wait(100);  // the first tick starts the clock
  EXPECT_TRUE(Channel(1).fade);
  EXPECT_TRUE(G().TimerAudioFade().TimerEnabled());
  run->Wait(100);
  EXPECT_FALSE(Channel(1).fade);
  EXPECT_EQ(G().MPlayer()(1).Volume(), 0);
  EXPECT_FALSE(G().TimerAudioFade().TimerEnabled());
}

TEST_F(GameSoundTest, ATickMidWaySetsTheLevelForTheTimeGoneBy) {
  G().FadeDuration = 1;
  FadeIn(2, "sea.wav");
  Sound().ApplyChannelChanges();
  G().TimerAudioFade().SetEnabled(true);
  run->Wait(100);
  run->Wait(400);  // 0.4 s of 1 s: level 4
  EXPECT_EQ(G().MPlayer()(2).Volume(), LevelToVolume(4));
  // A click elsewhere (or a transition's end) finishes the fade at once.
  Sound().StepFades(1);
  EXPECT_EQ(G().MPlayer()(2).Volume(), 0);
  EXPECT_FALSE(G().TimerAudioFade().TimerEnabled());
}

TEST_F(GameSoundTest, TheAudioProblemWarningComesOnceAndNotWhileTheGameStops) {
  std::size_t before = run->boxes.Shown().size();
  Channel(3).player = 9;  // a channel that names no player: the pass fails
  Channel(3).file = "sea.wav";
  G().SetGameStopping();
  Sound().ApplyChannelChanges();
  EXPECT_EQ(run->boxes.Shown().size(), before);
  G().ClearGameStopping();
  Sound().ApplyChannelChanges();
  ASSERT_EQ(run->boxes.Shown().size(), before + 1);
  const MessageBoxRequest& box = run->boxes.Shown().back();
  EXPECT_EQ(box.title, "AUDIO PROBLEM");
  EXPECT_EQ(box.icon, MsgIcon::Exclamation);
  EXPECT_TRUE(box.text.starts_with("WARNING: Another program may be using the audio hardware"));
  EXPECT_TRUE(
      box.text.ends_with("\r\n\r\nThis message will not reappear until you restart the program."));
  Sound().ApplyChannelChanges();
  EXPECT_EQ(run->boxes.Shown().size(), before + 1);
  // A new game forgets what was pending; the warning stays shown once.
  Channel(3).player = 3;
  Channel(4).mode = kChannelModeStop;
  Channel(4).fade = true;
  Sound().ResetOneShot();
  EXPECT_EQ(Channel(3).file, "");
  EXPECT_EQ(Channel(4).mode, 0);
  EXPECT_FALSE(Channel(4).fade);
}

TEST_F(GameSoundTest, APlayerIsFreeAgainWhenItsSoundHasEnded) {
  MediaPlayer& p = G().MPlayer()(7);
  p.SetFileName(G().GetProject().Folders().AreasFolder + "bell.wav");
  p.SetPlayCount(2);
  p.Play();
  EXPECT_EQ(G().Channels().FindFreePlayer(), 1);
  run->Wait(900);
  EXPECT_TRUE(p.Playing());  // two plays of half a second
  run->Wait(100);
  EXPECT_FALSE(p.Playing());
  // A file that cannot be played ends at once.
  p.SetFileName(G().GetProject().Folders().AreasFolder + "nothing.wav");
  p.Play();
  EXPECT_FALSE(p.Playing());
}

}  // namespace
}  // namespace sl
