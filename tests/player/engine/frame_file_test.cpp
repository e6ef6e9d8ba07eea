// Frame file reading: the defaults of short files, the end-of-file checkpoints, the channel
// section's limits and how its records reach the channel table.
#include "player/engine/frame_file.h"

#include <gtest/gtest.h>

#include <string>

#include "core/data_file_reader.h"
#include "core/runtime_error.h"
#include "player/media/sound_channels.h"

namespace sl {
namespace {

struct Reading {
  MediaPlayers players;
  SoundChannels channels{players};
  FrameFile frame;
  void Read(const std::string& text) {
    DataFileReader reader(text);
    ReadFrameFile(reader, frame, channels);
  }
};

const char kTenFields[] =
    "1,\"hall.jpg\",#FALSE#\r\n#TRUE#,\"theme.mid\",#TRUE#,\"1.5\",\"[Last Visited Frame]\","
    "\"\",0\r\n";

TEST(FrameFileTest, FileEndingAfterFieldTenKeepsEveryLaterDefault) {
  Reading r;
  r.Read(kTenFields);
  const FrameFile& f = r.frame;
  EXPECT_EQ(f.header.BackgroundKind, 1);
  EXPECT_EQ(f.header.BackgroundSource, "hall.jpg");
  EXPECT_FALSE(f.header.BackgroundTiled);
  EXPECT_TRUE(f.StopMusic);
  EXPECT_EQ(f.MusicFile, "theme.mid");
  EXPECT_TRUE(f.TimerEnabled);
  EXPECT_DOUBLE_EQ(f.TimerDelaySeconds, 1.5);
  EXPECT_EQ(f.TimerTarget, "[Last Visited Frame]");
  EXPECT_FALSE(f.StopAllWaves);
  EXPECT_EQ(f.FrameSound, "");
  EXPECT_EQ(f.VideoLeft, 0);
  EXPECT_EQ(f.VideoHeight, 0);
  EXPECT_TRUE(f.MusicLoops);
  EXPECT_FALSE(f.RunScript);
  EXPECT_EQ(f.ChannelRecords, 0);
  EXPECT_FALSE(f.VideoBeforeFrame);
}

TEST(FrameFileTest, FileEndingBeforeFieldTenFails) {
  Reading r;
  try {
    r.Read("0,\"255\",#FALSE#,#FALSE#,\"\",#FALSE#,0,\"\"\r\n");
    FAIL() << "expected input past end of file";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 62);
  }
}

TEST(FrameFileTest, TimerDelayTakesTheLeadingNumberOfItsText) {
  Reading a;
  a.Read("0,\"0\",#FALSE#,#FALSE#,\"\",#TRUE#,\"2.25 s\",\"x\",\"\",0\r\n");
  EXPECT_DOUBLE_EQ(a.frame.TimerDelaySeconds, 2.25);
  Reading b;
  b.Read("0,\"0\",#FALSE#,#FALSE#,\"\",#TRUE#,\"soon\",\"x\",\"\",0\r\n");
  EXPECT_DOUBLE_EQ(b.frame.TimerDelaySeconds, 0);
}

// Builds a complete frame file with the given channel section (fields 37 onward).
std::string FullFile(const std::string& channelSection) {
  return std::string(kTenFields) +
         "#TRUE#,#TRUE#,\"ding.wav\"\r\n"
         "0,0,0,#FALSE#,#TRUE#,10,20,300,200\r\n"
         "#FALSE#\r\n"
         "#TRUE#,2500\r\n"
         "7\r\n"
         "#TRUE#,\"MsgBox |hi|\"\r\n"
         "0,0,0,0,0,0,\"1500\",0," +
         channelSection;
}

TEST(FrameFileTest, CompleteFileReadsEveryField) {
  Reading r;
  r.Read(FullFile("5,1\r\n2,#TRUE#,#TRUE#,6,\"rain.wav\"\r\n#TRUE#\r\n"));
  const FrameFile& f = r.frame;
  EXPECT_TRUE(f.StopAllWaves);
  EXPECT_TRUE(f.StopFrameSoundWhenNone);
  EXPECT_EQ(f.FrameSound, "ding.wav");
  EXPECT_FALSE(f.VideoOwnSize);
  EXPECT_TRUE(f.VideoInCutSceneArea);
  EXPECT_EQ(f.VideoLeft, 10);
  EXPECT_EQ(f.VideoTop, 20);
  EXPECT_EQ(f.VideoWidth, 300);
  EXPECT_EQ(f.VideoHeight, 200);
  EXPECT_FALSE(f.MusicLoops);
  EXPECT_TRUE(f.TimerWithTransition);
  EXPECT_EQ(f.TimerTransitionDuration, 2500);
  EXPECT_EQ(f.TimerTransitionNumber, 7);
  EXPECT_TRUE(f.RunScript);
  EXPECT_EQ(f.Script, "MsgBox |hi|");
  EXPECT_DOUBLE_EQ(f.FadeDurationMs, 1500);
  EXPECT_TRUE(f.AnyChannelFades);
  EXPECT_TRUE(f.VideoBeforeFrame);
  const SoundChannel& ch = r.channels.Channel(1);
  EXPECT_EQ(ch.mode, 2);
  EXPECT_TRUE(ch.fade);
  EXPECT_TRUE(ch.loop);
  EXPECT_DOUBLE_EQ(ch.volume, 6);
  EXPECT_EQ(ch.file, "rain.wav");
  EXPECT_TRUE(ch.keep);
}

TEST(FrameFileTest, MoreThanFiveValuesPerRecordStopsAfterTheCounts) {
  Reading r;
  r.Read(FullFile("6,1\r\n2,#TRUE#,#TRUE#,6,\"rain.wav\",9\r\n#TRUE#\r\n"));
  EXPECT_EQ(r.frame.ChannelValues, 6);
  EXPECT_EQ(r.frame.ChannelRecords, 1);
  EXPECT_EQ(r.channels.Channel(1).file, "");
  EXPECT_FALSE(r.frame.VideoBeforeFrame);
  EXPECT_FALSE(r.frame.AnyChannelFades);
}

TEST(FrameFileTest, RecordsBeyondSevenAreReadButNotApplied) {
  std::string records;
  for (int i = 1; i <= 8; ++i) {
    records += "2,#FALSE#,#FALSE#,5,\"s" + std::to_string(i) + ".wav\"\r\n";
  }
  Reading r;
  r.Read(FullFile("5,8\r\n" + records + "#TRUE#\r\n"));
  for (int i = 1; i <= 7; ++i) {
    EXPECT_EQ(r.channels.Channel(i).file, "s" + std::to_string(i) + ".wav") << i;
  }
  // The final flag lies after record 8, so all of it was consumed.
  EXPECT_TRUE(r.frame.VideoBeforeFrame);
  EXPECT_FALSE(r.frame.AnyChannelFades);
}

TEST(FrameFileTest, ShortRecordsLeaveTheLaterSlotsEmpty) {
  Reading r;
  // With V = 2 the slots 3 to 5 are never filled: no loop, volume 0, no file.
  r.Read(FullFile("2,2\r\n3,#FALSE#\r\n4,#FALSE#\r\n"));
  EXPECT_EQ(r.channels.Channel(1).mode, 3);
  EXPECT_EQ(r.channels.Channel(2).mode, 4);
  EXPECT_EQ(r.channels.Channel(2).file, "");
}

TEST(FrameFileTest, RecordsApplyOnlyToIdleOrEmptyChannels) {
  Reading r;
  SoundChannel& busy = r.channels.Channel(1);
  busy.mode = 3;
  busy.file = "old.wav";
  busy.volume = 4;
  r.Read(FullFile("5,1\r\n4,#FALSE#,#FALSE#,9,\"new.wav\"\r\n"));
  EXPECT_EQ(busy.mode, 3);
  EXPECT_EQ(busy.file, "old.wav");
  // A pending mode below 2 with a file set still takes a record whose mode is above 1.
  Reading s;
  SoundChannel& idle = s.channels.Channel(1);
  idle.file = "old.wav";
  idle.volume = 4;
  s.Read(FullFile("5,1\r\n4,#FALSE#,#FALSE#,9,\"new.wav\"\r\n"));
  EXPECT_EQ(idle.mode, 4);
  EXPECT_EQ(idle.file, "new.wav");
  EXPECT_DOUBLE_EQ(idle.previousVolume, 4);
  EXPECT_DOUBLE_EQ(idle.volume, 9);
}

TEST(FrameFileTest, HeaderReaderTakesTheFirstThreeFields) {
  DataFileReader reader("0,\"16711680\",#TRUE#,junk\r\n");
  FrameHeader h = ReadFrameHeader(reader);
  EXPECT_EQ(h.BackgroundKind, 0);
  EXPECT_EQ(h.BackgroundSource, "16711680");
  EXPECT_TRUE(h.BackgroundTiled);
}

}  // namespace
}  // namespace sl
