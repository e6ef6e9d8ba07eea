// PNG round trip and the image comparison helper.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/runtime_error.h"
#include "ui/draw/image_compare.h"
#include "ui/draw/png_io.h"

namespace sl::draw {
namespace {

std::filesystem::path TempDir(const char* name) {
  auto dir = std::filesystem::temp_directory_path() /
             ("sl_draw_" + std::string(name) + "_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir;
}

Surface Gradient() {
  Surface s(17, 9);
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      s.SetPixel(x, y,
                 ToPixel({static_cast<std::uint8_t>(x * 15), static_cast<std::uint8_t>(y * 28), 77,
                          static_cast<std::uint8_t>(y == 0 ? 0 : 255)}));
    }
  }
  return s;
}

TEST(PngIoTest, RoundTripKeepsPixelsAndTransparency) {
  auto dir = TempDir("png");
  Surface s = Gradient();
  SavePng(s, dir / "g.png");
  Surface back = LoadPng(dir / "g.png");
  EXPECT_EQ(back, s);
  EXPECT_FALSE(back.IsOpaque());
  std::filesystem::remove_all(dir);
}

TEST(PngIoTest, ErrorsForMissingAndInvalidFiles) {
  auto dir = TempDir("pngerr");
  try {
    LoadPng(dir / "missing.png");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 53);
  }
  std::ofstream(dir / "text.png") << "not a png";
  try {
    LoadPng(dir / "text.png");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 481);
  }
  std::filesystem::remove_all(dir);
}

TEST(ImageCompareTest, ToleranceAndShareOfDifferingPixels) {
  Surface a(10, 10, OpaquePixel(100, 100, 100));
  Surface b = a;
  b.SetPixel(3, 3, OpaquePixel(105, 100, 100));  // within tolerance
  CompareResult r = CompareImages(a, b, {8, 0.0});
  EXPECT_TRUE(r.match);
  EXPECT_EQ(r.maxChannelDelta, 5);
  b.SetPixel(4, 4, OpaquePixel(0, 100, 100));
  r = CompareImages(a, b, {8, 0.0});
  EXPECT_FALSE(r.match);
  EXPECT_EQ(r.differingPixels, 1);
  EXPECT_EQ(r.diff.GetPixel(4, 4), OpaquePixel(255, 0, 0));
  EXPECT_NE(r.diff.GetPixel(3, 3), OpaquePixel(255, 0, 0));
  EXPECT_TRUE(CompareImages(a, b, {8, 0.01}).match);
  EXPECT_TRUE(CompareImages(a, Surface(10, 9), {}).sizeMismatch);
}

TEST(ImageCompareTest, MismatchWritesActualAndDiffImages) {
  auto dir = TempDir("cmp");
  Surface expected(4, 4, kWhite);
  SavePng(expected, dir / "ref.png");
  EXPECT_TRUE(CompareWithReference(expected, dir / "ref.png", dir / "out").match);
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "ref.actual.png"));
  ReferenceCheck check = CompareWithReference(Surface(4, 4, kBlack), dir / "ref.png", dir / "out");
  EXPECT_FALSE(check.match);
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "ref.actual.png")) << check.message;
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "ref.diff.png"));
  EXPECT_FALSE(CompareWithReference(expected, dir / "nothing.png", dir / "out").match);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace sl::draw
