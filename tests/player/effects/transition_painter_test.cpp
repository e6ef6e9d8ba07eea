// The passes of the transitions as pictures: the cross-fade's opacity and mix, the slides'
// places at half progress, and the numbers that name them.
#include "player/effects/transition_painter.h"

#include <gtest/gtest.h>

namespace sl {
namespace {

// A still whose every pixel tells where it came from: x in red, y in green, `tag` in blue.
draw::Surface Coded(int w, int h, std::uint8_t tag) {
  draw::Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    draw::Pixel* row = s.MutableRow(y);
    for (int x = 0; x < w; ++x)
      row[x] = draw::OpaquePixel(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), tag);
  }
  s.UpdateOpacity();
  return s;
}

constexpr std::uint8_t kOld = 10;
constexpr std::uint8_t kNew = 250;

TEST(TransitionPainter, NumbersNameTheKinds) {
  EXPECT_EQ(TransitionKindOf(0), TransitionKind::kCrossFade);
  EXPECT_EQ(TransitionKindOf(1), TransitionKind::kCrossFade);
  EXPECT_EQ(TransitionKindOf(2), TransitionKind::kSlideLeft);
  EXPECT_EQ(TransitionKindOf(5), TransitionKind::kSlideDown);
  EXPECT_EQ(TransitionKindOf(-1), std::nullopt);
  EXPECT_EQ(TransitionKindOf(6), std::nullopt);
  EXPECT_EQ(TransitionKindOf(32767), std::nullopt);
}

TEST(TransitionPainter, AlphaIsRoundedToNearestWithTiesToEven) {
  EXPECT_EQ(CrossFadeAlpha(0), 0);
  EXPECT_EQ(CrossFadeAlpha(-0.5), 0);
  EXPECT_EQ(CrossFadeAlpha(0.5 / 255), 0);  // 0.5 goes to the even 0
  EXPECT_EQ(CrossFadeAlpha(1.5 / 255), 2);
  EXPECT_EQ(CrossFadeAlpha(2.5 / 255), 2);
  EXPECT_EQ(CrossFadeAlpha(0.25), 64);  // 63.75
  EXPECT_EQ(CrossFadeAlpha(0.5), 128);  // 127.5 goes to the even 128
  EXPECT_EQ(CrossFadeAlpha(0.999), 255);
  EXPECT_EQ(CrossFadeAlpha(1), 255);
  EXPECT_EQ(CrossFadeAlpha(3), 255);
}

TEST(TransitionPainter, CrossFadeMixesBothStillsAndEndsOnTheNewOne) {
  draw::Surface oldFrame(4, 2, draw::OpaquePixel(200, 100, 0));
  draw::Surface newFrame(4, 2, draw::OpaquePixel(0, 100, 200));
  draw::Surface target(6, 4, draw::kBlack);
  PaintCrossFade(target, {1, 1}, oldFrame, newFrame, 128);
  EXPECT_EQ(target.GetPixel(1, 1), draw::OpaquePixel(100, 100, 100));
  EXPECT_EQ(target.GetPixel(4, 2), draw::OpaquePixel(100, 100, 100));
  EXPECT_EQ(target.GetPixel(0, 0), draw::kBlack);  // outside the covered area
  EXPECT_EQ(target.GetPixel(5, 3), draw::kBlack);
  PaintCrossFade(target, {1, 1}, oldFrame, newFrame, 64);
  EXPECT_EQ(target.GetPixel(2, 1), draw::OpaquePixel(150, 100, 50));
  PaintCrossFade(target, {1, 1}, oldFrame, newFrame, 0);
  EXPECT_EQ(target.GetPixel(2, 2), oldFrame.GetPixel(0, 0));
  // The last pass draws the new frame exactly, whatever it holds.
  draw::Surface coded = Coded(4, 2, kNew);
  PaintCrossFade(target, {1, 1}, Coded(4, 2, kOld), coded, CrossFadeAlpha(1));
  EXPECT_EQ(target.Crop({1, 1, 4, 2}), coded);
}

TEST(TransitionPainter, CrossFadeStaysInsideTheClip) {
  draw::Surface target(8, 8, draw::kBlack);
  target.SetClip({0, 0, 3, 8});
  PaintCrossFade(target, {0, 0}, Coded(8, 8, kOld), Coded(8, 8, kNew), 255);
  EXPECT_EQ(draw::PixelBlue(target.GetPixel(2, 5)), kNew);
  EXPECT_EQ(target.GetPixel(3, 5), draw::kBlack);
}

TEST(TransitionPainter, SlidesAtHalfProgressShowHalfOfEach) {
  // At (x, y) of a 100 x 60 area half way, the pixel (fromX, fromY) of the old or new still.
  struct Case {
    TransitionKind kind;
    int x, y;
    std::uint8_t still;
    int fromX, fromY;
  };
  const Case cases[] = {
      // Slide Left: the pictures move right; the new frame's right half enters on the left.
      {TransitionKind::kSlideLeft, 10, 5, kNew, 60, 5},
      {TransitionKind::kSlideLeft, 50, 5, kOld, 0, 5},
      // Slide Right: the pictures move left; the new frame's left half enters on the right.
      {TransitionKind::kSlideRight, 10, 5, kOld, 60, 5},
      {TransitionKind::kSlideRight, 50, 5, kNew, 0, 5},
      // Slide Up: the pictures move down; the new frame comes in from above.
      {TransitionKind::kSlideUp, 7, 0, kNew, 7, 30},
      {TransitionKind::kSlideUp, 7, 30, kOld, 7, 0},
      // Slide Down: the pictures move up; the new frame comes in from below.
      {TransitionKind::kSlideDown, 7, 29, kOld, 7, 59},
      {TransitionKind::kSlideDown, 7, 30, kNew, 7, 0},
  };
  for (const Case& c : cases) {
    draw::Surface target(100, 60, draw::kBlack);
    PaintTransitionPass(target, {0, 0}, Coded(100, 60, kOld), Coded(100, 60, kNew), c.kind, 0.5);
    draw::Pixel p = target.GetPixel(c.x, c.y);
    EXPECT_EQ(draw::PixelBlue(p), c.still) << static_cast<int>(c.kind) << " " << c.x << "," << c.y;
    EXPECT_EQ(draw::PixelRed(p), c.fromX);
    EXPECT_EQ(draw::PixelGreen(p), c.fromY);
  }
}

TEST(TransitionPainter, SlideGeometryRunsFromOldToNew) {
  draw::Size size{640, 480};
  for (TransitionKind kind : {TransitionKind::kSlideLeft, TransitionKind::kSlideRight,
                              TransitionKind::kSlideUp, TransitionKind::kSlideDown}) {
    SlidePlaces start = SlideGeometry(kind, 0, size);
    SlidePlaces end = SlideGeometry(kind, 1, size);
    EXPECT_EQ(start.oldAt, (draw::Point{0, 0}));
    EXPECT_EQ(end.newAt, (draw::Point{0, 0}));
  }
  EXPECT_EQ(SlideGeometry(TransitionKind::kSlideLeft, 0.25, size).newAt, (draw::Point{-480, 0}));
  EXPECT_EQ(SlideGeometry(TransitionKind::kSlideDown, 0.25, size).oldAt, (draw::Point{0, -120}));
}

}  // namespace
}  // namespace sl
