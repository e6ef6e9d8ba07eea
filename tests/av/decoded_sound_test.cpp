// Decoding of sound files made here by FFmpeg's encoders: every PCM width of wave files to the
// exact samples, the lossy formats (ADPCM, MP3, WMA, Ogg Vorbis) to the same tone at the same
// level and length, stated and counted lengths, rewinding, and files that must not play.
#include "av/decoded_sound.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "av/sound_file.h"
#include "support/sound_encoder.h"
#include "support/sound_fixtures.h"
#include "support/temp_folder.h"

namespace sl::av {
namespace {

std::vector<float> DecodeAll(AudioSource& s) {
  std::vector<float> all;
  std::vector<float> buf(1000 * static_cast<std::size_t>(s.Format().channels));
  for (;;) {
    int n = s.Read(buf.data(), 1000);
    all.insert(all.end(), buf.begin(), buf.begin() + n * s.Format().channels);
    if (n < 1000) return all;
  }
}

struct PcmCase {
  const char* codec;
  double step;  // the quantisation step of the format
};

TEST(DecodedSoundTest, WaveFilesOfEveryPcmWidthDecodeToTheirSamples) {
  test::TempFolder dir;
  std::vector<float> tone = test::Tone(22050, 2, 0.5, 441);
  for (PcmCase c : {PcmCase{"pcm_u8", 1.0 / 128}, PcmCase{"pcm_s16le", 1.0 / 32768},
                    PcmCase{"pcm_s24le", 1.0 / 8388608}, PcmCase{"pcm_s32le", 1.0 / 2147483648.0},
                    PcmCase{"pcm_f32le", 1e-7}}) {
    SCOPED_TRACE(c.codec);
    std::string path = dir / (std::string(c.codec) + ".wav");
    ASSERT_EQ(test::EncodeSoundFile(path, "wav", c.codec, 22050, 2, tone), "");
    std::string why;
    auto s = DecodedSound::Open(path, &why);
    ASSERT_TRUE(s) << why;
    EXPECT_EQ(s->Format(), (AudioFormat{22050, 2}));
    EXPECT_NEAR(s->Duration(), 0.5, 1e-6);
    std::vector<float> got = DecodeAll(*s);
    ASSERT_EQ(got.size(), tone.size());
    for (std::size_t i = 0; i < got.size(); ++i)
      ASSERT_NEAR(got[i], tone[i], c.step) << "sample " << i;
  }
}

struct LossyCase {
  const char* container;
  const char* codec;
  const char* file;
  int rate;
  double lengthSlack;  // seconds a codec may add (encoder delay, whole frames)
};

TEST(DecodedSoundTest, LossyFormatsDecodeToTheSameToneAtTheSameLevel) {
  test::TempFolder dir;
  int tested = 0;
  for (LossyCase c : {LossyCase{"wav", "adpcm_ms", "ms.wav", 22050, 0.05},
                      LossyCase{"wav", "adpcm_ima_wav", "ima.wav", 22050, 0.05},
                      LossyCase{"mp3", "libmp3lame", "tone.mp3", 44100, 0.06},
                      LossyCase{"asf", "wmav2", "tone.wma", 44100, 0.1},
                      LossyCase{"ogg", "libvorbis", "tone.ogg", 44100, 0.05}}) {
    SCOPED_TRACE(c.codec);
    if (!test::HasEncoder(c.codec)) continue;
    std::vector<float> tone = test::Tone(c.rate, 1, 1.0, 440, 0.5);
    std::string path = dir / c.file;
    ASSERT_EQ(test::EncodeSoundFile(path, c.container, c.codec, c.rate, 1, tone, 128000), "");
    std::string why;
    auto s = DecodedSound::Open(path, &why);
    ASSERT_TRUE(s) << why;
    EXPECT_EQ(s->Format(), (AudioFormat{c.rate, 1}));
    EXPECT_NEAR(s->Duration(), 1.0, c.lengthSlack);
    std::vector<float> got = DecodeAll(*s);
    EXPECT_NEAR(static_cast<double>(got.size()) / c.rate, 1.0, c.lengthSlack);
    // The middle of the sound: the tone's pitch and level (0.5 peak = 0.354 RMS).
    std::size_t from = static_cast<std::size_t>(c.rate) / 4, to = from * 3;
    std::vector<float> middle(got.begin() + static_cast<long>(from),
                              got.begin() + static_cast<long>(to));
    EXPECT_NEAR(test::Frequency(middle, c.rate), 440, 2);
    EXPECT_NEAR(test::Rms(middle), 0.3536, 0.02);
    ++tested;
  }
  EXPECT_GE(tested, 3) << "too few encoders in this FFmpeg build";
}

TEST(DecodedSoundTest, RewindStartsAgainAndMoreChannelsAreMixedToStereo) {
  test::TempFolder dir;
  std::vector<float> six;
  for (float v : test::Tone(8000, 1, 0.5, 400))
    six.insert(six.end(), 6, v);
  std::string path = dir / "six.wav";
  ASSERT_EQ(test::EncodeSoundFile(path, "wav", "pcm_s16le", 8000, 6, six), "");
  auto s = DecodedSound::Open(path);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Format(), (AudioFormat{8000, 2}));
  std::vector<float> first = DecodeAll(*s);
  ASSERT_TRUE(s->Rewind());
  EXPECT_EQ(DecodeAll(*s), first);
  EXPECT_GT(test::Rms(first, 2, 0), 0.1);
  EXPECT_GT(test::Rms(first, 2, 1), 0.1);
}

TEST(DecodedSoundTest, SeekGoesToTheSampleOfThatMoment) {
  test::TempFolder dir;
  std::vector<float> tone = test::Tone(8000, 1, 1.0, 300);
  std::string wav = dir / "tone.wav";
  ASSERT_EQ(test::EncodeSoundFile(wav, "wav", "pcm_s16le", 8000, 1, tone), "");
  auto s = DecodedSound::Open(wav);
  ASSERT_TRUE(s);
  ASSERT_TRUE(s->Seek(0.25));
  std::vector<float> rest = DecodeAll(*s);
  ASSERT_EQ(rest.size(), tone.size() - 2000);
  for (std::size_t i = 0; i < rest.size(); i += 97)
    ASSERT_NEAR(rest[i], tone[i + 2000], 1.0 / 32768) << "sample " << i;
  ASSERT_TRUE(s->Seek(0));
  EXPECT_EQ(DecodeAll(*s).size(), tone.size());
  // A compressed file goes to the frame that holds the moment, and on from the moment itself.
  if (!test::HasEncoder("libvorbis")) return;
  std::string ogg = dir / "tone.ogg";
  ASSERT_EQ(test::EncodeSoundFile(ogg, "ogg", "libvorbis", 44100, 1,
                                  test::Tone(44100, 1, 2.0, 440, 0.5), 128000),
            "");
  auto v = DecodedSound::Open(ogg);
  ASSERT_TRUE(v);
  ASSERT_TRUE(v->Seek(1.5));
  std::vector<float> end = DecodeAll(*v);
  EXPECT_NEAR(static_cast<double>(end.size()) / 44100, 0.5, 0.03);
  EXPECT_NEAR(test::Rms(end), 0.3536, 0.02);
}

TEST(DecodedSoundTest, AnMp3WithoutHeaderStatesItsLengthByCountingFrames) {
  if (!test::HasEncoder("libmp3lame")) GTEST_SKIP() << "no MP3 encoder";
  test::TempFolder dir;
  std::string path = dir / "plain.mp3";
  // Without the Xing header the file only allows a guess from its bit rate.
  std::vector<float> tone = test::Tone(44100, 1, 3.0, 300);
  ASSERT_EQ(test::EncodeSoundFile(path, "mp3", "libmp3lame", 44100, 1, tone, 64000), "");
  std::string bytes = dir.Read(std::filesystem::path(path).filename().string());
  std::size_t xing = bytes.find("Xing");
  if (xing == std::string::npos) xing = bytes.find("Info");
  if (xing != std::string::npos) bytes.replace(xing, 4, "Junk");
  path = dir.Write("guess.mp3", bytes);
  std::optional<double> seconds = SoundFileLength(path);
  ASSERT_TRUE(seconds);
  EXPECT_NEAR(*seconds, 3.0, 0.08);
}

TEST(DecodedSoundTest, WhatIsNotASoundDoesNotPlay) {
  test::TempFolder dir;
  std::string why;
  EXPECT_FALSE(DecodedSound::Open(dir / "missing.wav", &why));
  EXPECT_EQ(why, "the file cannot be read");
  EXPECT_FALSE(DecodedSound::Open(dir.Write("text.wav", "just some words\r\n")));
  // Formats that would make the decoder open other files are refused.
  EXPECT_FALSE(DecodedSound::Open(
      dir.Write("list.wav", "ffconcat version 1.0\nfile '" + (dir / "text.wav") + "'\n")));
  EXPECT_FALSE(DecodedSound::Open(dir.Write("list.mp3",
                                            "#EXTM3U\n#EXT-X-TARGETDURATION:1\n"
                                            "#EXTINF:1,\n" +
                                                (dir / "a.ts") + "\n")));
  EXPECT_FALSE(SoundFileLength(dir / "text.wav"));
  // A pipe would block whoever opens it: only plain files are opened.
  ASSERT_EQ(mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
  EXPECT_FALSE(DecodedSound::Open(dir / "pipe.wav"));
  EXPECT_FALSE(SoundFileLength(dir / "pipe.wav"));
  EXPECT_FALSE(OpenSoundFile(dir / "pipe.wav", nullptr).source);
}

TEST(DecodedSoundTest, ATruncatedWaveFilePlaysWhatItHolds) {
  test::TempFolder dir;
  std::vector<float> tone = test::Tone(11025, 1, 1.0, 300);
  std::string path = dir / "whole.wav";
  test::WriteWav16(path, 11025, 1, tone);
  std::string bytes = dir.Read(std::filesystem::path(path).filename().string());
  path = dir.Write("cut.wav", bytes.substr(0, 44 + 11025));  // half the samples are missing
  auto s = DecodedSound::Open(path);
  ASSERT_TRUE(s);
  std::vector<float> got = DecodeAll(*s);
  EXPECT_NEAR(static_cast<double>(got.size()), 11025 / 2.0, 2);
}

}  // namespace
}  // namespace sl::av
