// Picture decoding of every supported format from files written by the test, errors for
// missing and invalid files, BMP writing, and the picture cache.
#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "picture_files.h"
#include "support/error_number.h"
#include "ui/draw/picture.h"
#include "ui/draw/picture_cache.h"
#include "ui/draw/png_io.h"
#include "ui/draw/units.h"

namespace sl::draw {
namespace {

using test::TempFolder;

TEST(PictureTest, EmptyPictureAndUnits) {
  Picture none;
  EXPECT_TRUE(none.IsNone());
  EXPECT_EQ(none.Width(), 0);
  EXPECT_EQ(ClassicPictureType(none.Kind()), 0);
  EXPECT_EQ(PixelsToTwips(32), 480);
  EXPECT_EQ(PixelsToTwips(-2), -30);
  EXPECT_EQ(PixelsToTwips(2147483647), 2147483647.0 * 15);  // no overflow for any pixel count
  EXPECT_EQ(TwipsToPixels(7.5), 0.5);
  EXPECT_EQ(TwipsToPixels(-45), -3);
  EXPECT_EQ(PixelsToHimetric(32), 847);  // 32 * 2540 / 96 = 846.67
  EXPECT_EQ(PixelsToHimetric(96), 2540);
  EXPECT_EQ(HimetricToPixels(847), 32);
  EXPECT_EQ(HimetricToTwips(2540), 1440);
  EXPECT_EQ(PointsToPixels(8.25), 11);
  EXPECT_EQ(PointsToPixels(12), 16);
}

TEST(PictureTest, BmpRoundTripIsOpaqueBitmap) {
  TempFolder dir("bmp");
  Surface s(5, 3, OpaquePixel(10, 20, 30));
  s.SetPixel(4, 2, OpaquePixel(200, 100, 0));
  SaveBmp(s, dir / "a.bmp");
  Picture p = LoadPictureFile(dir / "a.bmp");
  EXPECT_EQ(p.Kind(), PictureKind::kBitmap);
  EXPECT_EQ(ClassicPictureType(p.Kind()), 1);
  EXPECT_EQ(p.Image(), s);
  EXPECT_FALSE(p.HasTransparency());
  EXPECT_EQ(p.WidthHimetric(), PixelsToHimetric(5));

  // A 32-bit bitmap whose fourth bytes are zero still shows.
  test::WriteFile(dir / "b.bmp", test::MakeBmp32(2, 2, 0x00FF00));
  Picture q = LoadPictureFile(dir / "b.bmp");
  EXPECT_EQ(q.Image().GetPixel(1, 1), OpaquePixel(0, 255, 0));
}

TEST(PictureTest, PngKeepsAlpha) {
  TempFolder dir("png");
  Surface s(2, 1, OpaquePixel(1, 2, 3));
  s.SetPixel(1, 0, ToPixel({255, 0, 0, 128}));
  SavePng(s, dir / "a.png");
  Picture p = LoadPictureFile(dir / "a.png");
  EXPECT_EQ(p.Image(), s);
  EXPECT_TRUE(p.HasTransparency());
}

TEST(PictureTest, JpegDecodes) {
  Picture p = LoadPictureFile(std::filesystem::path(STORYLOOM_SOURCE_DIR) /
                              "tests/ui/draw/data/red_blue_16x8.jpg");
  ASSERT_EQ(p.Width(), 16);
  ASSERT_EQ(p.Height(), 8);
  Rgba left = ToRgba(p.Image().GetPixel(2, 4)), right = ToRgba(p.Image().GetPixel(13, 4));
  EXPECT_GT(left.r, 180);
  EXPECT_LT(left.b, 80);
  EXPECT_GT(right.b, 160);
  EXPECT_LT(right.r, 80);
  EXPECT_FALSE(p.HasTransparency());
}

TEST(PictureTest, GifTransparentColourBecomesTransparent) {
  TempFolder dir("gif");
  test::WriteFile(dir / "t.gif", test::MakeGif(3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                                               {0, 1, 2, 3, 2, 1}, 2));
  Picture p = LoadPictureFile(dir / "t.gif");
  ASSERT_EQ(p.Width(), 3);
  ASSERT_EQ(p.Height(), 2);
  const Surface& s = p.Image();
  EXPECT_EQ(s.GetPixel(0, 0), OpaquePixel(255, 0, 0));
  EXPECT_EQ(s.GetPixel(1, 0), OpaquePixel(0, 255, 0));
  EXPECT_EQ(PixelAlpha(s.GetPixel(2, 0)), 0);
  EXPECT_EQ(s.GetPixel(0, 1), OpaquePixel(255, 255, 255));
  EXPECT_EQ(PixelAlpha(s.GetPixel(1, 1)), 0);
  EXPECT_TRUE(p.HasTransparency());

  test::WriteFile(dir / "o.gif", test::MakeGif(2, 1, {0xFF0000, 0x00FF00, 0, 0}, {1, 0}, -1));
  Picture o = LoadPictureFile(dir / "o.gif");
  EXPECT_EQ(o.Image().GetPixel(0, 0), OpaquePixel(0, 255, 0));
  EXPECT_FALSE(o.HasTransparency());
}

// A w x h image of one colour with an optional transparent first column.
test::IconImageSpec Solid(int w, int h, int bpp, std::uint32_t argb, bool maskFirstColumn) {
  test::IconImageSpec im{w, h, bpp,
                         std::vector<std::uint32_t>(static_cast<std::size_t>(w * h), argb),
                         std::vector<bool>(static_cast<std::size_t>(w * h), false)};
  for (int y = 0; y < h && maskFirstColumn; ++y) {
    im.mask[static_cast<std::size_t>(y * w)] = true;
    im.pixels[static_cast<std::size_t>(y * w)] = 0;
  }
  return im;
}

TEST(PictureTest, IconPicksStandardSizeAndKeepsEveryImage) {
  TempFolder dir("ico");
  auto small = Solid(16, 16, 4, 0xFF00FF00, true);
  auto standard = Solid(32, 32, 4, 0xFFFF0000, true);
  auto deep = Solid(32, 32, 32, 0x800000FF, false);  // half-transparent blue, alpha channel
  deep.pixels[0] = 0;
  test::WriteFile(dir / "a.ico", test::MakeIconFile({small, standard, deep}, false));
  Picture p = LoadPictureFile(dir / "a.ico");
  EXPECT_EQ(p.Kind(), PictureKind::kIcon);
  EXPECT_EQ(ClassicPictureType(p.Kind()), 3);
  ASSERT_EQ(p.Images().size(), 3u);
  // Default: 32 x 32 with the most colours.
  EXPECT_EQ(p.Width(), 32);
  EXPECT_EQ(p.Image().GetPixel(5, 5), ToPixel({0, 0, 255, 0x80}));
  EXPECT_EQ(p.Image().GetPixel(0, 0), kTransparent);
  // The 16 x 16 image for a small size; AND mask makes its first column transparent.
  const PictureImage& best16 = p.BestImage(16, 16);
  EXPECT_EQ(best16.surface.Width(), 16);
  EXPECT_EQ(best16.surface.GetPixel(3, 3), OpaquePixel(0, 255, 0));
  EXPECT_EQ(best16.surface.GetPixel(0, 3), kTransparent);
  EXPECT_EQ(p.BestImage(24, 24).surface.Width(), 32);  // smallest larger
  EXPECT_EQ(p.BestImage(64, 64).surface.Width(), 32);  // else the largest
}

TEST(PictureTest, IconWithAnEmbeddedPngImage) {
  Surface image(48, 48, ToPixel({10, 20, 30, 200}));
  std::vector<std::uint8_t> png = EncodePng(image);
  test::Bytes b;
  test::Put16(b, 0);
  test::Put16(b, 1);
  test::Put16(b, 1);
  b.insert(b.end(), {48, 48, 0, 0});
  test::Put16(b, 1);
  test::Put16(b, 32);
  test::Put32(b, static_cast<std::uint32_t>(png.size()));
  test::Put32(b, 22);
  b.insert(b.end(), png.begin(), png.end());
  Picture p = DecodePicture(b);
  EXPECT_EQ(p.Kind(), PictureKind::kIcon);
  EXPECT_EQ(p.Image(), image);
  // An entry pointing past the end of the file is refused.
  b[18] = 0xFF;
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { DecodePicture(b); }), 481);
}

TEST(PictureTest, CursorHasItsHotSpotAndMask) {
  TempFolder dir("cur");
  auto arrow = Solid(32, 32, 1, 0xFFFFFFFF, true);
  arrow.hotX = 5;
  arrow.hotY = 7;
  test::WriteFile(dir / "a.cur", test::MakeIconFile({arrow}, true));
  Picture p = LoadPictureFile(dir / "a.cur");
  EXPECT_EQ(p.Kind(), PictureKind::kCursor);
  EXPECT_EQ(p.HotSpot(), (Point{5, 7}));
  EXPECT_EQ(p.Image().GetPixel(0, 10), kTransparent);
  EXPECT_EQ(p.Image().GetPixel(1, 10), kWhite);
}

TEST(PictureTest, MetafileRendersAtItsOwnSize) {
  TempFolder dir("wmf");
  // 1000 x 500 units at 1000 units per inch: 96 x 48 pixels.
  test::WriteFile(dir / "a.wmf", test::MakeWmf(1000, 500, 0x0000FF));
  Picture p = LoadPictureFile(dir / "a.wmf");
  EXPECT_EQ(p.Kind(), PictureKind::kMetafile);
  EXPECT_EQ(ClassicPictureType(p.Kind()), 2);
  EXPECT_NEAR(p.Width(), 96, 1);
  EXPECT_NEAR(p.Height(), 48, 1);
  Rgba centre = ToRgba(p.Image().GetPixel(p.Width() / 2, p.Height() / 2));
  EXPECT_EQ(centre, (Rgba{255, 0, 0, 255}));
  // Played again at another size rather than scaled.
  Surface big = p.Render(300, 20);
  EXPECT_EQ(big.Dimensions(), (Size{300, 20}));
  EXPECT_EQ(ToRgba(big.GetPixel(150, 10)), (Rgba{255, 0, 0, 255}));
}

TEST(PictureTest, EnhancedMetafileRendersAtItsOwnSize) {
  TempFolder dir("emf");
  test::WriteFile(dir / "a.emf", test::MakeEmf(40, 20, 0x00FF00));
  Picture p = LoadPictureFile(dir / "a.emf");
  EXPECT_EQ(p.Kind(), PictureKind::kEnhancedMetafile);
  EXPECT_EQ(ClassicPictureType(p.Kind()), 4);
  EXPECT_NEAR(p.Width(), 40, 1);
  EXPECT_NEAR(p.Height(), 20, 1);
  EXPECT_EQ(ToRgba(p.Image().GetPixel(p.Width() / 2, p.Height() / 2)), (Rgba{0, 255, 0, 255}));
  Surface big = p.Render(200, 50);
  EXPECT_EQ(big.Dimensions(), (Size{200, 50}));
  EXPECT_EQ(ToRgba(big.GetPixel(100, 25)), (Rgba{0, 255, 0, 255}));
}

TEST(PictureTest, RenderScalesBitmapsAndPicksIconImages) {
  Surface s(2, 1, kBlack);
  s.SetPixel(1, 0, kWhite);
  Picture p(s);
  Surface r = p.Render(4, 2);
  EXPECT_EQ(r.GetPixel(1, 1), kBlack);
  EXPECT_EQ(r.GetPixel(2, 1), kWhite);
  EXPECT_EQ(p.Render(2, 1), s);
  EXPECT_TRUE(p.Render(0, 5).Empty());
  EXPECT_TRUE(Picture().Render(3, 3).Empty());
}

TEST(PictureTest, ErrorsForMissingTextAndBrokenFiles) {
  TempFolder dir("err");
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { LoadPictureFile(dir / "missing.bmp"); }), 53);
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { LoadPictureFile(dir.Path()); }), 53);
  test::WriteText(dir / "text.jpg", "This is not a picture.\r\n");
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { LoadPictureFile(dir / "text.jpg"); }), 481);
  test::WriteText(dir / "empty.bmp", "");
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { LoadPictureFile(dir / "empty.bmp"); }), 481);
  // Truncated files of every format.
  std::vector<test::Bytes> files = {
      test::MakeGif(3, 2, {1, 2, 3, 4}, {0, 1, 2, 3, 2, 1}, 2),
      test::MakeIconFile({Solid(32, 32, 4, 0xFFFF0000, true)}, false),
      test::MakeBmp32(4, 4, 0x123456),
      test::MakeWmf(1000, 500, 0xFF),
      test::MakeEmf(40, 20, 0xFF),
  };
  for (auto& bytes : files) {
    bytes.resize(bytes.size() / 3);
    EXPECT_EQ(sl::test::ErrorNumberOf([&] { DecodePicture(bytes); }), 481);
  }
}

TEST(PictureCacheTest, SharesDecodedPicturesAndRefreshes) {
  TempFolder dir("cache");
  PictureCache cache;
  SaveBmp(Surface(2, 2, kWhite), dir / "a.bmp");
  Picture first = cache.Load(dir / "a.bmp");
  std::filesystem::create_directory(dir / "sub");
  Picture again = cache.Load(dir / "sub/../a.bmp");
  EXPECT_TRUE(first.SameAs(again));
  EXPECT_EQ(cache.Count(), 1u);

  // Same size, same time stamp: only Invalidate reveals the new contents.
  auto stamp = std::filesystem::last_write_time(dir / "a.bmp");
  SaveBmp(Surface(2, 2, kBlack), dir / "a.bmp");
  std::filesystem::last_write_time(dir / "a.bmp", stamp);
  EXPECT_TRUE(cache.Load(dir / "a.bmp").SameAs(first));
  cache.Invalidate(dir / "a.bmp");
  Picture fresh = cache.Load(dir / "a.bmp");
  EXPECT_FALSE(fresh.SameAs(first));
  EXPECT_EQ(fresh.Image().GetPixel(0, 0), kBlack);

  // A file written with a new size is re-read without being told.
  SaveBmp(Surface(3, 2, kWhite), dir / "a.bmp");
  EXPECT_EQ(cache.Load(dir / "a.bmp").Width(), 3);

  std::filesystem::remove(dir / "a.bmp");
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { cache.Load(dir / "a.bmp"); }), 53);
  test::WriteText(dir / "bad.gif", "GIF89a but nothing else");
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { cache.Load(dir / "bad.gif"); }), 481);
}

TEST(PictureCacheTest, KeepsAtMostItsBudgetOfDecodedBytes) {
  TempFolder dir("cache_budget");
  constexpr std::size_t kPictureBytes = 10 * 10 * sizeof(Pixel);
  PictureCache cache(3 * kPictureBytes);
  for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"})
    SaveBmp(Surface(10, 10, kWhite), dir / name);
  Picture a = cache.Load(dir / "a.bmp");
  Picture b = cache.Load(dir / "b.bmp");
  cache.Load(dir / "c.bmp");
  EXPECT_EQ(cache.Bytes(), 3 * kPictureBytes);
  EXPECT_TRUE(cache.Load(dir / "a.bmp").SameAs(a));  // a is now the most recently used
  cache.Load(dir / "d.bmp");                         // b, the least recently used, leaves
  EXPECT_EQ(cache.Count(), 3u);
  EXPECT_EQ(cache.Bytes(), 3 * kPictureBytes);
  EXPECT_TRUE(cache.Load(dir / "a.bmp").SameAs(a));
  EXPECT_FALSE(cache.Load(dir / "b.bmp").SameAs(b));

  // A picture larger than the whole budget is handed out but not kept.
  SaveBmp(Surface(40, 40, kWhite), dir / "large.bmp");
  EXPECT_EQ(cache.Load(dir / "large.bmp").Width(), 40);
  EXPECT_EQ(cache.Count(), 3u);
  EXPECT_LE(cache.Bytes(), 3 * kPictureBytes);
}

TEST(PictureCacheTest, AnInvalidPictureIsRememberedUntilItsFileChanges) {
  TempFolder dir("cache_invalid");
  PictureCache cache;
  Surface white(2, 2, kWhite);
  SaveBmp(white, dir / "a.bmp");
  test::Bytes broken = test::ReadFile(dir / "a.bmp");
  broken[14] = 1;  // an impossible header size
  test::WriteFile(dir / "a.bmp", broken);
  auto stamp = std::filesystem::last_write_time(dir / "a.bmp");
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { cache.Load(dir / "a.bmp"); }), 481);
  // The same size and time: the cache answers without decoding again.
  SaveBmp(white, dir / "a.bmp");
  std::filesystem::last_write_time(dir / "a.bmp", stamp);
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { cache.Load(dir / "a.bmp"); }), 481);
  cache.Invalidate(dir / "a.bmp");
  EXPECT_EQ(cache.Load(dir / "a.bmp").Image(), white);
}

}  // namespace
}  // namespace sl::draw
