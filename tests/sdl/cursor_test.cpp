// Pointer numbers to system cursors, and custom cursors scaled with their hot spot.
#include <SDL.h>
#include <gtest/gtest.h>

#include "backend/sdl/sdl_cursors.h"

namespace sl::sdl {
namespace {

TEST(SystemCursorFor, ClassicPointerNumbers) {
  EXPECT_EQ(SystemCursorFor(0), SDL_SYSTEM_CURSOR_ARROW);
  EXPECT_EQ(SystemCursorFor(1), SDL_SYSTEM_CURSOR_ARROW);
  EXPECT_EQ(SystemCursorFor(2), SDL_SYSTEM_CURSOR_CROSSHAIR);
  EXPECT_EQ(SystemCursorFor(3), SDL_SYSTEM_CURSOR_IBEAM);
  EXPECT_EQ(SystemCursorFor(11), SDL_SYSTEM_CURSOR_WAIT);
  EXPECT_EQ(SystemCursorFor(13), SDL_SYSTEM_CURSOR_WAITARROW);
  EXPECT_EQ(SystemCursorFor(12), SDL_SYSTEM_CURSOR_NO);
  EXPECT_EQ(SystemCursorFor(-5), SDL_SYSTEM_CURSOR_ARROW);
  EXPECT_EQ(SystemCursorFor(1000), SDL_SYSTEM_CURSOR_ARROW);
}

ui::CursorImage Checker(int w, int h, int hotX, int hotY) {
  ui::CursorImage c;
  c.width = w;
  c.height = h;
  c.hotX = hotX;
  c.hotY = hotY;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::uint8_t v = static_cast<std::uint8_t>(x * 16 + y);
      c.rgba.insert(c.rgba.end(), {v, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                   static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0)});
    }
  }
  return c;
}

TEST(ScaleCursorImage, WholeFactorsRepeatPixelsAndMoveTheHotSpot) {
  ui::CursorImage c = Checker(4, 3, 3, 1);
  ui::CursorImage s = ScaleCursorImage(c, 2);
  ASSERT_EQ(s.width, 8);
  ASSERT_EQ(s.height, 6);
  EXPECT_EQ(s.hotX, 6);
  EXPECT_EQ(s.hotY, 2);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      for (int ch = 0; ch < 4; ++ch) {
        ASSERT_EQ(s.rgba[(y * 8 + x) * 4 + ch], c.rgba[((y / 2) * 4 + x / 2) * 4 + ch])
            << x << "," << y;
      }
    }
  }
}

TEST(ScaleCursorImage, FractionalAndBrokenImages) {
  ui::CursorImage s = ScaleCursorImage(Checker(32, 32, 31, 0), 1.5);
  EXPECT_EQ(s.width, 48);
  EXPECT_EQ(s.hotX, 46);  // stays inside the image
  EXPECT_EQ(s.rgba.size(), 48u * 48 * 4);
  ui::CursorImage broken = Checker(4, 4, 0, 0);
  broken.rgba.resize(10);  // fewer bytes than the size says
  EXPECT_EQ(ScaleCursorImage(broken, 2).width, 0);
  EXPECT_EQ(ScaleCursorImage(Checker(4, 4, 9, 9), 1).hotX, 3);  // hot spot clamped
}

}  // namespace
}  // namespace sl::sdl
