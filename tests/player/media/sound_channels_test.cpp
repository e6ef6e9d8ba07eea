// Sound players and the direct channel operations: volume levels, stopping wave-type sounds
// only, exact file matching, and channel blocks with their separator.
#include "player/media/sound_channels.h"

#include <gtest/gtest.h>

#include "core/data_file_reader.h"
#include "core/runtime_error.h"

namespace sl {
namespace {

struct Recorder : SoundObserver {
  std::vector<std::string> log;
  void SoundPlayed(int p, const std::string& f, int c, int v) override {
    log.push_back("play " + std::to_string(p) + " " + f + " " + std::to_string(c) + " " +
                  std::to_string(v));
  }
  void SoundStopped(int p) override { log.push_back("stop " + std::to_string(p)); }
  void SoundVolumeChanged(int, int) override {}
};

void Start(MediaPlayer& p, const std::string& file) {
  p.SetFileName(file);
  p.Play();
}

TEST(SoundChannelsTest, LevelToVolume) {
  EXPECT_EQ(LevelToVolume(10), 0);
  EXPECT_EQ(LevelToVolume(8), -800);
  EXPECT_EQ(LevelToVolume(7), -1200);
  EXPECT_EQ(LevelToVolume(0), -4000);
}

TEST(SoundChannelsTest, StopAnyWavOrMP3LeavesMidiPlaying) {
  MediaPlayers players;
  SoundChannels ch(players);
  Start(players(1), "a/Rain.WAV");
  Start(players(2), "a/theme.mid");
  Start(players(3), "a/x.mp3");
  Start(players(4), "a/y.Wma");
  Start(players(5), "wav");  // too short to have an extension
  ch.StopAnyWavOrMP3();
  EXPECT_FALSE(players(1).Playing());
  EXPECT_TRUE(players(2).Playing());
  EXPECT_FALSE(players(3).Playing());
  EXPECT_FALSE(players(4).Playing());
  EXPECT_TRUE(players(5).Playing());
}

TEST(SoundChannelsTest, IsFilePlayingComparesExactly) {
  MediaPlayers players;
  SoundChannels ch(players);
  Start(players(6), "/g/Areas/Theme.mid");
  EXPECT_TRUE(ch.IsFilePlaying("/g/Areas/Theme.mid"));
  EXPECT_FALSE(ch.IsFilePlaying("/g/Areas/theme.mid"));
  players(6).Stop();
  EXPECT_FALSE(ch.IsFilePlaying("/g/Areas/Theme.mid"));
}

TEST(SoundChannelsTest, StopAllSoundsGivesChannelsTheirOwnPlayers) {
  MediaPlayers players;
  SoundChannels ch(players);
  ch.Channel(2).player = 5;
  Start(players(5), "x.wav");
  ch.StopAllSounds();
  EXPECT_EQ(ch.Channel(2).player, 2);
  EXPECT_FALSE(players(5).Playing());
  EXPECT_THROW(players(8), RuntimeError);
}

TEST(SoundChannelsTest, ChannelBlockPlaysAndStopsUntilTheSeparator) {
  MediaPlayers players;
  Recorder rec;
  players.SetObserver(&rec);
  SoundChannels ch(players);
  std::string block;
  for (int i = 0; i < 22; ++i)
    block += "0,";
  Start(players(1), "old.wav");
  block += "0,#TRUE#,#FALSE#,\"\",0\r\n";          // channel 1: stop
  block += "0,#FALSE#,#TRUE#,\"bird.wav\",1\r\n";  // channel 2: play, repeating
  block += "\"----- SEPARATOR -----\"\r\n0,#FALSE#,#TRUE#,\"no.wav\",0\r\n";
  DataFileReader reader(block);
  ch.PlaySoundChannels(reader, [](const std::string& f) { return "Areas/" + f; });
  // Every stop is told, also the stop of a player that plays nothing.
  EXPECT_EQ(rec.log, (std::vector<std::string>{"play 1 old.wav 1 0", "stop 1", "stop 2",
                                               "play 2 Areas/bird.wav 0 -800"}));
  EXPECT_EQ(reader.ReadString(), "----- SEPARATOR -----");
}

}  // namespace
}  // namespace sl
