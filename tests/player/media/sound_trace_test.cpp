// The storyloom program, headless, on the sound fixture: what its sound players are told and
// when their sounds end on the virtual clock, read back as whole trace lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/headless_run.h"

namespace {

std::vector<std::string> Sounds(const sl::test::TempFolder& dir, const std::string& events) {
  sl::test::HeadlessRun run = sl::test::RunHeadless(dir, "sound_game", events);
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> sounds = sl::test::Records(run.trace, "sound");
  // The game's reset stops all seven players first.
  EXPECT_GE(sounds.size(), 7u);
  for (int p = 1; p <= 7 && p <= static_cast<int>(sounds.size()); ++p) {
    EXPECT_EQ(sounds[static_cast<std::size_t>(p - 1)],
              "{\"t\":0,\"ev\":\"sound\",\"player\":" + std::to_string(p) + ",\"op\":\"stop\"}");
  }
  sounds.erase(sounds.begin(), sounds.begin() + std::min<std::ptrdiff_t>(7, sounds.size()));
  return sounds;
}

std::string Line(int t, int player, const std::string& rest) {
  return "{\"t\":" + std::to_string(t) + ",\"ev\":\"sound\",\"player\":" + std::to_string(player) +
         ",\"op\":" + rest + "}";
}

TEST(SoundTrace, ASoundEndsAfterItsLengthAndItsPlayerIsFreeAgain) {
  sl::test::TempFolder dir;
  // The hotspot sound (0.5 s, not repeating) starts only while its player is free.
  std::vector<std::string> sounds = Sounds(dir,
                                           "click 25 25\n"
                                           "wait 300\n"
                                           "click 25 25\n"
                                           "wait 300\n"
                                           "click 25 25\n"
                                           "wait 1000\n");
  EXPECT_EQ(sounds,
            (std::vector<std::string>{
                Line(0, 6, "\"stop\""),
                Line(0, 6, "\"volume\",\"volume\":-1200"),
                Line(0, 6, "\"play\",\"file\":\"Areas/bell.wav\",\"count\":1,\"volume\":-1200"),
                Line(500, 6, "\"end\""),
                Line(600, 6, "\"stop\""),
                Line(600, 6, "\"play\",\"file\":\"Areas/bell.wav\",\"count\":1,\"volume\":-1200"),
                Line(1100, 6, "\"end\""),
            }));
}

TEST(SoundTrace, FadesInOutAndCrossFadesStepByStepOnTheFadeClock) {
  sl::test::TempFolder dir;
  std::vector<std::string> sounds = Sounds(dir,
                                           "click 85 25\n"  // the tune fades in over 0.5 s
                                           "wait 1000\n"
                                           "click 205 25\n"  // channel 1 to the sea, crossed
                                           "wait 1000\n"
                                           "click 145 25\n"  // channel 1 fades out
                                           "wait 1000\n");
  std::vector<std::string> expected = {
      // The tune starts silent on channel 1's player; the first tick starts the fade clock,
      // each later one sets the level for the time gone by; at 500 ms it is full.
      Line(0, 1, "\"stop\""),
      Line(0, 1, "\"volume\",\"volume\":-4000"),
      Line(0, 1, "\"play\",\"file\":\"Areas/tune.mid\",\"count\":0,\"volume\":-4000"),
      Line(200, 1, "\"volume\",\"volume\":-3200"),
      Line(300, 1, "\"volume\",\"volume\":-2400"),
      Line(400, 1, "\"volume\",\"volume\":-1600"),
      Line(500, 1, "\"volume\",\"volume\":-800"),
      Line(600, 1, "\"volume\",\"volume\":0"),
  };
  std::vector<std::string> cross = {
      // Player 1 is busy: the sea comes in on the first free player, the tune goes out.
      Line(1000, 2, "\"stop\""),
      Line(1000, 2, "\"volume\",\"volume\":-4000"),
      Line(1000, 2, "\"play\",\"file\":\"Areas/sea.wav\",\"count\":0,\"volume\":-4000"),
      Line(1200, 2, "\"volume\",\"volume\":-3200"),
      Line(1200, 1, "\"volume\",\"volume\":-800"),
      Line(1300, 2, "\"volume\",\"volume\":-2400"),
      Line(1300, 1, "\"volume\",\"volume\":-1600"),
      Line(1400, 2, "\"volume\",\"volume\":-1600"),
      Line(1400, 1, "\"volume\",\"volume\":-2400"),
      Line(1500, 2, "\"volume\",\"volume\":-800"),
      Line(1500, 1, "\"volume\",\"volume\":-3200"),
      Line(1600, 2, "\"volume\",\"volume\":0"),
      Line(1600, 1, "\"stop\""),
      // Channel 1 lives on player 2 now; its fade-out ends in a stop.
      Line(2200, 2, "\"volume\",\"volume\":-800"),
      Line(2300, 2, "\"volume\",\"volume\":-1600"),
      Line(2400, 2, "\"volume\",\"volume\":-2400"),
      Line(2500, 2, "\"volume\",\"volume\":-3200"),
      Line(2600, 2, "\"stop\""),
  };
  expected.insert(expected.end(), cross.begin(), cross.end());
  EXPECT_EQ(sounds, expected);
}

TEST(SoundTrace, ACutVolumeChangeAndTheStopOfEveryWaveSound) {
  sl::test::TempFolder dir;
  std::vector<std::string> sounds = Sounds(dir,
                                           "click 85 25\n"
                                           "wait 1000\n"
                                           "click 25 25\n"   // the bell on player 6
                                           "click 265 25\n"  // channel 1 to level 5 at once
                                           "click 205 25\n"  // channel 1 to the sea, crossed
                                           "wait 1000\n"
                                           "click 325 25\n");  // every wave sound stops
  ASSERT_GE(sounds.size(), 8u);
  sounds.erase(sounds.begin(), sounds.begin() + 8);  // the fade-in of the first test
  EXPECT_EQ(sounds,
            (std::vector<std::string>{
                Line(1000, 6, "\"stop\""),
                Line(1000, 6, "\"volume\",\"volume\":-1200"),
                Line(1000, 6, "\"play\",\"file\":\"Areas/bell.wav\",\"count\":1,\"volume\":-1200"),
                Line(1000, 1, "\"volume\",\"volume\":-2000"),
                Line(1000, 2, "\"stop\""),
                Line(1000, 2, "\"volume\",\"volume\":-4000"),
                Line(1000, 2, "\"play\",\"file\":\"Areas/sea.wav\",\"count\":0,\"volume\":-4000"),
                Line(1200, 2, "\"volume\",\"volume\":-3200"),
                Line(1200, 1, "\"volume\",\"volume\":-2400"),
                Line(1300, 2, "\"volume\",\"volume\":-2400"),
                Line(1300, 1, "\"volume\",\"volume\":-2800"),
                Line(1400, 2, "\"volume\",\"volume\":-1600"),
                Line(1400, 1, "\"volume\",\"volume\":-3200"),
                Line(1500, 2, "\"volume\",\"volume\":-800"),
                Line(1500, 1, "\"volume\",\"volume\":-3600"),
                Line(1500, 6, "\"end\""),
                Line(1600, 2, "\"volume\",\"volume\":0"),
                Line(1600, 1, "\"stop\""),
                Line(2000, 2, "\"stop\""),
            }));
}

TEST(SoundTrace, CtrlMMutesAndTheSettingsRememberIt) {
  sl::test::TempFolder dir;
  sl::test::HeadlessRun run = sl::test::RunHeadless(dir, "sound_game", "key m ctrl\nkey M ctrl\n");
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> settings;
  for (const std::string& r : sl::test::Records(run.trace, "setting")) {
    if (sl::test::Has(r, "Storyloom Player")) settings.push_back(r);
  }
  EXPECT_EQ(settings, (std::vector<std::string>{
                          "{\"t\":0,\"ev\":\"setting\",\"section\":\"Storyloom Player\","
                          "\"key\":\"Muted\",\"value\":\"1\"}",
                          "{\"t\":0,\"ev\":\"setting\",\"section\":\"Storyloom Player\","
                          "\"key\":\"Muted\",\"value\":\"0\"}",
                      }));
}

}  // namespace
