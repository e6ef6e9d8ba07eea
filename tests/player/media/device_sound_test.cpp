// The sound of media devices on a mixer: it follows the device through play, pause, resume,
// stop, seek and close; wave and MIDI devices and videos with a sound track, opened by the media
// command interpreter, sound while they play, at the level "setaudio" gives them; a long video's
// pictures keep in step with a sound device whose clock runs fast or slow.
#include "player/media/device_sound.h"

#include <gtest/gtest.h>

#include "av/midi_synths.h"
#include "player/media/mci_interpreter.h"
#include "player/media/sound_output.h"
#include "player/media/video_device.h"
#include "support/sound_fixtures.h"
#include "support/temp_folder.h"
#include "support/test_video.h"
#include "ui/fake_platform.h"
#include "ui/window_manager.h"

namespace sl {
namespace {

constexpr int kRate = 8000;

// A mixer of its own in place of the run's sound device.
struct TestOutput final : SoundOutput {
  av::Mixer* Mixer() override { return &mixer; }
  std::shared_ptr<av::MidiSynths> MidiSynths() override { return synths; }
  av::Mixer mixer{{kRate, 1}};
  std::shared_ptr<av::MidiSynths> synths;
};

class DeviceSoundTest : public ::testing::Test {
 protected:
  DeviceSoundTest() {
    // A rising ramp: every sample tells where in the file it comes from.
    for (int i = 0; i < kRate; ++i)
      ramp_.push_back(static_cast<float>(i) / kRate);
    test::WriteWav16(dir_ / "ramp.wav", kRate, 1, ramp_);
  }
  std::vector<float> Pull(int frames) {
    std::vector<float> out(static_cast<std::size_t>(frames));
    output_.mixer.Mix(out.data(), frames);
    return out;
  }
  // The file's sample at `frame`, as the 16-bit file holds it.
  float At(int frame) const { return ramp_[static_cast<std::size_t>(frame)]; }
  std::string Send(const std::string& command) { return mci_.SendString(command); }

  test::TempFolder dir_;
  std::vector<float> ramp_;
  TestOutput output_;
  ui::test::FakePlatform platform_;
  ui::WindowManager windows_{platform_};
  MciInterpreter mci_{windows_.Loop(),
                      [](const std::string& p) -> std::optional<std::string> { return p; },
                      VideoPacing::Live};
};

TEST_F(DeviceSoundTest, FollowsPlayPauseResumeSeekAndClose) {
  auto sound =
      std::make_unique<DeviceSound>(&output_, dir_ / "ramp.wav", DeviceSoundKind::SoundFile);
  sound->Follow(MciMode::Playing, 0);
  EXPECT_EQ(output_.mixer.VoiceCount(), 1);
  std::vector<float> first = Pull(1000);
  EXPECT_NEAR(first[999], At(999), 1e-3);

  // Paused, the voice fades out within 5 ms (40 frames), holds where it is and resumes from
  // there.
  sound->Follow(MciMode::Paused, 125);
  std::vector<float> held = Pull(1500);
  EXPECT_NEAR(held[0], At(1000), 1e-3);
  EXPECT_LT(held[39], At(1039) / 20);
  EXPECT_EQ(test::Rms(held, 1, 0, 40), 0.0);
  sound->Follow(MciMode::Playing, 125);
  EXPECT_EQ(output_.mixer.VoiceCount(), 1);
  Pull(1000);
  std::vector<float> resumed = Pull(10);
  EXPECT_GT(resumed[0], At(1900));
  EXPECT_LT(resumed[0], At(2100));

  // Moved while stopped: it starts afresh at the new place.
  sound->Follow(MciMode::Stopped, 3000);
  sound->Follow(MciMode::Stopped, 5000);
  Pull(1000);
  EXPECT_EQ(output_.mixer.VoiceCount(), 0);
  sound->Follow(MciMode::Playing, 500);
  std::vector<float> moved = Pull(100);
  EXPECT_NEAR(moved[99], At(4099), 2e-3);
  EXPECT_TRUE(sound->Sounding());

  // Closing the device silences it.
  sound.reset();
  Pull(1000);
  EXPECT_EQ(output_.mixer.VoiceCount(), 0);
}

TEST_F(DeviceSoundTest, WithoutAnOutputOrASoundTrackNothingSounds) {
  DeviceSound silent(nullptr, dir_ / "ramp.wav", DeviceSoundKind::SoundFile);
  silent.Follow(MciMode::Playing, 0);
  EXPECT_FALSE(silent.Sounding());
  dir_.Write("picture.avi", "RIFF not a video at all");
  DeviceSound noTrack(&output_, dir_ / "picture.avi", DeviceSoundKind::VideoTrack);
  noTrack.Follow(MciMode::Playing, 0);
  EXPECT_FALSE(noTrack.Sounding());
  // A video's sound track is any sound stream of the file.
  DeviceSound track(&output_, dir_ / "ramp.wav", DeviceSoundKind::VideoTrack);
  track.Follow(MciMode::Playing, 250);
  EXPECT_NEAR(Pull(10)[0], At(2000), 2e-3);
}

TEST_F(DeviceSoundTest, WaveAndMidiDevicesOfTheCommandInterfaceSound) {
  mci_.SetSoundOutput(&output_);
  std::string font = av::FindSoundFont("/usr/share/sounds/sf2/TimGM6mb.sf2");
  if (!font.empty()) output_.synths = std::make_shared<av::MidiSynths>(font, kRate);
  test::Melody(4).Save(dir_ / "tune.mid");

  Send("Open \"" + dir_ / "ramp.wav" + "\" ALIAS wav1 TYPE Waveaudio wait");
  Send("Open \"" + dir_ / "tune.mid" + "\" ALIAS mid1 TYPE Sequencer wait");
  EXPECT_EQ(output_.mixer.VoiceCount(), 0);  // opening alone sounds nothing
  Send("Play wav1");
  EXPECT_EQ(output_.mixer.VoiceCount(), 1);
  EXPECT_GT(test::Rms(Pull(2000)), 0.05);
  Send("Close wav1");
  Pull(1000);
  EXPECT_EQ(output_.mixer.VoiceCount(), 0);
  if (font.empty()) GTEST_SKIP() << "no General MIDI sound font installed";
  Send("Play mid1 from 1000");
  EXPECT_EQ(output_.mixer.VoiceCount(), 1);
  EXPECT_GT(test::Rms(Pull(4000)), 0.005);
}

TEST_F(DeviceSoundTest, AVideoSoundsItsTrackWhileItPlays) {
  mci_.SetSoundOutput(&output_);
  test::TestVideo talk;  // one second of pictures and of a tone
  talk.sound = test::Tone(kRate, 1, 1.0, 400);
  talk.soundRate = kRate;
  test::WriteTestVideo(dir_ / "talk.avi", talk);
  test::WriteTestVideo(dir_ / "mute.avi", test::TestVideo{});

  Send("Open \"" + dir_ / "talk.avi" + "\" ALIAS 3 TYPE AviVideo wait");
  Send("Open \"" + dir_ / "mute.avi" + "\" ALIAS 4 TYPE AviVideo wait");
  Send("play 4 window");
  EXPECT_EQ(output_.mixer.VoiceCount(), 0);
  Send("play 3 window");
  EXPECT_EQ(output_.mixer.VoiceCount(), 1);
  std::vector<float> heard = Pull(4000);
  EXPECT_NEAR(test::Rms(heard), 0.3536, 0.01);
  EXPECT_NEAR(test::Frequency(heard, kRate), 400, 2);
  Send("Pause 3");
  std::vector<float> paused = Pull(1000);
  EXPECT_GT(test::Rms(paused, 1, 0, 0, 20), 0.1);  // it fades out
  EXPECT_EQ(test::Rms(paused, 1, 0, 40), 0.0);
  Send("Close 3");
  Pull(1000);
  EXPECT_EQ(output_.mixer.VoiceCount(), 0);
}

TEST_F(DeviceSoundTest, SetaudioSetsTheLevelOfADevicesSound) {
  mci_.SetSoundOutput(&output_);
  test::WriteWav16(dir_ / "tone.wav", kRate, 1, test::Tone(kRate, 1, 2.0, 400));
  Send("Open \"" + dir_ / "tone.wav" + "\" ALIAS wav1 TYPE Waveaudio wait");
  EXPECT_EQ(Send("status wav1 volume"), "1000");
  Send("setaudio wav1 volume to 500");  // set before playing, it holds from the start
  EXPECT_EQ(Send("status wav1 volume"), "500");
  Send("Play wav1");
  EXPECT_NEAR(test::Rms(Pull(2000)), 0.1768, 0.005);
  Send("setaudio wav1 volume to 1000");
  Pull(100);  // the step glides over one pull
  EXPECT_NEAR(test::Rms(Pull(2000)), 0.3536, 0.005);
  Send("setaudio wav1 off");
  Pull(100);
  EXPECT_EQ(test::Rms(Pull(1000)), 0.0);
  Send("setaudio wav1 on");
  // Levels beyond the scale are held to it; other forms change nothing.
  Send("setaudio wav1 volume to 5000");
  EXPECT_EQ(Send("status wav1 volume"), "1000");
  Send("setaudio wav1 volume to -20");
  EXPECT_EQ(Send("status wav1 volume"), "0");
  Send("setaudio wav1 volume to loud");
  Send("setaudio wav1 left volume to 800");
  EXPECT_EQ(Send("status wav1 volume"), "0");
}

// A long video whose sound device runs `framesPer100Ms` frames every 100 ms of the clock (800
// is exactly in step): where its pictures stand after 50 s, against where its sound is.
struct Drift {
  std::int64_t pictures = 0;
  std::int64_t sound = 0;
  std::int64_t largestGap = 0;
};

class VideoDriftTest : public DeviceSoundTest {
 protected:
  VideoDriftTest() {
    test::TestVideo film;
    film.width = 16;
    film.height = 16;
    film.fps = 2;
    film.frames = 120;  // a minute
    film.sound = test::Tone(kRate, 1, 60.0, 300);
    film.soundRate = kRate;
    test::WriteTestVideo(dir_ / "film.avi", film);
    mci_.SetSoundOutput(&output_);
  }
  Drift Play(int framesPer100Ms) {
    Send("Open \"" + dir_ / "film.avi" + "\" ALIAS film TYPE AviVideo wait");
    auto* video = dynamic_cast<VideoDevice*>(mci_.Device("film"));
    EXPECT_NE(video, nullptr);
    Drift d;
    if (!video) return d;
    draw::Surface window(16, 16, draw::kBlack);
    Send("play film window");
    std::int64_t start = platform_.clock.MonotonicMs();
    std::int64_t pulled = 0;
    for (int step = 1; step <= 500; ++step) {
      platform_.clock.AdvanceTo(start + 100 * step);
      Pull(framesPer100Ms);
      pulled += framesPer100Ms;
      video->Paint(window, {0, 0});
      d.largestGap = std::max(d.largestGap, std::abs(video->PositionMs() - pulled / 8));
    }
    d.pictures = video->PositionMs();
    d.sound = pulled / 8;  // 8 frames a millisecond
    Send("Close film");
    return d;
  }
};

TEST_F(VideoDriftTest, PicturesFollowASoundDeviceThatRunsFastOrSlow) {
  // In step, the pictures keep the clock's time and are never moved.
  Drift even = Play(800);
  EXPECT_EQ(even.pictures, 50000);
  EXPECT_EQ(even.largestGap, 0);
  // A sound device 1 % fast or slow would leave them half a second apart after 50 s.
  Drift fast = Play(808);
  EXPECT_EQ(fast.sound, 50500);
  EXPECT_LE(fast.largestGap, 60);
  EXPECT_NEAR(fast.pictures, fast.sound, 60);
  Drift slow = Play(792);
  EXPECT_EQ(slow.sound, 49500);
  EXPECT_LE(slow.largestGap, 60);
  EXPECT_NEAR(slow.pictures, slow.sound, 60);
}

}  // namespace
}  // namespace sl
