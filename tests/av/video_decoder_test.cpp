// Video decoding: pictures of generated AVI files at their times, dropping late ones, scaling,
// the length, and files that are no video.
#include "av/video_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "av/media_duration.h"
#include "support/temp_folder.h"
#include "support/test_video.h"

namespace sl::av {
namespace {

using test::Rgb;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kWhite{255, 255, 255};

// A picture in four quadrants: red, green / blue, white; picture k adds k * 8 to the blue of
// the white quadrant's neighbour so that pictures differ.
Rgb Quadrants(int k, int x, int y) {
  if (y < 12) return x < 16 ? kRed : kGreen;
  if (x < 16) return kBlue;
  return Rgb{255, 255, static_cast<std::uint8_t>(255 - 8 * k)};
}

std::vector<std::uint8_t> Convert(VideoDecoder& d, int w, int h) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * h * 4);
  d.ConvertFrame(rgba.data(), w * 4, w, h);
  return rgba;
}

void ExpectPixel(const std::vector<std::uint8_t>& rgba, int w, int x, int y, Rgb c) {
  const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
  // Microsoft Video 1 keeps 5 bits a channel.
  EXPECT_NEAR(p[0], c.r, 8) << "at " << x << "," << y;
  EXPECT_NEAR(p[1], c.g, 8) << "at " << x << "," << y;
  EXPECT_NEAR(p[2], c.b, 8) << "at " << x << "," << y;
  EXPECT_EQ(p[3], 255);
}

class VideoDecoderTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, test::TestVideo v) {
    std::string path = dir_ / name;
    test::WriteTestVideo(path, v);
    return path;
  }
  test::TempFolder dir_;
};

TEST_F(VideoDecoderTest, FirstPictureOfAGeneratedAviAtNaturalSizeAndStretched) {
  test::TestVideo v;
  v.pixel = Quadrants;
  VideoDecoder d(Write("quad.avi", v));
  EXPECT_EQ(d.Info().width, 32);
  EXPECT_EQ(d.Info().height, 24);
  EXPECT_EQ(d.Info().durationMs, 1000);
  EXPECT_DOUBLE_EQ(d.Info().framesPerSecond, 10);
  EXPECT_FALSE(d.Info().hasAudio);
  EXPECT_EQ(d.FrameMs(), 0);
  // Each quadrant's corners, at the natural size and at twice the width, four times the height.
  for (auto [w, h] : {std::pair{32, 24}, std::pair{64, 96}}) {
    std::vector<std::uint8_t> rgba = Convert(d, w, h);
    int right = w - 1, bottom = h - 1, midX = w / 2, midY = h / 2;
    int sx = w / 32, sy = h / 24;  // target pixels a source pixel, blended at the borders
    ExpectPixel(rgba, w, 0, 0, kRed);
    ExpectPixel(rgba, w, midX - sx, midY - sy, kRed);
    ExpectPixel(rgba, w, midX + sx, 0, kGreen);
    ExpectPixel(rgba, w, 0, midY + sy, kBlue);
    ExpectPixel(rgba, w, right, bottom, kWhite);
  }
}

TEST_F(VideoDecoderTest, PicturesFollowTheClockAndLateOnesAreDropped) {
  test::TestVideo v;
  v.frames = 6;
  v.pixel = test::PlainColours({kRed, kGreen, kBlue, kWhite, Rgb{0, 0, 0}, Rgb{255, 255, 0}});
  VideoDecoder d(Write("plain.avi", v));
  EXPECT_EQ(d.NextFrameMs(), 100);
  EXPECT_FALSE(d.AdvanceTo(99));
  EXPECT_EQ(d.FrameMs(), 0);
  EXPECT_TRUE(d.AdvanceTo(100));
  ExpectPixel(Convert(d, 32, 24), 32, 5, 5, kGreen);
  // Far behind: straight to the picture of the moment, the ones between never converted.
  EXPECT_TRUE(d.AdvanceTo(399));
  EXPECT_EQ(d.FrameMs(), 300);
  ExpectPixel(Convert(d, 32, 24), 32, 5, 5, kWhite);
  // Past the end the last picture stays.
  EXPECT_TRUE(d.AdvanceTo(5000));
  EXPECT_EQ(d.FrameMs(), 500);
  EXPECT_EQ(d.NextFrameMs(), std::nullopt);
  EXPECT_FALSE(d.AdvanceTo(6000));
  // Going back starts again from the first picture.
  EXPECT_TRUE(d.AdvanceTo(150));
  EXPECT_EQ(d.FrameMs(), 100);
  ExpectPixel(Convert(d, 32, 24), 32, 5, 5, kGreen);
}

TEST_F(VideoDecoderTest, CodecsOfTheEra) {
  for (const char* codec : {"cinepak", "mjpeg", "mpeg4", "msmpeg4v2", "wmv2"}) {
    test::TestVideo v;
    v.codec = codec;
    v.width = 64;
    v.height = 48;
    v.frames = 3;
    v.pixel = [](int, int x, int) { return x < 32 ? kRed : kBlue; };
    VideoDecoder d(Write(std::string(codec) + ".avi", v));
    std::vector<std::uint8_t> rgba = Convert(d, 64, 48);
    const std::uint8_t* left = &rgba[(10 * 64 + 8) * 4];
    const std::uint8_t* right = &rgba[(10 * 64 + 56) * 4];
    EXPECT_GT(left[0], 200) << codec;
    EXPECT_LT(left[2], 60) << codec;
    EXPECT_GT(right[2], 200) << codec;
    EXPECT_LT(right[0], 60) << codec;
  }
}

TEST_F(VideoDecoderTest, FilesThatAreNoVideoAreRefused) {
  EXPECT_THROW(VideoDecoder(dir_ / "missing.avi"), MediaError);
  EXPECT_THROW(VideoDecoder(dir_.Write("empty.avi", "")), MediaError);
  EXPECT_THROW(VideoDecoder(dir_.Write("text.avi", "RIFF this is no video at all")), MediaError);
  // A playlist naming other files is not followed.
  std::string list = dir_.Write("list.avi", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n" +
                                                dir_ / "quad.avi" + "\n#EXT-X-ENDLIST\n");
  EXPECT_THROW(VideoDecoder{list}, MediaError);
}

TEST_F(VideoDecoderTest, TheRleAviOfTheDemoTools) {
  std::string path = dir_ / "rle.avi";
  std::string command = "python3 -c \"import sys; sys.path.insert(0, '" STORYLOOM_SOURCE_DIR
                        "/tools/demo'); from rle_avi import write_rle_avi; "
                        "write_rle_avi('" +
                        path +
                        "', 8, 4, 5, [(255, 0, 0), (0, 0, 255)], "
                        "[[[0] * 4 + [1] * 4] * 4, [[1] * 8] * 4])\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  VideoDecoder d(path);
  EXPECT_EQ(d.Info().width, 8);
  EXPECT_EQ(d.Info().durationMs, 400);
  std::vector<std::uint8_t> rgba = Convert(d, 8, 4);
  EXPECT_EQ(rgba[0], 255);
  EXPECT_EQ(rgba[2], 0);
  EXPECT_EQ(rgba[7 * 4 + 2], 255);
  EXPECT_TRUE(d.AdvanceTo(200));
  rgba = Convert(d, 8, 4);
  EXPECT_EQ(rgba[2], 255);
}

TEST(MediaDurationTest, MidiLengthFollowsTheTempoMap) {
  // Division 96 ticks a quarter; 96 ticks at 120 beats a minute (0.5 s), then a tempo of
  // 250000 us a quarter and 192 more ticks (0.5 s).
  std::string track = std::string("\x00\x90\x40\x40", 4) + std::string("\x60\x80\x40\x00", 4) +
                      std::string("\x00\xFF\x51\x03\x03\xD0\x90", 7) +
                      std::string("\x81\x40\x90\x40\x40", 5) + std::string("\x00\xFF\x2F\x00", 4);
  std::string smf = std::string("MThd\0\0\0\6\0\0\0\1\0\x60", 14) + "MTrk" +
                    std::string("\0\0\0", 3) + static_cast<char>(track.size()) + track;
  EXPECT_EQ(MidiDurationMs(smf), 1000);
  // The same inside a RIFF "RMID" file.
  std::string data = "data" + std::string(4, '\0');
  data[4] = static_cast<char>(smf.size());
  std::string body = "RMID" + data + smf;
  std::string riff =
      "RIFF" + std::string(1, static_cast<char>(body.size())) + std::string("\0\0\0", 3) + body;
  EXPECT_EQ(MidiDurationMs(riff), 1000);
  EXPECT_THROW(MidiDurationMs("MThd"), MediaError);
  EXPECT_THROW(MidiDurationMs(smf.substr(0, smf.size() - 6)), MediaError);
}

}  // namespace
}  // namespace sl::av
