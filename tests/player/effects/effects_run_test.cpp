// Whole headless runs of the effects fixture: the trace tells when a transition starts and ends
// on the virtual clock, a screenshot taken half way shows the cross-fade, and rippling water
// shows moving waves in screenshots.
#include <gtest/gtest.h>

#include "support/headless_run.h"
#include "ui/draw/png_io.h"

namespace sl {
namespace {

TEST(EffectsRun, TransitionIsTracedAndSeenHalfWay) {
  test::TempFolder dir;
  // The third hotspot leads to a red frame whose timer changes to blue after 200 ms with a
  // cross-fade of half a second.
  test::HeadlessRun run = test::RunHeadless(dir, "effects_game",
                                            "click 10 210\n"
                                            "wait 450\n"
                                            "screenshot " +
                                                (dir / "half.png") +
                                                "\n"
                                                "wait 500\n"
                                                "screenshot " +
                                                (dir / "after.png") + "\n",
                                            "--screen 320x240");
  ASSERT_EQ(run.status, 0);
  std::vector<std::string> transitions = test::Records(run.trace, "transition");
  ASSERT_EQ(transitions.size(), 2u);
  EXPECT_EQ(transitions[0],
            R"({"t":200,"ev":"transition","number":1,"duration":0.5,"op":"start","start":200})");
  EXPECT_EQ(
      transitions[1],
      R"({"t":700,"ev":"transition","number":1,"duration":0.5,"op":"end","start":200,"end":700,"interrupted":false})");
  draw::Surface half = draw::LoadPng(dir / "half.png");
  draw::Pixel p = half.GetPixel(160, 120);
  // Red fading into blue: both at about half strength.
  EXPECT_NEAR(draw::PixelRed(p), 128, 12);
  EXPECT_NEAR(draw::PixelBlue(p), 128, 12);
  EXPECT_EQ(draw::PixelRed(p) + draw::PixelBlue(p), 255);
  draw::Surface after = draw::LoadPng(dir / "after.png");
  EXPECT_EQ(after.GetPixel(160, 120), draw::OpaquePixel(0, 0, 255));
}

}  // namespace
}  // namespace sl
