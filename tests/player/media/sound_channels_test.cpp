// Sound players and the channel operations: volume levels, stopping wave-type sounds only, exact
// file matching, channel blocks with their separator and their error report, pending changes
// cut and faded (cross-fades, all players busy, keep, one MIDI at a time), fade steps.
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

std::string Block(const std::string& records) {
  std::string block;
  for (int i = 0; i < 22; ++i)
    block += "0,";
  return block + records;
}

TEST(SoundChannelsTest, ChannelBlockReadsFiveRecordsAtMostAndReportsAShortBlock) {
  MediaPlayers players;
  Recorder rec;
  players.SetObserver(&rec);
  SoundChannels ch(players);
  std::vector<std::string> reports;
  ch.SetErrorReport([&](const std::string& s) { reports.push_back(s); });
  std::string records;
  for (int c = 1; c <= 6; ++c)
    records += "0,#FALSE#,#TRUE#,\"c" + std::to_string(c) + ".wav\",0\r\n";
  DataFileReader reader(Block(records));
  auto resolve = [](const std::string& f) { return f; };
  ch.PlaySoundChannels(reader, resolve);
  EXPECT_EQ(rec.log.size(), 10u);  // five stops and five plays
  EXPECT_EQ(rec.log.back(), "play 5 c5.wav 1 -800");
  EXPECT_EQ(reader.ReadInteger(), 0);  // the sixth record is left unread
  EXPECT_TRUE(reports.empty());
  // A block that ends in the middle of a record: what started plays on, one report.
  rec.log.clear();
  DataFileReader cut(Block("0,#FALSE#,#TRUE#,\"a.wav\",0\r\n0,#TRUE#"));
  ch.PlaySoundChannels(cut, resolve);
  EXPECT_EQ(rec.log, (std::vector<std::string>{"stop 1", "play 1 a.wav 1 -800"}));
  EXPECT_EQ(reports, std::vector<std::string>{" Unable to load old sound system information."});
}

class PendingChanges : public ::testing::Test {
 protected:
  PendingChanges() { players.SetObserver(&rec); }
  void Set(int c, std::int16_t mode, bool fade, double volume, const std::string& file,
           bool loop = false, bool keep = false) {
    SoundChannel& s = ch.Channel(c);
    s.mode = mode;
    s.fade = fade;
    s.loop = loop;
    s.previousVolume = s.volume;
    s.volume = volume;
    s.file = file;
    s.keep = keep;
  }
  void Apply() {
    ch.ApplyChannelChanges([](const std::string& f) { return "A/" + f; },
                           [](const std::string& p) { return p != "A/missing.wav"; });
  }

  MediaPlayers players;
  Recorder rec;
  SoundChannels ch{players};
};

TEST_F(PendingChanges, CutChangesHappenAtOnceAndLeaveTheChannelIdle) {
  Start(players(3), "old.wav");
  Set(3, kChannelModeStop, false, 0, "");
  Set(1, kChannelModeNone, false, 7, "rain.wav", true);
  Set(2, kChannelModeNone, false, 7, "missing.wav");
  Apply();
  EXPECT_FALSE(players(3).Playing());
  EXPECT_TRUE(players(1).Playing());
  EXPECT_EQ(players(1).FileName(), "A/rain.wav");
  EXPECT_EQ(players(1).Volume(), -1200);
  EXPECT_EQ(players(1).PlayCount(), 0);
  EXPECT_FALSE(players(2).Playing());  // a missing file is skipped
  for (int c = 1; c <= 3; ++c) {
    EXPECT_EQ(ch.Channel(c).mode, 0);
    EXPECT_EQ(ch.Channel(c).file, "");
  }
  // A volume change, and a file that already plays with keep: neither restarted nor changed.
  rec.log.clear();
  Set(1, kChannelModeVolume, false, 5, "");
  Apply();
  EXPECT_EQ(players(1).Volume(), -2000);
  Set(1, kChannelModeNone, false, 9, "rain.wav", true, true);
  Apply();
  EXPECT_TRUE(rec.log.empty());
  EXPECT_EQ(players(1).Volume(), -2000);
}

TEST_F(PendingChanges, AMidiFileStopsEveryOtherMidiFileAndAWaveFileDoesNot) {
  Start(players(4), "A/theme.MID");
  Start(players(5), "A/wind.wav");
  Set(2, kChannelModeNone, false, 10, "other.mid");
  Apply();
  EXPECT_FALSE(players(4).Playing());
  EXPECT_TRUE(players(5).Playing());
  EXPECT_TRUE(players(2).Playing());
  Set(3, kChannelModeNone, false, 10, "splash.wav");
  Apply();
  EXPECT_TRUE(players(2).Playing());
}

TEST_F(PendingChanges, AFadedStartCrossFadesToAFreePlayer) {
  Start(players(1), "A/old.wav");
  Start(players(2), "A/busy.wav");
  ch.Channel(4).player = 3;  // another channel on the player the new sound will take
  Set(1, kChannelModeNone, true, 10, "new.wav", true);
  ch.Channel(1).previousVolume = 6;
  Apply();
  EXPECT_EQ(ch.FindFreePlayer(), 4);
  EXPECT_EQ(ch.Channel(1).player, 3);
  EXPECT_EQ(ch.Channel(1).previousPlayer, 1);
  EXPECT_EQ(ch.Channel(4).player, 1);
  EXPECT_EQ(players(3).FileName(), "A/new.wav");
  EXPECT_EQ(players(3).Volume(), -4000);
  EXPECT_EQ(ch.Channel(1).file, "new.wav");  // pending until the fade ends
  EXPECT_TRUE(ch.StepFades(0.5));
  EXPECT_EQ(players(3).Volume(), -2000);
  EXPECT_EQ(players(1).Volume(), LevelToVolume(3));
  EXPECT_TRUE(ch.StepFades(1));
  EXPECT_EQ(players(3).Volume(), 0);
  EXPECT_FALSE(players(1).Playing());
  EXPECT_EQ(ch.Channel(1).previousPlayer, 0);
  EXPECT_FALSE(ch.Channel(1).fade);
  EXPECT_EQ(ch.Channel(1).file, "");
  EXPECT_FALSE(ch.StepFades(0.5));  // nothing fades any more
}

TEST_F(PendingChanges, WithAllSevenPlayingAFadedStartRestartsTheChannelsOwnPlayer) {
  for (int p = 1; p <= 7; ++p)
    Start(players(p), "A/p" + std::to_string(p) + ".wav");
  EXPECT_EQ(ch.FindFreePlayer(), -1);
  Set(2, kChannelModeNone, true, 8, "new.wav");
  Apply();
  EXPECT_EQ(ch.Channel(2).player, 2);
  EXPECT_EQ(ch.Channel(2).previousPlayer, 0);
  EXPECT_EQ(players(2).FileName(), "A/new.wav");
  EXPECT_EQ(players(2).Volume(), -4000);
}

TEST_F(PendingChanges, FadedVolumeChangesAndStopsStepWithTheProgress) {
  Start(players(1), "A/a.wav");
  Start(players(2), "A/b.wav");
  ch.Channel(1).volume = 10;
  Set(1, kChannelModeVolume, true, 0, "");
  ch.Channel(2).volume = 8;
  Set(2, kChannelModeStop, true, 0, "");
  Apply();  // nothing to start: both wait for the steps
  EXPECT_TRUE(ch.StepFades(0.5));
  EXPECT_EQ(players(1).Volume(), -2000);
  EXPECT_EQ(players(2).Volume(), LevelToVolume(4));
  EXPECT_TRUE(ch.StepFades(1));
  EXPECT_EQ(players(1).Volume(), -4000);
  EXPECT_FALSE(players(2).Playing());
  EXPECT_EQ(ch.Channel(2).mode, 0);
}

}  // namespace
}  // namespace sl
