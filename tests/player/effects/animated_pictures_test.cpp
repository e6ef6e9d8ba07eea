// Animated pictures in play, in-process on the effects fixture: an animated hotspot shows its
// GIF in a holder box that takes the clicks; the images follow their own delays scaled by the
// speed, loop as the file says, stop on the first image and play again; the pair's creation
// and removal rules; the still of a frame shows the first image.
#include <gtest/gtest.h>

#include "player/effects/effects.h"
#include "player/effects/frame_capture.h"
#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "ui/control_array.h"
#include "ui/controls/animated_picture.h"
#include "ui/form.h"

namespace sl {
namespace {

class Animations : public ::testing::Test {
 protected:
  void SetUp() override {
    run.Start();
    G().OpenFrame("Gulls");
    ASSERT_EQ(G().CurrentFrameName, "Gulls");
  }
  Game& G() { return run.G(); }
  AnimatedPictures& A() { return run.player->GetEffects().Animations(); }
  ui::AnimatedPicture& Gif(int k) { return *A().Player(k); }
  ui::Control& Box(int k) { return G().Form().FindArray("AniGifBox")->Item(k); }

  test::GameRun run{"effects_game", {320, 240}};
};

TEST_F(Animations, AnimatedHotspotIsShownAndClickable) {
  ui::Control& box = Box(1);
  EXPECT_TRUE(box.Visible());
  EXPECT_EQ(box.PixelBounds(), (draw::Rect{102, 82, 24, 16}));
  EXPECT_TRUE(Gif(1).Visible());
  EXPECT_TRUE(Gif(1).Playing());
  // The file name reads back as the hotspot loader found the file.
  EXPECT_TRUE(Gif(1).FileName().ends_with("Gull.gif")) << Gif(1).FileName();
  // The picture shows over the frame, its transparent colour letting the blue through.
  const draw::Surface& s = G().Form().Manager()->Compose(G().Form());
  draw::Rect r = G().PictureBox().FormPixelBounds();
  EXPECT_EQ(s.GetPixel(r.x + 102 + 5, r.y + 82 + 3), draw::OpaquePixel(250, 250, 250));
  EXPECT_EQ(s.GetPixel(r.x + 102 + 1, r.y + 82 + 1), draw::OpaquePixel(0, 0, 255));
  // A click on it runs the hotspot's action.
  run.Click(r.x + 110, r.y + 86);
  EXPECT_EQ(G().CurrentFrameName, "Red");
}

TEST_F(Animations, ImagesFollowTheirDelaysAndTheSpeed) {
  ui::AnimatedPicture& gif = Gif(1);
  EXPECT_EQ(gif.FrameIndex(), 0u);
  EXPECT_EQ(gif.Speed(), 50);  // the file's speed 0 gives the normal speed
  run.Wait(99);
  EXPECT_EQ(gif.FrameIndex(), 0u);
  run.Wait(1);
  EXPECT_EQ(gif.FrameIndex(), 1u);
  run.Wait(200);
  EXPECT_EQ(gif.FrameIndex(), 2u);
  run.Wait(300);
  EXPECT_EQ(gif.FrameIndex(), 0u);  // a looping count of 0: without end
  // Stop goes back to the first image; twice the speed halves every delay.
  gif.Stop();
  gif.SetSpeed(100);
  EXPECT_EQ(gif.FrameDelayMs(1), 100);
  gif.Play();
  run.Wait(50);
  EXPECT_EQ(gif.FrameIndex(), 1u);
  run.Wait(100);
  EXPECT_EQ(gif.FrameIndex(), 2u);
  gif.Stop();
  EXPECT_EQ(gif.FrameIndex(), 0u);
  run.Wait(1000);
  EXPECT_EQ(gif.FrameIndex(), 0u);
}

TEST_F(Animations, LoopingFollowsTheFile) {
  ASSERT_EQ(A().AniGifNewWithIndex(7, "Areas\\Once.gif", 0, 0, 0), 7);
  ASSERT_EQ(A().AniGifNewWithIndex(8, "Areas\\Twice.gif", 0, 0, 0), 8);
  run.Wait(100);
  EXPECT_EQ(Gif(7).FrameIndex(), 1u);  // no looping extension: once, ending on the last image
  EXPECT_FALSE(Gif(7).Playing());
  EXPECT_TRUE(Gif(8).Playing());  // a count of 1: one more time
  run.Wait(100);
  EXPECT_EQ(Gif(8).FrameIndex(), 1u);
  EXPECT_FALSE(Gif(8).Playing());
}

TEST_F(Animations, PairsAreMadeAndRemovedByTheirRules) {
  EXPECT_EQ(A().AniGifNewWithIndex(0, "Areas\\Gull.gif", 0, 0, 0), 0);
  EXPECT_EQ(A().AniGifNewWithIndex(5, "", 0, 0, 0), 0);
  EXPECT_EQ(A().Player(5), nullptr);
  // A name that does not exist leaves the pair as it was, without a word.
  const std::string gull = Gif(1).FileName();
  A().AniGifUpdate(1, "Areas\\Nothing.gif", 0);
  EXPECT_EQ(Gif(1).FileName(), gull);
  EXPECT_TRUE(run.boxes.Shown().empty());
  // A file that is there but cannot be read is reported; the pair stays as far as it was built.
  ASSERT_EQ(A().AniGifNewWithIndex(9, "Areas\\Broken.gif", 0, 0, 0), 9);
  ASSERT_EQ(run.boxes.Shown().size(), 1u);
  EXPECT_TRUE(run.boxes.Shown()[0].text.ends_with(" Unable to load 'Areas\\Broken.gif'."))
      << run.boxes.Shown()[0].text;
  EXPECT_TRUE(G().Form().FindArray("AniGifBox")->Exists(9));
  EXPECT_FALSE(Gif(9).Playing());
  // Removing a pair takes both controls of its index.
  A().AniGifUpdate(1, "", 0);
  EXPECT_EQ(A().Player(1), nullptr);
  EXPECT_FALSE(G().Form().FindArray("AniGifBox")->Exists(1));
}

TEST_F(Animations, StillOfTheFrameShowsTheFirstImage) {
  run.Wait(150);
  ASSERT_EQ(Gif(1).FrameIndex(), 1u);
  draw::Surface still = CaptureCurrentFrame(G(), [this](int k) { return A().FirstImage(k); });
  EXPECT_EQ(still.GetPixel(102 + 5, 82 + 3), draw::OpaquePixel(250, 250, 250));
}

}  // namespace
}  // namespace sl
