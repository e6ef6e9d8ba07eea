// Scaling arithmetic of the desktop: frame fitting, letterboxing, mapping the pointer back,
// high-density drawables, the virtual display on the real desktop.
#include "backend/sdl/presentation.h"

#include <gtest/gtest.h>

namespace sl::sdl {
namespace {

TEST(FitFrame, TakesWholeFactorsThatFillTheTarget) {
  // 640x480 on 1920x1080: 2.25 fits, 2 fills 89% of it.
  Placement p = FitFrame({640, 480}, {1920, 1080});
  EXPECT_EQ(p.scale, 2);
  EXPECT_EQ(p.dest, (PixelRect{320, 60, 1280, 960}));
  // Exact multiples stay whole and fill the target.
  p = FitFrame({320, 240}, {1280, 960});
  EXPECT_EQ(p.scale, 4);
  EXPECT_EQ(p.dest, (PixelRect{0, 0, 1280, 960}));
  p = FitFrame({800, 600}, {800, 600});
  EXPECT_EQ(p.scale, 1);
  EXPECT_EQ(p.dest, (PixelRect{0, 0, 800, 600}));
}

TEST(FitFrame, FitsExactlyWhenAWholeFactorWouldLeaveWideBorders) {
  // 800x600 on 1920x1080: 1.8 fits; factor 1 would be only 56% of it.
  Placement p = FitFrame({800, 600}, {1920, 1080});
  EXPECT_DOUBLE_EQ(p.scale, 1.8);
  EXPECT_EQ(p.dest, (PixelRect{240, 0, 1440, 1080}));
  // A target smaller than the frame scales down, aspect kept, letterboxed.
  p = FitFrame({1024, 768}, {800, 800});
  EXPECT_DOUBLE_EQ(p.scale, 800.0 / 1024);
  EXPECT_EQ(p.dest, (PixelRect{0, 100, 800, 600}));
}

TEST(FitFrame, PixelPerfectKeepsWholeFactorsAndSmoothFitsExactly) {
  // 640x480 on 1024x768: 1.6 fits.
  Placement pixel = FitFrame({640, 480}, {1024, 768}, ui::ScaleMode::PixelPerfect);
  EXPECT_EQ(pixel.scale, 1);
  EXPECT_EQ(pixel.dest, (PixelRect{192, 144, 640, 480}));
  EXPECT_FALSE(Filtered(pixel, ui::ScaleMode::PixelPerfect));
  Placement smooth = FitFrame({640, 480}, {1024, 768}, ui::ScaleMode::Smooth);
  EXPECT_DOUBLE_EQ(smooth.scale, 1.6);
  EXPECT_EQ(smooth.dest, (PixelRect{0, 0, 1024, 768}));
  EXPECT_TRUE(Filtered(smooth, ui::ScaleMode::Smooth));
  // Automatic scaling takes 1.6 too, but with sharp (unfiltered) pixels.
  Placement automatic = FitFrame({640, 480}, {1024, 768});
  EXPECT_DOUBLE_EQ(automatic.scale, 1.6);
  EXPECT_FALSE(Filtered(automatic, ui::ScaleMode::Auto));
  // A whole factor is never filtered, and pixel-perfect takes it even far below the fit.
  EXPECT_FALSE(
      Filtered(FitFrame({320, 240}, {1280, 960}, ui::ScaleMode::Smooth), ui::ScaleMode::Smooth));
  EXPECT_EQ(FitFrame({800, 600}, {1920, 1080}, ui::ScaleMode::PixelPerfect).scale, 1);
  // Below 1 there is no whole factor: every mode fits exactly.
  EXPECT_DOUBLE_EQ(FitFrame({1024, 768}, {800, 600}, ui::ScaleMode::PixelPerfect).scale,
                   800.0 / 1024);
}

TEST(FitFrame, FramePixelsMapToTheTargetAndBack) {
  for (ui::ScaleMode mode :
       {ui::ScaleMode::Auto, ui::ScaleMode::PixelPerfect, ui::ScaleMode::Smooth}) {
    for (ui::Size target : {ui::Size{1024, 768}, ui::Size{1920, 1080}, ui::Size{700, 500}}) {
      Placement p = FitFrame({640, 480}, target, mode);
      for (PixelPoint f : {PixelPoint{0, 0}, PixelPoint{321, 17}, PixelPoint{639, 479}}) {
        PixelPoint t = FrameToTarget(f, p);
        EXPECT_EQ(WindowToFrame(t, target, target, p), f)
            << ui::ScaleModeName(mode) << " " << target.width << " " << f.x << "," << f.y;
      }
    }
  }
}

TEST(FitFrame, PillarboxesAndLetterboxesBySide) {
  Placement wide = FitFrame({640, 480}, {2000, 960});  // 2 fits exactly by height
  EXPECT_EQ(wide.scale, 2);
  EXPECT_EQ(wide.dest, (PixelRect{360, 0, 1280, 960}));
  Placement tall = FitFrame({640, 480}, {1280, 1500});
  EXPECT_EQ(tall.scale, 2);
  EXPECT_EQ(tall.dest, (PixelRect{0, 270, 1280, 960}));
}

TEST(FitFrame, DegenerateSizesDoNotDivideByZero) {
  Placement p = FitFrame({0, 0}, {100, 50});
  EXPECT_EQ(p.scale, 1);
  EXPECT_EQ(p.dest, (PixelRect{0, 0, 100, 50}));
  p = FitFrame({100, 50}, {0, 0});
  EXPECT_EQ(p.dest, (PixelRect{0, 0, 0, 0}));
}

TEST(WindowToFrame, RemovesTheLetterboxAndTheScale) {
  Placement p = FitFrame({640, 480}, {1920, 1080});  // 2x at (320, 60)
  EXPECT_EQ(WindowToFrame({320, 60}, {1920, 1080}, {1920, 1080}, p), (PixelPoint{0, 0}));
  EXPECT_EQ(WindowToFrame({321, 61}, {1920, 1080}, {1920, 1080}, p), (PixelPoint{0, 0}));
  EXPECT_EQ(WindowToFrame({322, 61}, {1920, 1080}, {1920, 1080}, p), (PixelPoint{1, 0}));
  EXPECT_EQ(WindowToFrame({1599, 1019}, {1920, 1080}, {1920, 1080}, p), (PixelPoint{639, 479}));
  // In the letterbox: outside the frame, not clamped onto its edge.
  EXPECT_EQ(WindowToFrame({10, 10}, {1920, 1080}, {1920, 1080}, p), (PixelPoint{-155, -25}));
  EXPECT_EQ(WindowToFrame({1600, 1079}, {1920, 1080}, {1920, 1080}, p).x, 640);
}

TEST(WindowToFrame, HighDensityDrawablesHaveMorePixelsThanTheWindow) {
  // A 640x480 window whose drawable is 1280x960 (2 pixels a window unit) showing 320x240.
  Placement p = FitFrame({320, 240}, {1280, 960});
  ASSERT_EQ(p.scale, 4);
  EXPECT_EQ(WindowToFrame({0, 0}, {640, 480}, {1280, 960}, p), (PixelPoint{0, 0}));
  EXPECT_EQ(WindowToFrame({100, 50}, {640, 480}, {1280, 960}, p), (PixelPoint{50, 25}));
  EXPECT_EQ(WindowToFrame({639, 479}, {640, 480}, {1280, 960}, p), (PixelPoint{319, 239}));
}

TEST(WindowToFrame, EveryFramePixelMapsBackToItself) {
  struct Case {
    ui::Size frame, window, drawable;
  };
  const Case cases[] = {{{640, 480}, {1920, 1080}, {1920, 1080}},
                        {{800, 600}, {1920, 1080}, {1920, 1080}},
                        {{800, 600}, {960, 540}, {1920, 1080}},
                        {{640, 480}, {960, 540}, {1920, 1080}},
                        {{1024, 768}, {800, 600}, {800, 600}}};
  for (const Case& c : cases) {
    Placement p = FitFrame(c.frame, c.drawable);
    double toWindowX = static_cast<double>(c.window.width) / c.drawable.width;
    double toWindowY = static_cast<double>(c.window.height) / c.drawable.height;
    // Only where a frame pixel covers at least one window unit can it be hit at all.
    if (p.scale * toWindowX < 1) continue;
    for (int fy = 0; fy < c.frame.height; fy += 7) {
      for (int fx = 0; fx < c.frame.width; fx += 5) {
        int wx = static_cast<int>(((p.dest.x + (fx + 0.5) * p.scale) * toWindowX));
        int wy = static_cast<int>(((p.dest.y + (fy + 0.5) * p.scale) * toWindowY));
        PixelPoint back = WindowToFrame({wx, wy}, c.window, c.drawable, p);
        ASSERT_EQ(back, (PixelPoint{fx, fy}))
            << c.frame.width << "x" << c.frame.height << " in " << c.drawable.width << "x"
            << c.drawable.height << " at window " << wx << "," << wy;
      }
    }
  }
}

TEST(MapDisplay, CentresTheVirtualDisplayAtAWholeFactor) {
  DesktopMapping m = MapDisplay({640, 480}, {0, 30, 1920, 1050});
  EXPECT_EQ(m.scale, 2);
  EXPECT_EQ(m.originX, 320);
  EXPECT_EQ(m.originY, 30 + 45);
  // A window centred on the virtual display is centred on the real one.
  EXPECT_EQ(m.ToReal(120, 90, 400, 300), (PixelRect{560, 255, 800, 600}));
  EXPECT_EQ(m.ToVirtual(560, 255), (PixelPoint{120, 90}));

  m = MapDisplay({1024, 768}, {0, 0, 1280, 1024});
  EXPECT_EQ(m.scale, 1);
  EXPECT_EQ(m.originX, 128);
  EXPECT_EQ(m.originY, 128);
}

TEST(MapDisplay, ShrinksAVirtualDisplayLargerThanTheDesktop) {
  DesktopMapping m = MapDisplay({1024, 768}, {0, 0, 800, 600});
  EXPECT_DOUBLE_EQ(m.scale, 800.0 / 1024);
  EXPECT_EQ(m.originX, 0);
  EXPECT_EQ(m.originY, 0);
  EXPECT_EQ(m.ToReal(0, 0, 1024, 768), (PixelRect{0, 0, 800, 600}));
}

TEST(CoversDisplay, OnlyBorderlessWindowsCoveringEverything) {
  ui::WindowSpec s;
  s.frame = ui::WindowFrame::None;
  s.width = 800;
  s.height = 600;
  EXPECT_TRUE(CoversDisplay(s, {800, 600}));
  EXPECT_FALSE(CoversDisplay(s, {1024, 768}));
  s.left = 1;
  EXPECT_FALSE(CoversDisplay(s, {800, 600}));
  s.left = -4;
  s.width = 810;
  EXPECT_TRUE(CoversDisplay(s, {800, 600}));
  s.frame = ui::WindowFrame::Fixed;  // a captioned game window in windowed mode
  EXPECT_FALSE(CoversDisplay(s, {800, 600}));
}

}  // namespace
}  // namespace sl::sdl
