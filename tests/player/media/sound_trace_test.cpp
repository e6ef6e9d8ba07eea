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

using Lines = std::vector<std::string>;

std::string Line(int t, int player, const std::string& op) {
  return "{\"t\":" + std::to_string(t) + ",\"ev\":\"sound\",\"player\":" + std::to_string(player) +
         ",\"op\":" + op + "}";
}
std::string Stop(int t, int player) {
  return Line(t, player, "\"stop\"");
}
std::string End(int t, int player) {
  return Line(t, player, "\"end\"");
}
std::string Volume(int t, int player, int volume) {
  return Line(t, player, "\"volume\",\"volume\":" + std::to_string(volume));
}
std::string Play(int t, int player, const std::string& file, int count, int volume) {
  return Line(t, player,
              "\"play\",\"file\":\"Areas/" + file + "\",\"count\":" + std::to_string(count) +
                  ",\"volume\":" + std::to_string(volume));
}
// A player started at a new volume: stopped, given the volume, told to play.
Lines Start(int t, int player, const std::string& file, int count, int volume) {
  return {Stop(t, player), Volume(t, player, volume), Play(t, player, file, count, volume)};
}
// Fade steps: at `t`, `t` + 100, ... each player of `steps` gets its next volume, in order.
Lines Ticks(int t, const std::vector<std::pair<int, std::vector<int>>>& steps) {
  Lines out;
  for (std::size_t i = 0; i < steps.front().second.size(); ++i) {
    for (const auto& [player, volumes] : steps)
      out.push_back(Volume(t + 100 * static_cast<int>(i), player, volumes[i]));
  }
  return out;
}
Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(SoundTrace, ASoundEndsAfterItsLengthAndItsPlayerIsFreeAgain) {
  sl::test::TempFolder dir;
  // The hotspot sound (0.5 s, not repeating) starts only while its player is free.
  Lines sounds = Sounds(dir,
                        "click 25 25\n"
                        "wait 300\n"
                        "click 25 25\n"
                        "wait 300\n"
                        "click 25 25\n"
                        "wait 1000\n");
  Lines expected =
      Start(0, 6, "bell.wav", 1, -1200) +
      Lines{End(500, 6), Stop(600, 6), Play(600, 6, "bell.wav", 1, -1200), End(1100, 6)};
  EXPECT_EQ(sounds, expected);
}

TEST(SoundTrace, FadesInOutAndCrossFadesStepByStepOnTheFadeClock) {
  sl::test::TempFolder dir;
  Lines sounds = Sounds(dir,
                        "click 85 25\n"  // the tune fades in over 0.5 s
                        "wait 1000\n"
                        "click 205 25\n"  // channel 1 to the sea, crossed
                        "wait 1000\n"
                        "click 145 25\n"  // channel 1 fades out
                        "wait 1000\n");
  Lines expected =
      // The tune starts silent on channel 1's player; the first tick starts the fade
      // clock, each later one sets the level for the time gone by; at 500 ms it is full.
      Start(0, 1, "tune.mid", 0, -4000) + Ticks(200, {{1, {-3200, -2400, -1600, -800, 0}}}) +
      // Player 1 is busy: the sea comes in on the first free player, the tune goes out.
      Start(1000, 2, "sea.wav", 0, -4000) +
      Ticks(1200, {{2, {-3200, -2400, -1600, -800}}, {1, {-800, -1600, -2400, -3200}}}) +
      Lines{Volume(1600, 2, 0), Stop(1600, 1)} +
      // Channel 1 lives on player 2 now; its fade-out ends in a stop.
      Ticks(2200, {{2, {-800, -1600, -2400, -3200}}}) + Lines{Stop(2600, 2)};
  EXPECT_EQ(sounds, expected);
}

TEST(SoundTrace, ACutVolumeChangeAndTheStopOfEveryWaveSound) {
  sl::test::TempFolder dir;
  Lines sounds = Sounds(dir,
                        "click 85 25\n"
                        "wait 1000\n"
                        "click 25 25\n"   // the bell on player 6
                        "click 265 25\n"  // channel 1 to level 5 at once
                        "click 205 25\n"  // channel 1 to the sea, crossed
                        "wait 1000\n"
                        "click 325 25\n");  // every wave sound stops
  ASSERT_GE(sounds.size(), 8u);
  sounds.erase(sounds.begin(), sounds.begin() + 8);  // the fade-in of the test before
  Lines expected =
      Start(1000, 6, "bell.wav", 1, -1200) + Lines{Volume(1000, 1, -2000)} +
      Start(1000, 2, "sea.wav", 0, -4000) +
      Ticks(1200, {{2, {-3200, -2400, -1600, -800}}, {1, {-2400, -2800, -3200, -3600}}}) +
      Lines{End(1500, 6), Volume(1600, 2, 0), Stop(1600, 1), Stop(2000, 2)};
  EXPECT_EQ(sounds, expected);
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
