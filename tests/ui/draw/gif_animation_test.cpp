// GIF files: every image with its place, delay, transparency and disposal, the canvas that plays
// them, damaged files, and files announcing more than they hold.
#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "picture_files.h"
#include "support/error_number.h"
#include "support/temp_folder.h"
#include "ui/draw/gif_animation.h"
#include "ui/draw/picture.h"
#include "ui/draw/picture_decoders.h"

namespace sl::draw {
namespace {

using test::Bytes;
using test::GifImageSpec;

constexpr Pixel kRed = OpaquePixel(255, 0, 0);
constexpr Pixel kGreen = OpaquePixel(0, 255, 0);
constexpr Pixel kBlue = OpaquePixel(0, 0, 255);
const std::vector<std::uint32_t> kPalette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

GifImageSpec Image(int left, int top, int width, int height, int index) {
  GifImageSpec image;
  image.left = left;
  image.top = top;
  image.width = width;
  image.height = height;
  image.indices.assign(static_cast<std::size_t>(width * height), index);
  return image;
}

int ErrorOf(const Bytes& bytes) {
  return sl::test::ErrorNumberOf([&] { DecodePicture(bytes); });
}

// The rows of a surface as colours, for whole-picture comparisons.
std::vector<Pixel> Pixels(const Surface& s) {
  std::vector<Pixel> out;
  for (int y = 0; y < s.Height(); ++y)
    out.insert(out.end(), s.Row(y), s.Row(y) + s.Width());
  return out;
}

TEST(GifAnimationTest, EveryImageKeepsItsPlaceDelayAndTransparency) {
  GifImageSpec first = Image(0, 0, 4, 3, 0);
  first.delayCs = 10;
  GifImageSpec second = Image(1, 1, 2, 2, 1);
  second.indices = {1, 3, 3, 1};
  second.transparentIndex = 3;
  second.delayCs = 25;
  second.disposal = 2;
  GifImageSpec third = Image(3, 0, 1, 1, 2);
  third.withControl = false;
  Bytes bytes = test::MakeAnimatedGif(4, 3, kPalette, {first, second, third}, 0);

  GifAnimation animation = DecodeGifAnimation(bytes);
  EXPECT_EQ(animation.canvas, (Size{4, 3}));
  ASSERT_EQ(animation.frames.size(), 3u);
  EXPECT_EQ(animation.loopCount, 0);
  const GifFrame& f = animation.frames[1];
  EXPECT_EQ(f.offset, (Point{1, 1}));
  EXPECT_EQ(f.delayMs, 250);
  EXPECT_EQ(f.disposal, GifDisposal::kBackground);
  EXPECT_EQ(Pixels(f.image), (std::vector<Pixel>{kGreen, kTransparent, kTransparent, kGreen}));
  EXPECT_EQ(animation.frames[0].delayMs, 100);
  EXPECT_EQ(animation.frames[0].disposal, GifDisposal::kKeep);
  // An image without a control block of its own does not inherit the previous one's.
  EXPECT_EQ(animation.frames[2].delayMs, 0);
  EXPECT_EQ(animation.frames[2].disposal, GifDisposal::kKeep);

  // The picture shows the first image and holds the animation; a single image holds none.
  Picture picture = DecodePicture(bytes);
  EXPECT_EQ(picture.Image(), animation.frames[0].image);
  ASSERT_TRUE(picture.Animation());
  EXPECT_EQ(picture.Animation()->frames.size(), 3u);
  EXPECT_FALSE(DecodePicture(test::MakeGif(2, 1, kPalette, {0, 1}, -1)).Animation());
  EXPECT_EQ(DecodeGifAnimation(test::MakeGif(2, 1, kPalette, {0, 1}, -1)).loopCount, std::nullopt);
}

TEST(GifAnimationTest, TheCanvasDisposesOfEachImageAsItAsks) {
  GifImageSpec red = Image(0, 0, 4, 3, 0);
  GifImageSpec green = Image(0, 0, 2, 2, 1);
  green.disposal = 3;  // back to what was there before
  GifImageSpec blue = Image(3, 2, 1, 1, 2);
  blue.disposal = 2;  // cleared to transparent
  GifImageSpec white = Image(0, 0, 1, 1, 3);
  auto animation = std::make_shared<GifAnimation>(
      DecodeGifAnimation(test::MakeAnimatedGif(4, 3, kPalette, {red, green, blue, white}, 0)));

  GifAnimationCanvas canvas(animation);
  EXPECT_EQ(canvas.FrameIndex(), 0u);
  EXPECT_EQ(Pixels(canvas.Image()), std::vector<Pixel>(12, kRed));
  canvas.Advance();
  EXPECT_EQ(canvas.Image().GetPixel(1, 1), kGreen);
  EXPECT_EQ(canvas.Image().GetPixel(2, 1), kRed);
  canvas.Advance();
  EXPECT_EQ(canvas.Image().GetPixel(1, 1), kRed);  // restored
  EXPECT_EQ(canvas.Image().GetPixel(3, 2), kBlue);
  canvas.Advance();
  EXPECT_EQ(canvas.FrameIndex(), 3u);
  EXPECT_EQ(canvas.Image().GetPixel(3, 2), kTransparent);  // cleared
  EXPECT_EQ(canvas.Image().GetPixel(0, 0), kWhite);
  canvas.Advance();  // after the last image: from the start on a cleared canvas
  EXPECT_EQ(canvas.FrameIndex(), 0u);
  EXPECT_EQ(Pixels(canvas.Image()), std::vector<Pixel>(12, kRed));
}

TEST(GifAnimationTest, InterlacedRowsAndImagesBeyondASmallScreen) {
  GifImageSpec image = Image(0, 0, 1, 9, 0);
  for (int y = 0; y < 9; ++y)
    image.indices[static_cast<std::size_t>(y)] = y % 3;
  image.interlaced = true;
  image.withControl = false;
  // A screen of 0 x 0 takes the first image's size.
  GifAnimation animation = DecodeGifAnimation(test::MakeAnimatedGif(0, 0, kPalette, {image}, {}));
  EXPECT_EQ(animation.canvas, (Size{1, 9}));
  std::vector<Pixel> expected;
  for (int y = 0; y < 9; ++y)
    expected.push_back(y % 3 == 0 ? kRed : y % 3 == 1 ? kGreen : kBlue);
  EXPECT_EQ(Pixels(animation.frames[0].image), expected);
}

TEST(GifAnimationTest, ABrokenCodeTableIsAnInvalidPictureNotACrash) {
  // Codes that refer beyond the table built so far: this made the old decoder's code-table walk
  // run past its stack and free a pointer it never allocated.
  GifImageSpec image;
  image.width = 8;
  image.height = 8;
  image.lzwData = {0x9C, 0xFF, 0x74, 0xFF, 0xFF};
  image.withControl = false;
  EXPECT_EQ(ErrorOf(test::MakeAnimatedGif(8, 8, kPalette, {image}, {})), 481);
}

TEST(GifAnimationTest, DamageAfterTheFirstImageEndsTheAnimationThere) {
  GifImageSpec a = Image(0, 0, 4, 4, 0), b = Image(0, 0, 4, 4, 1), c = Image(0, 0, 4, 4, 2);
  Bytes bytes = test::MakeAnimatedGif(4, 4, kPalette, {a, b, c}, {});
  ASSERT_EQ(DecodeGifAnimation(bytes).frames.size(), 3u);
  bytes.resize(bytes.size() - 6);  // in the middle of the last image's data
  GifAnimation animation = DecodeGifAnimation(bytes);
  ASSERT_EQ(animation.frames.size(), 2u);
  EXPECT_EQ(animation.frames[1].image.GetPixel(3, 3), kGreen);

  // A first image that cannot be read leaves nothing to show.
  Bytes one = test::MakeGif(4, 4, kPalette, std::vector<int>(16, 1), -1);
  one.resize(one.size() - 6);
  EXPECT_EQ(ErrorOf(one), 481);
}

// A 35-byte GIF whose screen and image announce 8192 x 8192 pixels with a few bytes of data:
// eight of them cost 2 GB when each was allocated before its data was read.
TEST(GifAnimationTest, HugeSizesWithoutTheDataForThemAreRefusedFromTheHeaders) {
  GifImageSpec image;
  image.width = 8192;
  image.height = 8192;
  image.lzwData = {0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  image.withControl = false;
  Bytes bytes = test::MakeAnimatedGif(8192, 8192, {}, {image}, {});
  // Without a global colour table.
  bytes.erase(bytes.begin() + 13, bytes.begin() + 25);
  bytes[10] = 0;
  ASSERT_EQ(bytes.size(), 35u);
  EXPECT_FALSE(detail::GifHeadersAcceptable(bytes));
  EXPECT_EQ(ErrorOf(bytes), 481);

  // The same at a size any file may announce decodes.
  image.width = image.height = 1024;
  image.indices.assign(1024 * 1024, 1);
  image.lzwData.clear();
  Bytes real = test::MakeAnimatedGif(1024, 1024, kPalette, {image}, {});
  EXPECT_TRUE(detail::GifHeadersAcceptable(real));
  EXPECT_EQ(DecodePicture(real).Image().GetPixel(1023, 1023), kGreen);
}

}  // namespace
}  // namespace sl::draw
