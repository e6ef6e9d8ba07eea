// The mixer with sources of known samples: voices add up at their gains, gain changes glide,
// play counts and endless loops, rate and channel conversion, pause, stop, master volume and
// mute, clipping, the tail after the last play; the volume scale; the pushed queue.
#include "av/mixer.h"

#include <gtest/gtest.h>

#include "av/audio_queue.h"
#include "av/volume.h"
#include "support/sound_fixtures.h"

namespace sl::av {
namespace {

// Plays `frames` frames of a constant value (or given samples), then ends; rewinds.
class TestSource : public AudioSource {
 public:
  TestSource(AudioFormat f, std::vector<float> samples) : f_(f), s_(std::move(samples)) {}
  static std::unique_ptr<TestSource> Constant(float v, int frames, AudioFormat f = {1000, 1}) {
    return std::make_unique<TestSource>(
        f, std::vector<float>(static_cast<std::size_t>(frames * f.channels), v));
  }
  AudioFormat Format() const override { return f_; }
  int Read(float* out, int frames) override {
    auto ch = static_cast<std::size_t>(f_.channels);
    std::size_t n = std::min(static_cast<std::size_t>(frames), s_.size() / ch - pos_);
    std::copy_n(s_.begin() + static_cast<long>(pos_ * ch), n * ch, out);
    pos_ += n;
    return static_cast<int>(n);
  }
  bool Rewind() override {
    ++rewinds;
    pos_ = 0;
    return true;
  }
  int ReadTail(float* out, int frames) override {
    int n = std::min(frames, tail);
    std::fill(out, out + n * f_.channels, 0.25f);
    tail -= n;
    return n;
  }
  int rewinds = 0;
  int tail = 0;

 private:
  AudioFormat f_;
  std::vector<float> s_;
  std::size_t pos_ = 0;
};

std::vector<float> Pull(Mixer& m, int frames) {
  std::vector<float> out(static_cast<std::size_t>(frames * m.Output().channels));
  m.Mix(out.data(), frames);
  return out;
}

TEST(VolumeTest, HundredthsOfADecibelBecomeGains) {
  EXPECT_FLOAT_EQ(GainOfVolume(0), 1.0f);
  EXPECT_FLOAT_EQ(GainOfVolume(-2000), 0.1f);
  EXPECT_NEAR(GainOfVolume(-1200), 0.2512, 1e-4);
  EXPECT_NEAR(GainOfVolume(-600), 0.5012, 1e-4);
  EXPECT_FLOAT_EQ(GainOfVolume(-10000), 0.0f);
  EXPECT_FLOAT_EQ(GainOfVolume(-12000), 0.0f);
  EXPECT_FLOAT_EQ(GainOfVolume(300), 1.0f);
}

TEST(MixerTest, VoicesAddUpAtTheirGainsAndEndWithTheirSource) {
  Mixer m({1000, 1});
  VoiceId a = m.Play(TestSource::Constant(0.5f, 30), {.gain = 0.5f});
  VoiceId b = m.Play(TestSource::Constant(0.1f, 10));
  std::vector<float> out = Pull(m, 40);
  EXPECT_FLOAT_EQ(out[0], 0.35f);
  EXPECT_FLOAT_EQ(out[9], 0.35f);
  EXPECT_FLOAT_EQ(out[10], 0.25f);
  EXPECT_FLOAT_EQ(out[29], 0.25f);
  EXPECT_FLOAT_EQ(out[30], 0.0f);
  EXPECT_FALSE(m.Playing(a));
  EXPECT_FALSE(m.Playing(b));
  EXPECT_EQ(m.VoiceCount(), 0);
}

TEST(MixerTest, AGainChangeGlidesOverOneBuffer) {
  Mixer m({1000, 1});
  VoiceId v = m.Play(TestSource::Constant(1.0f, 1000));
  m.SetGain(v, 0.0f);
  std::vector<float> out = Pull(m, 10);
  EXPECT_FLOAT_EQ(out[0], 1.0f);
  EXPECT_NEAR(out[5], 0.5f, 1e-6);
  EXPECT_GT(out[9], 0.0f);
  EXPECT_FLOAT_EQ(Pull(m, 10)[0], 0.0f);
  EXPECT_TRUE(m.Playing(v));  // silent, not stopped
}

TEST(MixerTest, PlayCountsLoopTheSourceAndZeroLoopsWithoutEnd) {
  Mixer m({1000, 1});
  auto three = TestSource::Constant(1.0f, 7);
  TestSource* src = three.get();
  VoiceId v = m.Play(std::move(three), {.plays = 3});
  std::vector<float> out = Pull(m, 30);
  EXPECT_EQ(std::count(out.begin(), out.end(), 1.0f), 21);
  EXPECT_FLOAT_EQ(out[20], 1.0f);
  EXPECT_FLOAT_EQ(out[21], 0.0f);
  EXPECT_FALSE(m.Playing(v));
  auto endless = TestSource::Constant(1.0f, 7);
  src = endless.get();
  v = m.Play(std::move(endless), {.plays = 0});
  for (int i = 0; i < 10; ++i)
    Pull(m, 100);
  EXPECT_TRUE(m.Playing(v));
  EXPECT_EQ(src->rewinds, 142);  // 1000 frames of 7
}

TEST(MixerTest, AnEmptySourceThatRewindsDoesNotLoopForEver) {
  Mixer m({1000, 1});
  VoiceId v = m.Play(TestSource::Constant(1.0f, 0), {.plays = 0});
  Pull(m, 10);
  EXPECT_FALSE(m.Playing(v));
}

TEST(MixerTest, TheTailPlaysAfterTheLastPlayOnly) {
  Mixer m({1000, 1});
  auto s = TestSource::Constant(1.0f, 5);
  s->tail = 4;
  m.Play(std::move(s), {.plays = 2});
  std::vector<float> out = Pull(m, 20);
  EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 15),
            (std::vector<float>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0.25f, 0.25f, 0.25f, 0.25f, 0}));
}

TEST(MixerTest, RatesAndChannelsAreConverted) {
  Mixer m({44100, 2});
  // A mono tone at 22050 frames a second comes out at twice the frames, the same pitch, on both
  // channels.
  auto mono = std::make_unique<TestSource>(AudioFormat{22050, 1}, test::Tone(22050, 1, 0.5, 441));
  VoiceId v = m.Play(std::move(mono));
  ASSERT_NE(v, 0u);
  std::vector<float> out;
  for (int i = 0; i < 30; ++i) {
    std::vector<float> b = Pull(m, 1024);
    out.insert(out.end(), b.begin(), b.end());
  }
  EXPECT_FALSE(m.Playing(v));
  EXPECT_NEAR(test::Frequency(out, 44100, 2, 0), 441, 1);
  EXPECT_NEAR(test::Rms(out, 2, 0, 2000, 20000), 0.3536, 0.01);
  EXPECT_NEAR(test::Rms(out, 2, 1, 2000, 20000), 0.3536, 0.01);
  std::size_t sounding = 0;
  for (std::size_t i = 0; i < out.size() / 2; ++i)
    if (out[2 * i] != 0) sounding = i;
  EXPECT_NEAR(static_cast<double>(sounding), 22050, 64);
  // Stereo into a mono output is the average of the two channels.
  Mixer mono1({1000, 1});
  mono1.Play(std::make_unique<TestSource>(AudioFormat{1000, 2}, std::vector<float>{0.8f, 0.2f}));
  EXPECT_FLOAT_EQ(Pull(mono1, 1)[0], 0.5f);
  // Formats the mixer cannot take are refused.
  EXPECT_EQ(m.Play(TestSource::Constant(1, 10, {1000, 3})), 0u);
  EXPECT_EQ(m.Play(TestSource::Constant(1, 10, {10, 1})), 0u);
}

TEST(MixerTest, PauseFadesOutHoldsAndGlidesBackInWhereItStopped) {
  Mixer m({1000, 1});  // a pause fades over 5 ms: 5 frames
  std::vector<float> ramp;
  for (int i = 0; i < 100; ++i)
    ramp.push_back(0.01f * static_cast<float>(i));
  VoiceId v = m.Play(std::make_unique<TestSource>(AudioFormat{1000, 1}, ramp));
  Pull(m, 10);
  m.SetPaused(v, true);
  std::vector<float> fading = Pull(m, 10);
  const float gains[] = {1.0f, 0.8f, 0.6f, 0.4f, 0.2f};
  for (int i = 0; i < 5; ++i)
    EXPECT_NEAR(fading[static_cast<std::size_t>(i)],
                ramp[static_cast<std::size_t>(10 + i)] * gains[i], 1e-6)
        << i;
  for (int i = 5; i < 10; ++i)
    EXPECT_EQ(fading[static_cast<std::size_t>(i)], 0.0f) << i;
  EXPECT_EQ(test::Rms(Pull(m, 50)), 0.0);
  EXPECT_TRUE(m.Playing(v));
  ASSERT_TRUE(m.Played(v));
  EXPECT_DOUBLE_EQ(*m.Played(v), 0.015);  // pauses do not count
  // Resumed, it goes on from the first sample it did not sound, gliding up from silence.
  m.SetPaused(v, false);
  std::vector<float> back = Pull(m, 10);
  for (int i = 0; i < 10; ++i)
    EXPECT_NEAR(back[static_cast<std::size_t>(i)],
                ramp[static_cast<std::size_t>(15 + i)] * 0.1f * static_cast<float>(i), 1e-6)
        << i;
  EXPECT_FLOAT_EQ(Pull(m, 1)[0], ramp[25]);
  // Paused and resumed before the device pulled again: nothing was faded and nothing skipped.
  m.SetPaused(v, true);
  m.SetPaused(v, false);
  EXPECT_FLOAT_EQ(Pull(m, 1)[0], ramp[26]);
}

TEST(MixerTest, StopFadesOutAndAPausedVoiceStopsAtOnce) {
  Mixer m({1000, 1});
  VoiceId v = m.Play(std::make_unique<TestSource>(AudioFormat{1000, 1},
                                                  std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));
  EXPECT_FLOAT_EQ(Pull(m, 1)[0], 0.1f);
  m.Stop(v);
  EXPECT_FALSE(m.Playing(v));
  EXPECT_FALSE(m.Played(v));
  std::vector<float> out = Pull(m, 2);
  EXPECT_FLOAT_EQ(out[0], 0.2f);   // the fade starts from the voice's gain
  EXPECT_LT(out[1], 0.3f * 0.6f);  // and goes down within the buffer
  EXPECT_FLOAT_EQ(Pull(m, 1)[0], 0.0f);
  EXPECT_EQ(m.VoiceCount(), 0);
  VoiceId held = m.Play(TestSource::Constant(0.5f, 100));
  m.SetPaused(held, true);
  Pull(m, 10);
  m.Stop(held);
  EXPECT_EQ(test::Rms(Pull(m, 10)), 0.0);
  EXPECT_EQ(m.VoiceCount(), 0);
}

TEST(MixerTest, MasterVolumeMuteAndClipping) {
  Mixer m({1000, 1});
  m.Play(TestSource::Constant(0.8f, 100));
  m.Play(TestSource::Constant(0.8f, 100));
  EXPECT_FLOAT_EQ(Pull(m, 1)[0], 1.0f);  // 1.6 is clipped
  m.SetMasterGain(0.25f);
  Pull(m, 10);  // glides to the new volume
  EXPECT_FLOAT_EQ(Pull(m, 1)[0], 0.4f);
  m.SetMuted(true);
  Pull(m, 10);
  EXPECT_FLOAT_EQ(Pull(m, 1)[0], 0.0f);
  EXPECT_TRUE(m.Muted());
  m.SetMuted(false);
  Pull(m, 10);
  EXPECT_FLOAT_EQ(Pull(m, 1)[0], 0.4f);
}

TEST(AudioQueueTest, PushedSamplesPlaySilenceFillsTheWaitAndCloseEnds) {
  Mixer m({1000, 1});
  auto q = std::make_shared<AudioQueue>(AudioFormat{1000, 1}, 4);
  VoiceId v = m.Play(AudioQueue::Source(q));
  float two[] = {0.5f, 0.25f};
  EXPECT_EQ(q->Push(two, 2), 2);
  EXPECT_EQ(q->Push(two, 2), 2);
  EXPECT_EQ(q->Push(two, 2), 0);  // full
  EXPECT_EQ(Pull(m, 6), (std::vector<float>{0.5f, 0.25f, 0.5f, 0.25f, 0, 0}));
  EXPECT_TRUE(m.Playing(v));
  EXPECT_EQ(q->TakenFrames(), 4);
  q->Push(two, 1);
  q->Close();
  EXPECT_EQ(Pull(m, 2), (std::vector<float>{0.5f, 0}));
  EXPECT_FALSE(m.Playing(v));
}

}  // namespace
}  // namespace sl::av
