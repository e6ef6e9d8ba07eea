// Classic colour values, system colours and premultiplied conversions.
#include "ui/draw/color.h"

#include <gtest/gtest.h>

namespace sl::draw {
namespace {

TEST(ColorTest, ClassicValueHasRedInTheLowByte) {
  EXPECT_EQ(ClassicToRgba(0x0000FF), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(ClassicToRgba(0xFF0000), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(ClassicToRgba(0x12345678), (Rgba{0x78, 0x56, 0x34, 255}));
  EXPECT_EQ(RgbaToClassic({0x78, 0x56, 0x34, 9}), 0x345678u);
  // An opaque pixel's low 24 bits are the classic value.
  EXPECT_EQ(ClassicToPixel(0x345678) & 0xFFFFFFu, 0x345678u);
}

TEST(ColorTest, SystemColourReferences) {
  EXPECT_TRUE(IsSystemColorValue(0x8000000Fu));
  EXPECT_EQ(ClassicToRgba(0x8000000Fu), SystemColorRgba(SystemColor::kButtonFace));
  EXPECT_EQ(ClassicToRgba(0x80000005u), (Rgba{255, 255, 255, 255}));  // window background
  EXPECT_EQ(ClassicToRgba(0x80000012u), (Rgba{0, 0, 0, 255}));        // button text
  EXPECT_EQ(ClassicToRgba(0x800000FFu), (Rgba{0, 0, 0, 255}));        // unknown number
  Rgba face = SystemColorRgba(SystemColor::kButtonFace);
  Rgba shadow = SystemColorRgba(SystemColor::kButtonShadow);
  EXPECT_GT(face.r, shadow.r);
  EXPECT_GT(SystemColorRgba(SystemColor::kButtonHighlight).r, face.r);
}

TEST(ColorTest, PremultipliedRoundTrip) {
  EXPECT_EQ(ToPixel({255, 255, 255, 0}), kTransparent);
  EXPECT_EQ(ToPixel({200, 100, 50, 255}), OpaquePixel(200, 100, 50));
  for (int a : {1, 64, 128, 200, 254}) {
    Rgba c{200, 100, 50, static_cast<std::uint8_t>(a)};
    Rgba back = ToRgba(ToPixel(c));
    int tolerance = 255 / a + 1;
    EXPECT_NEAR(back.r, c.r, tolerance) << a;
    EXPECT_NEAR(back.g, c.g, tolerance) << a;
    EXPECT_NEAR(back.b, c.b, tolerance) << a;
    EXPECT_EQ(back.a, c.a);
  }
}

}  // namespace
}  // namespace sl::draw
