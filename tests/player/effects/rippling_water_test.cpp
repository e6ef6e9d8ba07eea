// Rippling water in play, in-process on the effects fixture: the settings file, the mask (the
// water moves only where it is dark), the ticks every 30 ms and the phase that grows with the
// time since the start (backwards when asked), frames without a mask or with a colour, and the
// switch with its setting.
#include <gtest/gtest.h>

#include "core/data_file_reader.h"
#include "player/effects/effects.h"
#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "ui/controls/menu.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/form.h"

namespace sl {
namespace {

TEST(WaveSettingsFile, TwelveFieldsRunForwardAndAThirteenthReverses) {
  DataFileReader twelve("1,2,3,4,5,6\r\n10,120,300,100\r\n7,5\r\n");
  WaveSettings s = ReadWaveSettings(twelve);
  EXPECT_EQ(s.left, 10);
  EXPECT_EQ(s.top, 120);
  EXPECT_EQ(s.width, 300);
  EXPECT_EQ(s.height, 100);
  EXPECT_EQ(s.waveParameter, 7);
  EXPECT_EQ(s.speed, 5);
  EXPECT_FALSE(s.reverse);
  DataFileReader thirteen("0,0,0,0,0,0\r\n0,0,8,8\r\n1,3\r\n#TRUE#\r\n");
  WaveSettings r = ReadWaveSettings(thirteen);
  EXPECT_TRUE(r.reverse);
  // The phase: ((speed + 2) / 10)^4 / 300 radians a millisecond, negative when reversed.
  WaveSettings forward = r;
  forward.reverse = false;
  EXPECT_DOUBLE_EQ(WavePhase(forward, 3000), 0.5 * 0.5 * 0.5 * 0.5 / 300 * 3000);
  EXPECT_DOUBLE_EQ(WavePhase(r, 3000), -WavePhase(forward, 3000));
  DataFileReader shortFile("0,0,0,0,0,0\r\n0,0,8\r\n");
  EXPECT_THROW(ReadWaveSettings(shortFile), RuntimeError);
}

TEST(WaterSurfaceModel, OnlyDarkMaskPixelsRipple) {
  draw::Surface original(40, 40);
  for (int y = 0; y < 40; ++y) {
    draw::Pixel* row = original.MutableRow(y);
    for (int x = 0; x < 40; ++x)
      row[x] =
          draw::OpaquePixel(static_cast<std::uint8_t>(x * 6), static_cast<std::uint8_t>(y * 6), 9);
  }
  draw::Surface mask(30, 40, draw::kBlack);  // narrower than the region: no water beyond it
  mask.FillRect({10, 10, 10, 10}, draw::kWhite);
  WaterSurface water;
  water.Prepare(original, mask);
  EXPECT_TRUE(water.IsWater(0, 0));
  EXPECT_FALSE(water.IsWater(12, 12));
  EXPECT_FALSE(water.IsWater(35, 5));
  int moved = 0;
  for (double phase : {0.3, 1.7, 2.9}) {
    water.Render(phase, 4);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        bool same = water.Image().GetPixel(x, y) == original.GetPixel(x, y);
        if (!water.IsWater(x, y)) {
          ASSERT_TRUE(same) << x << "," << y;
        }
        moved += !same;
      }
    }
  }
  EXPECT_GT(moved, 1000);
  // A wave parameter of 0 stills the water.
  water.Render(1.0, 0);
  EXPECT_EQ(water.Image(), original);
}

class Water : public ::testing::Test {
 protected:
  void SetUp() override {
    run.Start();
    ASSERT_EQ(run.G().CurrentFrameName, "Dock");
  }
  Game& G() { return run.G(); }
  RipplingWater& W() { return run.player->GetEffects().Water(); }
  ui::PictureBox& Surface() { return G().Form().Get<ui::PictureBox>("PicRipplingWater"); }
  void Open(const std::string& frame) { G().OpenFrame(frame); }

  test::GameRun run{"effects_game", {320, 240}};
};

TEST_F(Water, HarbourRipplesEvery30MsInsideItsMask) {
  Open("Harbour");
  ASSERT_TRUE(G().RipplingWaterActive);
  EXPECT_TRUE(Surface().Visible());
  EXPECT_TRUE(G().TimerRipplingWater().TimerEnabled());
  EXPECT_EQ(G().TimerRipplingWater().Interval(), 30);
  EXPECT_EQ(Surface().PixelBounds(), (draw::Rect{0, 120, 320, 120}));
  EXPECT_EQ(W().Settings().waveParameter, 6);
  EXPECT_FALSE(W().Settings().reverse);
  // The boat's white part of the mask never moves.
  const draw::Surface& image = W().Surface().Image();
  draw::Surface first = image;
  run.Wait(30);
  draw::Surface second = image;
  EXPECT_NE(first, second);
  for (int y = 0; y < 60; ++y) {
    for (int x = 200; x < 280; ++x)
      ASSERT_EQ(first.GetPixel(x, y), second.GetPixel(x, y));
  }
  // Each tick draws the wave of the time since the start: the same time gives the same water.
  std::int64_t since = W().VexelTime(0);
  EXPECT_EQ(since % 30, 0);
  run.Wait(10);
  EXPECT_EQ(image, second);  // no tick in between
  run.Wait(20);
  EXPECT_NE(image, second);
}

TEST_F(Water, ReversedWavesAndFramesWithoutWater) {
  Open("Backwards");
  EXPECT_TRUE(G().RipplingWaterActive);
  EXPECT_TRUE(W().Settings().reverse);
  Open("Pond");  // settings without a mask
  EXPECT_FALSE(G().RipplingWaterActive);
  EXPECT_FALSE(Surface().Visible());
  EXPECT_FALSE(G().TimerRipplingWater().TimerEnabled());
  Open("Red");
  EXPECT_FALSE(G().RipplingWaterActive);
  for (const auto& box : run.boxes.Shown())
    ADD_FAILURE() << box.text;
}

TEST_F(Water, SwitchTurnsTheWaterOffAndOnAndIsKept) {
  Open("Harbour");
  run.Menu("mnuDisableEffects");
  EXPECT_TRUE(G().Menu("mnuDisableEffects").Checked());
  EXPECT_FALSE(G().RipplingWaterActive);
  EXPECT_FALSE(Surface().Visible());
  EXPECT_FALSE(G().TimerRipplingWater().TimerEnabled());
  EXPECT_EQ(run.platform.settings.values.at("Software|FixtureEffects|DisableEffects"), "True");
  Open("Backwards");  // effects off: no water loads
  EXPECT_FALSE(G().RipplingWaterActive);
  run.Menu("mnuDisableEffects");
  EXPECT_TRUE(G().RipplingWaterActive);
  EXPECT_TRUE(Surface().Visible());
  EXPECT_TRUE(G().TimerRipplingWater().TimerEnabled());
  EXPECT_EQ(run.platform.settings.values.at("Software|FixtureEffects|DisableEffects"), "False");
  // On a frame with a colour, switching on loads nothing.
  Open("Red");
  run.Menu("mnuDisableEffects");
  run.Menu("mnuDisableEffects");
  EXPECT_FALSE(G().RipplingWaterActive);
}

TEST_F(Water, AStoppingGameOnlyStopsTheTimer) {
  Open("Harbour");
  draw::Surface before = W().Surface().Image();
  G().SetGameStopping();
  run.Wait(30);
  EXPECT_FALSE(G().TimerRipplingWater().TimerEnabled());
  EXPECT_EQ(W().Surface().Image(), before);
  G().ClearGameStopping();
}

}  // namespace
}  // namespace sl
