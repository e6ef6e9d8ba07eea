// The demo game on the real desktop (a private Xvfb) with SDL's disk audio driver, which writes
// what the device would play to a file: the harbour's sea loop, the lamp room's bell and the
// lighthouse tune (MIDI, once its fade-in is over) arrive at the levels the game asks for, and
// the mute key silences everything. Without a sound device the game plays on, silently.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "av/decoded_sound.h"
#include "av/midi_synths.h"
#include "av/sound_file.h"
#include "av/volume.h"
#include "backend/sdl/sdl_platform.h"
#include "core/recording_message_box.h"
#include "player/player.h"
#include "sdl/xvfb_display.h"
#include "support/sound_fixtures.h"
#include "support/temp_folder.h"
#include "ui/fake_platform.h"

namespace sl::sdl {
namespace {

const std::string kDemo = STORYLOOM_SOURCE_DIR "/examples/demo";

// The stereo float samples the device was given from byte `from` on.
std::vector<float> Recorded(const std::string& path, std::uintmax_t from) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(from));
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<float> samples(bytes.size() / sizeof(float));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
  return samples;
}

std::uintmax_t Size(const std::string& path) {
  std::error_code ec;
  std::uintmax_t n = std::filesystem::file_size(path, ec);
  return ec ? 0 : n;
}

// The index of the first frame of a stereo recording that is not silent (the size when none).
std::size_t FirstSound(const std::vector<float>& stereo) {
  std::size_t frames = stereo.size() / 2;
  std::size_t first = 0;
  while (first < frames && stereo[2 * first] == 0 && stereo[2 * first + 1] == 0)
    ++first;
  return first;
}

// The first `seconds` of a sound file, decoded at its own rate.
std::vector<float> Opening(const std::string& path, double seconds) {
  auto file = av::DecodedSound::Open(path);
  if (!file) return {};
  auto frames = static_cast<int>(file->Format().sampleRate * seconds);
  std::vector<float> samples(static_cast<std::size_t>(frames * file->Format().channels));
  int read = file->Read(samples.data(), frames);
  samples.resize(static_cast<std::size_t>(read * file->Format().channels));
  return samples;
}

// `frames` stereo frames of a MIDI file from its start, rendered on its own at `rate` by a
// synthesiser like the game's; empty without a sound font.
std::vector<float> RenderedTune(const std::string& path, int rate, std::size_t frames) {
  auto synths = std::make_shared<av::MidiSynths>(av::FindSoundFont(), rate);
  av::OpenedSound tune = av::OpenSoundFile(path, synths);
  if (!tune.source) return {};
  std::vector<float> samples(2 * frames);
  std::size_t done = 0;
  while (done < frames) {
    int n = tune.source->Read(samples.data() + 2 * done,
                              static_cast<int>(std::min<std::size_t>(frames - done, 1024)));
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  samples.resize(2 * done);
  return samples;
}

// What the device was given from byte `from` on, once it holds `seconds` after its first sound.
// A loaded machine's device falls behind the clock, so this waits for the sound rather than for
// a time, at most 20 s.
std::vector<float> RecordedSound(ui::EventLoop& loop, const std::string& out, std::uintmax_t from,
                                 int rate, double seconds) {
  auto needed = static_cast<std::size_t>(seconds * rate);
  std::vector<float> sound = Recorded(out, from);
  for (int waited = 0; sound.size() / 2 < FirstSound(sound) + needed && waited < 20000;
       waited += 100) {
    loop.Sleep(100);
    sound = Recorded(out, from);
  }
  return sound;
}

// Stops every sound, lets the stopped ones fade, opens `frame` and returns what the device was
// given over the next `ms` milliseconds, or longer until `seconds` follow the first sound.
std::vector<float> SoundOfFrame(Player& player, const std::string& out, const std::string& frame,
                                int ms, int rate, double seconds) {
  Game& game = *player.GetGame();
  ui::EventLoop& loop = player.Windows().Loop();
  game.Channels().StopAllSounds();
  loop.Sleep(200);
  std::uintmax_t start = Size(out);
  game.OpenFrame(frame);
  loop.Sleep(ms);
  return RecordedSound(loop, out, start, rate, seconds);
}

TEST(SoundDesktopTest, TheDemosSoundsReachTheDeviceAtTheirLevels) {
  test::XvfbDisplay xvfb;
  if (!xvfb.Installed()) GTEST_SKIP() << "skipped: " << xvfb.Reason();
  ASSERT_TRUE(xvfb.Available()) << xvfb.Reason();
  test::TempFolder dir;
  std::string out = dir / "device.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  {
    ui::test::FakeSettings settings;
    SdlPlatform platform(settings, SdlOptions{{1024, 768}});
    RecordingMessageBoxService boxes;
    Player player(platform, boxes, kDemo);
    player.Start();
    player.Title().ClickButton(0);  // Start: the harbour, with the sea as its music
    ui::EventLoop& loop = player.Windows().Loop();
    loop.Sleep(3000);
    ui::AudioOutput* audio = platform.Audio();
    ASSERT_NE(audio, nullptr) << SDL_GetError();
    ASSERT_EQ(audio->Channels(), 2);
    int rate = audio->SampleRate();

    // The sea: player 6 at level 7, -1200 hundredths of a decibel.
    std::vector<float> sea = RecordedSound(loop, out, 0, rate, 2);
    ASSERT_GT(sea.size(), static_cast<std::size_t>(rate));
    double expected = test::Rms(Opening(kDemo + "/Areas/Sea.wav", 2)) * av::GainOfVolume(-1200);
    // Measured from its first sample on: a slow machine may open the frame well after the
    // device started, and the silence before is no part of the sea's level.
    std::size_t frames = sea.size() / 2;
    std::size_t first = FirstSound(sea);
    ASSERT_GT(frames - first, static_cast<std::size_t>(rate));
    std::size_t end = std::min<std::size_t>(frames, first + 2 * static_cast<std::size_t>(rate));
    double left = test::Rms(sea, 2, 0, first, end);
    double right = test::Rms(sea, 2, 1, first, end);
    EXPECT_NEAR(left, expected, expected * 0.05);
    EXPECT_NEAR(right, left, 1e-6);  // a mono file on both channels

    // The bell of the lamp room alone: player 7 at level 8, -800, played once. A decaying
    // sound: its level is measured over its first second from the strike on.
    std::vector<float> bell = SoundOfFrame(player, out, "Lamp Room", 1500, rate, 1.1);
    std::size_t bellFrom = FirstSound(bell);
    ASSERT_GT(bell.size() / 2 - bellFrom, static_cast<std::size_t>(rate));
    std::size_t bellTo = bellFrom + static_cast<std::size_t>(rate);
    double bellExpected =
        test::Rms(Opening(kDemo + "/Frames/Bell.wav", 1)) * av::GainOfVolume(-800);
    double bellLeft = test::Rms(bell, 2, 0, bellFrom, bellTo);
    EXPECT_NEAR(bellLeft, bellExpected, bellExpected * 0.05);
    EXPECT_NEAR(test::Rms(bell, 2, 1, bellFrom, bellTo), bellLeft, 1e-6);

    // The lighthouse tune alone: channel 1 at level 8 once its 2.5 s fade-in is over, as loud
    // as the same synthesiser makes the tune on its own.
    std::vector<float> tune = SoundOfFrame(player, out, "Lighthouse Door", 5000, rate, 4.6);
    std::size_t tuneFrom = FirstSound(tune);
    std::size_t from = tuneFrom + 3 * static_cast<std::size_t>(rate);
    std::size_t to = from + 3 * static_cast<std::size_t>(rate) / 2;
    ASSERT_GE(tune.size() / 2, to);
    std::vector<float> alone = RenderedTune(kDemo + "/Areas/Tune.mid", rate, to - tuneFrom);
    ASSERT_EQ(alone.size() / 2, to - tuneFrom) << "no General MIDI sound font";
    for (int channel : {0, 1}) {
      double expectedTune = test::Rms(alone, 2, channel, from - tuneFrom) * av::GainOfVolume(-800);
      EXPECT_GT(expectedTune, 0.002);
      EXPECT_NEAR(test::Rms(tune, 2, channel, from, to), expectedTune, expectedTune * 0.05)
          << "channel " << channel;
    }

    // Ctrl+M: silence, while the tune plays on.
    ui::InputEvent key;
    key.kind = ui::InputKind::KeyDown;
    key.keyCode = 'M';
    key.shift = ui::kCtrlMask;
    player.Windows().HandleInput(key);
    EXPECT_TRUE(player.Sound().Muted());
    loop.Sleep(300);
    std::uintmax_t muteStart = Size(out);
    loop.Sleep(700);
    std::vector<float> muted = Recorded(out, muteStart);
    ASSERT_FALSE(muted.empty());
    EXPECT_EQ(test::Rms(muted, 2, 0), 0.0);
    EXPECT_EQ(settings.Get("Software", kSoundSettingsSection, "Muted"), "1");  // remembered
  }
  unsetenv("SDL_AUDIODRIVER");
  unsetenv("SDL_DISKAUDIOFILE");
}

TEST(SoundDesktopTest, WithoutASoundDeviceTheGamePlaysOnSilentlyAndSaysSoOnce) {
  test::XvfbDisplay xvfb;
  if (!xvfb.Installed()) GTEST_SKIP() << "skipped: " << xvfb.Reason();
  ASSERT_TRUE(xvfb.Available()) << xvfb.Reason();
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  testing::internal::CaptureStderr();
  {
    ui::test::FakeSettings settings;
    SdlPlatform platform(settings, SdlOptions{{1024, 768}});
    RecordingMessageBoxService boxes;
    Player player(platform, boxes, kDemo);
    player.Start();
    player.Title().ClickButton(0);  // the harbour, whose sea is the first sound
    ui::EventLoop& loop = player.Windows().Loop();
    loop.Sleep(300);
    Game& game = *player.GetGame();
    EXPECT_EQ(platform.Audio(), nullptr);
    EXPECT_TRUE(game.MPlayer()(6).Playing());  // the sea loops on, unheard
    // The bell still lasts its 2.5 s on the clock and leaves its player free again.
    game.OpenFrame("Lamp Room");
    loop.Sleep(500);
    EXPECT_TRUE(game.MPlayer()(7).Playing());
    loop.Sleep(2500);
    EXPECT_FALSE(game.MPlayer()(7).Playing());
    EXPECT_EQ(game.CurrentFrameName, "Lamp Room");
  }
  std::string said = testing::internal::GetCapturedStderr();
  unsetenv("SDL_AUDIODRIVER");
  const std::string line = "storyloom: no sound device (";
  std::size_t at = said.find(line);
  ASSERT_NE(at, std::string::npos) << said;
  EXPECT_NE(said.find("); the game plays on without sound\n", at), std::string::npos) << said;
  EXPECT_EQ(said.find(line, at + 1), std::string::npos) << said;  // once, for all the sounds
}

}  // namespace
}  // namespace sl::sdl
