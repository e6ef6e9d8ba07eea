// The action record reader on its own: each group of fields in its place, the effects told in
// the record's order, and the early ends (end game, a record cut after any group, a channel
// table with too many values per line).
#include "player/hotspots/action_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/data_file_reader.h"

namespace sl {
namespace {

// Writes down every effect in the order it is told.
class RecordedEffects final : public ActionRecordEffects {
 public:
  void ChangeVariable(const std::string& name, std::int16_t value) override {
    log.push_back("variable " + name + " " + std::to_string(value));
  }
  void Disappear() override { log.push_back("disappear"); }
  void StopHotspotSound() override { log.push_back("stop hotspot sound"); }
  void StopAllSounds() override { log.push_back("stop all sounds"); }
  void SetFadeDuration(double seconds) override {
    log.push_back("fade " + std::to_string(seconds));
  }
  void SetChannel(int channel, const ChannelLine& line) override {
    log.push_back("channel " + std::to_string(channel) + " " + std::to_string(line.mode) + " " +
                  (line.fade ? "fade " : "cut ") + (line.loop ? "loop " : "once ") +
                  std::to_string(line.volume) + " " + line.file);
  }
  void PickUp(const std::string& item) override { log.push_back("pick up " + item); }

  std::vector<std::string> log;
};

// The groups of a record after its header, each as the fields that a file holds.
const std::vector<std::string> kGroups = {
    // A: variable Door set to 1, message, disappear, no end, go to Hall.
    "1,\"Door\",0,1,0,1,\"Hello\",0,\"\",1,0,1,\"Hall\"\n",
    // B: both stops, a video in the cut-scene area.
    "1,1,1,\"clip.avi\",#TRUE#,#FALSE#,10,20,30,40\n",
    // C: stop one-shot, hotspot sound, no one-shot sound.
    "1,1,\"ding.wav\",0,\"one.wav\"\n",
    // D: previous frame.
    "0,0,0,1\n",
    // E: message in the game.
    "0,0,0,1\n",
    // F: the three variable lists.
    "0,0,0,1,1,\"A\",2,\"B\",\"C\",0\n",
    // G: the hotspot sound plays once.
    "#FALSE#\n",
    // H: transition on, 800 ms.
    "1,800\n",
    // I: the procedure.
    "#TRUE#,\"MsgBox |hi|\"\n",
    // J: transition number.
    "3\n",
    // K: fade 1.5 s, two channel lines of five values.
    "0,0,0,0,0,0,\"1500\",0,5,2\n2,#TRUE#,#FALSE#,7,\"a.wav\"\n0,#FALSE#,#TRUE#,3,\"b.wav\"\n",
    // L: pick up the key.
    "#TRUE#,\"key\"\n",
};

std::string Record(std::size_t groups) {
  std::string text;
  for (std::size_t g = 0; g < groups; ++g)
    text += kGroups[g];
  return text + std::string(DataFileReader::kSeparator) + "\n\"next\"\n";
}

// The reader stands on the record's separator: it read exactly the record's fields.
void ExpectAtSeparator(DataFileReader& r) {
  ASSERT_FALSE(r.Eof());
  EXPECT_EQ(r.ReadString(), DataFileReader::kSeparator);
}

TEST(ActionRecordTest, AFullRecordFillsEveryGroupAndTellsTheEffectsInTheRecordsOrder) {
  DataFileReader r(Record(kGroups.size()));
  ActionRecord a;
  RecordedEffects effects;
  EXPECT_FALSE(ReadActionRecord(r, a, effects));
  ExpectAtSeparator(r);
  EXPECT_TRUE(a.showMessage);
  EXPECT_EQ(a.message, "Hello");
  EXPECT_EQ(a.goToFrame, 1);
  EXPECT_EQ(a.targetFrame, "Hall");
  EXPECT_EQ(a.restartHotspotSound, 1);
  EXPECT_EQ(a.stopAllSounds, 1);
  EXPECT_EQ(a.playVideo, 1);
  EXPECT_EQ(a.videoFile, "clip.avi");
  EXPECT_TRUE(a.videoOwnSize);
  EXPECT_FALSE(a.videoInCutSceneArea);
  EXPECT_EQ(std::vector<int>({a.videoLeft, a.videoTop, a.videoWidth, a.videoHeight}),
            std::vector<int>({10, 20, 30, 40}));
  EXPECT_TRUE(a.stopOneShot);
  EXPECT_TRUE(a.hotspotSoundOn);
  EXPECT_EQ(a.hotspotSound, "ding.wav");
  EXPECT_FALSE(a.oneShotOn);
  EXPECT_EQ(a.oneShotSound, "one.wav");
  EXPECT_TRUE(a.previousFrame);
  EXPECT_TRUE(a.messageInGame);
  EXPECT_FALSE(a.loopHotspotSound);
  EXPECT_EQ(a.transitionOn, 1);
  EXPECT_EQ(a.transitionDurationMs, 800);
  EXPECT_TRUE(a.runProcedure);
  EXPECT_EQ(a.procedure, "MsgBox |hi|");
  EXPECT_EQ(a.transitionNumber, 3);
  EXPECT_EQ(effects.log, (std::vector<std::string>{
                             "variable Door 1",
                             "disappear",
                             "stop hotspot sound",
                             "stop all sounds",
                             "variable A 0",
                             "variable B 1",
                             "variable C 1",
                             "fade 1.500000",
                             "channel 1 2 fade once 7.000000 a.wav",
                             "channel 2 0 cut loop 3.000000 b.wav",
                             "pick up key",
                         }));
}

TEST(ActionRecordTest, ARecordCutAfterAnyGroupKeepsTheDefaultsOfTheGroupsAfterIt) {
  for (std::size_t groups = 1; groups < kGroups.size(); ++groups) {
    SCOPED_TRACE("groups read: " + std::to_string(groups));
    DataFileReader r(Record(groups));
    ActionRecord a;
    RecordedEffects effects;
    EXPECT_FALSE(ReadActionRecord(r, a, effects));
    ExpectAtSeparator(r);
    EXPECT_EQ(a.playVideo != 0, groups >= 2);
    EXPECT_EQ(a.hotspotSoundOn, groups >= 3);
    EXPECT_EQ(a.previousFrame, groups >= 4);
    EXPECT_EQ(a.messageInGame, groups >= 5);
    EXPECT_EQ(a.loopHotspotSound, groups < 7);  // on unless the record turns it off
    EXPECT_EQ(a.transitionDurationMs, groups >= 8 ? 800 : 0);
    EXPECT_EQ(a.runProcedure, groups >= 9);
    EXPECT_EQ(a.transitionNumber, groups >= 10 ? 3 : 0);
    EXPECT_EQ(effects.log.back(), groups >= 11 ? "channel 2 0 cut loop 3.000000 b.wav"
                                  : groups >= 6 ? "variable C 1"
                                  : groups >= 2 ? "stop all sounds"
                                                : "disappear");
  }
}

TEST(ActionRecordTest, EndGameStopsTheReadingAfterItsField) {
  DataFileReader r("1,\"Door\",1,0,0,0,\"\",0,\"\",0,1,1,\"Hall\"\n");
  ActionRecord a;
  RecordedEffects effects;
  EXPECT_TRUE(ReadActionRecord(r, a, effects));
  EXPECT_EQ(effects.log, std::vector<std::string>{"variable Door 0"});
  EXPECT_EQ(a.goToFrame, 0);
  EXPECT_EQ(r.ReadInteger(), 1);  // the go-to-frame field is the next one
}

TEST(ActionRecordTest, SwitchedOffVariableChangesReadTheirFieldsButChangeNothing) {
  // A1 off with every change flag set; F4 off with names in the lists.
  std::string record = "0,\"Door\",1,1,1,0,\"\",0,\"\",0,0,0,\"\"\n" + kGroups[1] + kGroups[2] +
                       kGroups[3] + kGroups[4] + "0,0,0,0,1,\"A\",1,\"B\",1,\"C\"\n" +
                       std::string(DataFileReader::kSeparator);
  DataFileReader r(record);
  ActionRecord a;
  RecordedEffects effects;
  EXPECT_FALSE(ReadActionRecord(r, a, effects));
  ExpectAtSeparator(r);
  EXPECT_EQ(effects.log, (std::vector<std::string>{"stop hotspot sound", "stop all sounds"}));
}

TEST(ActionRecordTest, ChannelLinesKeepLeftOutValuesAndLinesBeyondSevenHaveNoChannel) {
  std::string head;
  for (std::size_t g = 0; g < 10; ++g)
    head += kGroups[g];
  // Three values a line: volume and file stay as the line before left them (here: defaults).
  std::string lines = "0,0,0,0,0,0,\"250\",0,3,9\n";
  for (int l = 1; l <= 9; ++l)
    lines += std::to_string(l) + (l % 2 ? ",#TRUE#,#TRUE#\n" : ",#FALSE#,#FALSE#\n");
  DataFileReader r(head + lines + kGroups[11] + std::string(DataFileReader::kSeparator));
  ActionRecord a;
  RecordedEffects effects;
  EXPECT_FALSE(ReadActionRecord(r, a, effects));
  ExpectAtSeparator(r);
  std::vector<std::string> channels;
  for (const std::string& entry : effects.log)
    if (entry.starts_with("channel ") || entry.starts_with("fade ") || entry.starts_with("pick"))
      channels.push_back(entry);
  EXPECT_EQ(channels, (std::vector<std::string>{
                          "fade 0.250000",
                          "channel 1 1 fade loop 0.000000 ",
                          "channel 2 2 cut once 0.000000 ",
                          "channel 3 3 fade loop 0.000000 ",
                          "channel 4 4 cut once 0.000000 ",
                          "channel 5 5 fade loop 0.000000 ",
                          "channel 6 6 cut once 0.000000 ",
                          "channel 7 7 fade loop 0.000000 ",
                          "pick up key",
                      }));
}

TEST(ActionRecordTest, MoreThanFiveValuesPerChannelLineEndTheRecordBeforeTheTable) {
  std::string head;
  for (std::size_t g = 0; g < 10; ++g)
    head += kGroups[g];
  DataFileReader r(head + "0,0,0,0,0,0,\"1000\",0,6,1\n1,2,3,4,5,6\n" + kGroups[11]);
  ActionRecord a;
  RecordedEffects effects;
  EXPECT_FALSE(ReadActionRecord(r, a, effects));
  EXPECT_EQ(effects.log.back(), "fade 1.000000");
  EXPECT_EQ(r.ReadInteger(), 1);  // the line count was left unread
}

}  // namespace
}  // namespace sl
