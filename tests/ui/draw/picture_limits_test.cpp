// Pictures whose headers announce more than the picture limits: refused as invalid (481) from
// the header alone, before any decoder allocates for the pixels.
#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "picture_files.h"
#include "ui/draw/picture.h"
#include "ui/draw/picture_decoders.h"
#include "ui/draw/picture_limits.h"
#include "ui/draw/png_io.h"

namespace sl::draw {
namespace {

using test::Bytes;

void Set16(Bytes& b, std::size_t at, unsigned v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  Set16(b, at, v & 0xFFFF);
  Set16(b, at + 2, v >> 16);
}

void SetBe32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// The CRC of PNG chunks, so that a chunk changed by a test is still read.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

Bytes PngOfSize(std::uint32_t width, std::uint32_t height) {
  Bytes b = EncodePng(Surface(5, 4, OpaquePixel(1, 2, 3)));
  SetBe32(b, 16, width);
  SetBe32(b, 20, height);
  SetBe32(b, 29, Crc32(b.data() + 12, 17));  // type and data of IHDR
  return b;
}

int ErrorOf(const Bytes& bytes) {
  try {
    DecodePicture(bytes);
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(PictureLimitsTest, TheLimitCountsSidesAndPixels) {
  EXPECT_TRUE(PictureSizeAcceptable(1, 1));
  EXPECT_TRUE(PictureSizeAcceptable(8192, 8192));
  EXPECT_TRUE(PictureSizeAcceptable(32768, 2048));
  EXPECT_FALSE(PictureSizeAcceptable(32769, 1));
  EXPECT_FALSE(PictureSizeAcceptable(8192, 8193));
  EXPECT_FALSE(PictureSizeAcceptable(0, 10));
  EXPECT_FALSE(PictureSizeAcceptable(10, -1));
}

TEST(PictureLimitsTest, LargePicturesMustBeBackedByTheirFiles) {
  EXPECT_TRUE(PicturePixelsBacked(1024 * 1024, 10, kLzwPixelsPerByte));
  EXPECT_FALSE(PicturePixelsBacked(1024 * 1024 + 1, 10, kLzwPixelsPerByte));
  EXPECT_TRUE(PicturePixelsBacked(8192 * 8192, 16384, kLzwPixelsPerByte));
  EXPECT_FALSE(PicturePixelsBacked(8192 * 8192, 16383, kLzwPixelsPerByte));

  // A run-length bitmap of a few bytes announcing 8192 x 8192 pixels.
  Bytes rle = test::MakeBmp32(1, 1, 0);
  Set32(rle, 18, 8192);
  Set32(rle, 22, 8192);
  Set16(rle, 28, 8);
  Set32(rle, 30, 1);
  EXPECT_FALSE(detail::BmpHeaderAcceptable(rle));
  EXPECT_EQ(ErrorOf(rle), 481);
  // A PNG header announcing 4096 x 4096 with no data behind it.
  EXPECT_EQ(ErrorOf(PngOfSize(4096, 4096)), 481);
}

TEST(PictureLimitsTest, BitmapsAndJpegsAnnouncingTooMuchAreRefused) {
  Bytes bmp = test::MakeBmp32(4, 3, 0x123456);
  EXPECT_TRUE(detail::BmpHeaderAcceptable(bmp));
  Set32(bmp, 18, 40000);
  EXPECT_FALSE(detail::BmpHeaderAcceptable(bmp));
  EXPECT_EQ(ErrorOf(bmp), 481);

  Bytes jpeg = test::ReadFile(std::filesystem::path(STORYLOOM_SOURCE_DIR) /
                              "tests/ui/draw/data/red_blue_16x8.jpg");
  ASSERT_GT(jpeg.size(), 100u);
  // Fill bytes before a marker are allowed.
  Bytes padded = jpeg;
  padded.insert(padded.begin() + 2, {0xFF, 0xFF});
  EXPECT_TRUE(detail::JpegHeaderAcceptable(padded));
  EXPECT_EQ(ErrorOf(padded), 0);
  std::size_t sof = 2;
  while (!(jpeg[sof] == 0xFF && jpeg[sof + 1] >= 0xC0 && jpeg[sof + 1] <= 0xC2))
    sof += 2 + (jpeg[sof + 2] << 8 | jpeg[sof + 3]);
  jpeg[sof + 5] = jpeg[sof + 6] = jpeg[sof + 7] = jpeg[sof + 8] = 0xFF;
  EXPECT_FALSE(detail::JpegHeaderAcceptable(jpeg));
  EXPECT_EQ(ErrorOf(jpeg), 481);
}

TEST(PictureLimitsTest, EveryGifFrameCountsNotOnlyTheScreen) {
  Bytes gif = test::MakeGif(3, 2, {0xFF0000, 0x00FF00}, {0, 1, 0, 1, 0, 1}, -1);
  EXPECT_TRUE(detail::GifHeadersAcceptable(gif));
  // Screen 3 x 2 (13 bytes and a 4-colour table), the image descriptor right after it.
  ASSERT_EQ(gif[25], 0x2C);
  Set16(gif, 30, 65535);
  Set16(gif, 32, 65535);
  EXPECT_FALSE(detail::GifHeadersAcceptable(gif));
  EXPECT_EQ(ErrorOf(gif), 481);
}

TEST(PictureLimitsTest, PngsAreRefusedBeforeTheirPixelsAreAllocated) {
  EXPECT_TRUE(detail::PngHeaderAcceptable(PngOfSize(5, 4)));
  // Both sides within the limit, the pixels together beyond it.
  Bytes large = PngOfSize(10000, 10000);
  EXPECT_FALSE(detail::PngHeaderAcceptable(large));
  EXPECT_EQ(ErrorOf(large), 481);
  try {
    DecodePng(large);
    ADD_FAILURE() << "decoded";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 481);
  }
}

// An icon file whose directory lists the same image `count` times.
Bytes RepeatedIcon(int side, int count) {
  test::IconImageSpec image{
      side,
      side,
      32,
      std::vector<std::uint32_t>(static_cast<std::size_t>(side) * side, 0xFF00FF00u),
      {}};
  Bytes one = test::MakeIconFile({image}, false);
  Bytes dib(one.begin() + 22, one.end());
  Bytes b;
  test::Put16(b, 0);
  test::Put16(b, 1);
  test::Put16(b, static_cast<unsigned>(count));
  for (int i = 0; i < count; ++i) {
    b.insert(b.end(), one.begin() + 6, one.begin() + 18);
    test::Put32(b, 6 + 16 * static_cast<std::uint32_t>(count));
  }
  b.insert(b.end(), dib.begin(), dib.end());
  return b;
}

TEST(PictureLimitsTest, IconImagesCountTogether) {
  Bytes few = RepeatedIcon(256, 4);
  EXPECT_TRUE(detail::IconHeadersAcceptable(few));
  EXPECT_EQ(DecodePicture(few).Images().size(), 4u);
  // A small file listing one image over a thousand times would decode it as often.
  Bytes many = RepeatedIcon(256, 1100);
  EXPECT_FALSE(detail::IconHeadersAcceptable(many));
  EXPECT_EQ(ErrorOf(many), 481);
}

TEST(PictureLimitsTest, MetafilesDrawnTooLargeAreRefused) {
  Bytes emf = test::MakeEmf(40, 20, 0xFF);
  EXPECT_TRUE(detail::EmfHeaderAcceptable(emf));
  Set32(emf, 16, 200000);  // bounds: right, bottom
  Set32(emf, 20, 100000);
  EXPECT_FALSE(detail::EmfHeaderAcceptable(emf));
  EXPECT_EQ(ErrorOf(emf), 481);
}

}  // namespace
}  // namespace sl::draw
