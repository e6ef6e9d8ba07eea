// Raster operations of Surface on tiny surfaces: fills, blits, clipping, stretching, tiling.
#include "ui/draw/surface.h"

#include <gtest/gtest.h>

namespace sl::draw {
namespace {

constexpr Pixel kRed = OpaquePixel(255, 0, 0);
constexpr Pixel kGreen = OpaquePixel(0, 255, 0);
constexpr Pixel kBlue = OpaquePixel(0, 0, 255);

// Renders a surface as rows of characters for readable expectations.
std::string Picture(const Surface& s) {
  std::string out;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      Pixel p = s.GetPixel(x, y);
      out += p == kRed ? 'R' : p == kGreen ? 'G' : p == kBlue ? 'B' : p == kTransparent ? '.' : '?';
    }
    out += '\n';
  }
  return out;
}

// A 2 x 2 source: R G / B transparent.
Surface Quad() {
  Surface s(2, 2);
  s.SetPixel(0, 0, kRed);
  s.SetPixel(1, 0, kGreen);
  s.SetPixel(0, 1, kBlue);
  return s;
}

TEST(SurfaceTest, FillRespectsClipAndTracksOpacity) {
  Surface s(4, 3);
  EXPECT_FALSE(s.IsOpaque());
  s.Fill(kRed);
  EXPECT_TRUE(s.IsOpaque());
  s.SetClip({1, 1, 10, 1});
  s.Fill(kTransparent);
  EXPECT_EQ(Picture(s), "RRRR\nR...\nRRRR\n");
  EXPECT_FALSE(s.IsOpaque());
  s.ResetClip();
  s.FillRect({-5, -5, 7, 6}, kGreen);
  EXPECT_EQ(Picture(s), "GGRR\nR...\nRRRR\n");
}

TEST(SurfaceTest, BlitBlendsSkipsTransparentAndClipsAtEveryEdge) {
  Surface dst(3, 3, kGreen);
  dst.Blit(Quad(), 1, 1);
  EXPECT_EQ(Picture(dst), "GGG\nGRG\nGBG\n");

  Surface edge(3, 3, kGreen);
  edge.Blit(Quad(), -1, -1);  // only the transparent corner lands
  EXPECT_EQ(Picture(edge), "GGG\nGGG\nGGG\n");
  edge.Blit(Quad(), 2, -1);  // bottom-left source pixel lands at (2, 0)
  EXPECT_EQ(Picture(edge), "GGB\nGGG\nGGG\n");

  Surface clipped(3, 3, kGreen);
  {
    ClipScope scope(clipped, {0, 0, 2, 2});
    clipped.Blit(Quad(), 1, 1);
  }
  EXPECT_EQ(clipped.Clip(), clipped.Bounds());
  EXPECT_EQ(Picture(clipped), "GGG\nGRG\nGGG\n");
}

TEST(SurfaceTest, CopyModeReplacesAlphaAndSubRectangle) {
  Surface dst(2, 2, kGreen);
  dst.Blit(Quad(), {1, 0, 1, 2}, 0, 0, {BlendMode::kCopy});
  EXPECT_EQ(Picture(dst), "GG\n.G\n");
  EXPECT_FALSE(dst.IsOpaque());
}

TEST(SurfaceTest, HalfTransparentSourceBlendsPremultiplied) {
  Surface dst(1, 1, OpaquePixel(0, 0, 200));
  Surface src(1, 1, ToPixel({255, 0, 0, 128}));
  dst.Blit(src, 0, 0);
  Rgba c = ToRgba(dst.GetPixel(0, 0));
  EXPECT_NEAR(c.r, 128, 1);
  EXPECT_EQ(c.g, 0);
  EXPECT_NEAR(c.b, 100, 1);
  EXPECT_EQ(c.a, 255);
}

TEST(SurfaceTest, ConstantOpacityCrossFades) {
  Surface from(4, 2, OpaquePixel(0, 0, 0)), to(2, 2, OpaquePixel(200, 100, 0));
  BlitOptions quarter;
  quarter.opacity = 64;
  from.Blit(to, 0, 0, quarter);
  from.StretchBlit(to, to.Bounds(), {2, 0, 2, 2}, quarter);
  for (int x : {0, 3}) {
    Rgba c = ToRgba(from.GetPixel(x, 1));
    EXPECT_NEAR(c.r, 50, 1);
    EXPECT_NEAR(c.g, 25, 1);
    EXPECT_EQ(c.a, 255);
  }
  Surface copy(1, 1, kWhite);
  quarter.mode = BlendMode::kCopy;
  copy.Blit(to, 0, 0, quarter);
  EXPECT_EQ(PixelAlpha(copy.GetPixel(0, 0)), 64);
  EXPECT_FALSE(copy.IsOpaque());
}

TEST(SurfaceTest, ColorKeySkipsMatchingPixels) {
  Surface src(3, 1, kRed);
  src.SetPixel(1, 0, kBlue);
  Surface dst(3, 1, kGreen);
  BlitOptions keyed;
  keyed.useColorKey = true;
  keyed.colorKey = kBlue;
  dst.Blit(src, 0, 0, keyed);
  EXPECT_EQ(Picture(dst), "RGR\n");
  src.ApplyColorKey(kRed);
  EXPECT_EQ(Picture(src), ".B.\n");
}

TEST(SurfaceTest, StretchEnlargesShrinksAndMirrorsByNearestNeighbour) {
  Surface big(4, 4);
  big.StretchBlit(Quad(), {0, 0, 2, 2}, {0, 0, 4, 4});
  EXPECT_EQ(Picture(big), "RRGG\nRRGG\nBB..\nBB..\n");

  Surface wide(3, 1);
  wide.StretchBlit(Quad(), {0, 0, 2, 1}, {0, 0, 3, 1});
  EXPECT_EQ(Picture(wide), "RGG\n");  // centres at 1/3, 1, 5/3 source pixels

  Surface small(1, 1);
  small.StretchBlit(big, big.Bounds(), {0, 0, 1, 1});
  EXPECT_EQ(Picture(small), ".\n");  // the centre of the 4x4 lands on its transparent part

  Surface mirrored(2, 2);
  mirrored.StretchBlit(Quad(), {0, 0, 2, 2}, {2, 0, -2, 2});
  EXPECT_EQ(Picture(mirrored), "GR\n.B\n");

  Surface clipped(4, 4);
  clipped.SetClip({1, 1, 2, 2});
  clipped.StretchBlit(Quad(), {0, 0, 2, 2}, {0, 0, 4, 4});
  EXPECT_EQ(Picture(clipped), "....\n.RG.\n.B..\n....\n");
}

TEST(SurfaceTest, StretchOfOpaqueSourceFillsEveryRow) {
  Surface src(2, 2, kRed);
  src.SetPixel(1, 1, kBlue);
  Surface dst(4, 6);
  dst.StretchBlit(src, src.Bounds(), dst.Bounds());
  EXPECT_EQ(Picture(dst), "RRRR\nRRRR\nRRRR\nRRBB\nRRBB\nRRBB\n");
}

TEST(SurfaceTest, TileAlignsCopiesToTheOrigin) {
  Surface tile(2, 1);
  tile.SetPixel(0, 0, kRed);
  tile.SetPixel(1, 0, kGreen);
  Surface dst(5, 2);
  dst.Tile(tile, {0, 0, 5, 2}, {1, 0});
  EXPECT_EQ(Picture(dst), "GRGRG\nGRGRG\n");
  Surface part(5, 1);
  part.Tile(tile, {1, 0, 3, 1}, {0, 0});
  EXPECT_EQ(Picture(part), ".GRG.\n");
}

TEST(SurfaceTest, LinesAndRectanglesIncludeEndPoints) {
  Surface s(4, 4);
  s.DrawRect({0, 0, 4, 3}, kRed);
  EXPECT_EQ(Picture(s), "RRRR\nR..R\nRRRR\n....\n");
  Surface d(3, 3);
  d.DrawLine({2, 2}, {0, 0}, kBlue);
  EXPECT_EQ(Picture(d), "B..\n.B.\n..B\n");
}

TEST(SurfaceTest, MaskBlendsColourByCoverage) {
  Surface s(2, 1, kWhite);
  const std::uint8_t mask[] = {255, 0};
  s.BlendMask(mask, 2, 1, 2, 0, 0, kBlack);
  EXPECT_EQ(s.GetPixel(0, 0), kBlack);
  EXPECT_EQ(s.GetPixel(1, 0), kWhite);
  const std::uint8_t half[] = {128};
  s.BlendMask(half, 1, 1, 1, 1, 0, kBlack);
  EXPECT_NEAR(PixelRed(s.GetPixel(1, 0)), 127, 1);
}

TEST(SurfaceTest, CropAndScaledCopies) {
  Surface q = Quad();
  EXPECT_EQ(Picture(q.Crop({1, 0, 5, 5})), "G\n.\n");
  EXPECT_EQ(Picture(q.Scaled(4, 2)), "RRGG\nBB..\n");
}

}  // namespace
}  // namespace sl::draw
