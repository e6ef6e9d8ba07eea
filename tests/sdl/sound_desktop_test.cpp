// The demo game on the real desktop (a private Xvfb) with SDL's disk audio driver, which writes
// what the device would play to a file: the harbour's sea loop arrives at the level the game
// asks for, the lighthouse tune (MIDI) is heard once its fade-in is over, and the mute key
// silences everything.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "av/decoded_sound.h"
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
    std::vector<float> sea = Recorded(out, 0);
    ASSERT_GT(sea.size(), static_cast<std::size_t>(rate));
    auto file = av::DecodedSound::Open(kDemo + "/Areas/Sea.wav");
    ASSERT_TRUE(file);
    std::vector<float> original(static_cast<std::size_t>(file->Format().sampleRate) * 2);
    original.resize(
        static_cast<std::size_t>(file->Read(original.data(), file->Format().sampleRate * 2)));
    double expected = test::Rms(original) * av::GainOfVolume(-1200);
    // Measured from its first sample on: a slow machine may open the frame well after the
    // device started, and the silence before is no part of the sea's level.
    std::size_t frames = sea.size() / 2;
    std::size_t first = 0;
    while (first < frames && sea[2 * first] == 0 && sea[2 * first + 1] == 0)
      ++first;
    ASSERT_GT(frames - first, static_cast<std::size_t>(rate));
    std::size_t end = std::min<std::size_t>(frames, first + 2 * static_cast<std::size_t>(rate));
    double left = test::Rms(sea, 2, 0, first, end);
    double right = test::Rms(sea, 2, 1, first, end);
    EXPECT_NEAR(left, expected, expected * 0.15);
    EXPECT_NEAR(right, left, 1e-6);  // a mono file on both channels

    // The lighthouse tune alone, after its 2.5 s fade-in.
    Game& game = *player.GetGame();
    game.Channels().StopAllSounds();
    game.OpenFrame("Lighthouse Door", false, 0, 0);
    loop.Sleep(3000);
    std::uintmax_t tuneStart = Size(out);
    loop.Sleep(1500);
    std::vector<float> tune = Recorded(out, tuneStart);
    ASSERT_GT(tune.size(), static_cast<std::size_t>(rate));
    EXPECT_GT(test::Rms(tune, 2, 0), 0.005);
    EXPECT_GT(test::Rms(tune, 2, 1), 0.005);

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

}  // namespace
}  // namespace sl::sdl
