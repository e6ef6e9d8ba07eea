// Screenshots: the active window's last frame written as a PNG that decodes to the same pixels.
#include <gtest/gtest.h>

#include <filesystem>

#include "headless_fixture.h"
#include "support/temp_folder.h"
#include "ui/draw/png_io.h"

namespace sl {
namespace {

namespace fs = std::filesystem;

TEST(HeadlessScreenshot, WritesTheActiveWindowsFrameAsPng) {
  test::TempFolder folder;
  fs::path dir = folder.Path();
  test::HeadlessRun run("wait 10\nscreenshot " + (dir / "shot.png").string() + "\n");
  auto& p = run.platform;
  ui::WindowId back = p.CreateWindow({"Game", "", 0, 0, 4, 3});
  ui::WindowId front = p.CreateWindow({"frmSaveGame", "", 0, 0, 3, 2});
  // A 3 x 2 frame with a padded stride, every pixel different.
  constexpr int kStride = 3 * 4 + 8;
  std::vector<std::uint8_t> pixels(kStride * 2, 0xEE);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      std::uint8_t* px = &pixels[y * kStride + x * 4];
      px[0] = static_cast<std::uint8_t>(40 * x);
      px[1] = static_cast<std::uint8_t>(100 * y);
      px[2] = 200;
      px[3] = 255;
    }
  std::vector<std::uint8_t> other(4 * 3 * 4, 0x10);
  p.Present(back, {other.data(), 4, 3, 16, 0});
  p.Present(front, {pixels.data(), 3, 2, kStride, 0});
  p.ShowWindow(back, true);
  p.ShowWindow(front, true);
  p.ActivateWindow(front);
  run.Run();
  draw::Surface shot = draw::LoadPng(dir / "shot.png");
  ASSERT_EQ(shot.Width(), 3);
  ASSERT_EQ(shot.Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      draw::Pixel px = shot.GetPixel(x, y);
      EXPECT_EQ(draw::PixelRed(px), 40 * x) << x << "," << y;
      EXPECT_EQ(draw::PixelGreen(px), 100 * y) << x << "," << y;
      EXPECT_EQ(draw::PixelBlue(px), 200);
    }
  EXPECT_TRUE(run.warnings.empty());
}

TEST(HeadlessScreenshot, NothingToTakeIsAWarningNotAFailure) {
  test::TempFolder folder;
  fs::path file = folder / "none.png";
  test::HeadlessRun run("screenshot " + file.string() + "\n");
  ui::WindowId w = run.platform.CreateWindow({"frmWelcome", "", 0, 0, 10, 10});
  run.Run();
  run.platform.ShowWindow(w, true);
  EXPECT_FALSE(run.platform.Screenshot(file.string(), 7));  // shown but never drawn
  EXPECT_FALSE(fs::exists(file));
  ASSERT_EQ(run.warnings.size(), 2u);
  EXPECT_EQ(run.warnings[0], "events.txt:1: screenshot " + file.string() + ": no window is shown");
  EXPECT_EQ(run.warnings[1], "events.txt:7: screenshot " + file.string() +
                                 ": window frmWelcome has not been drawn yet");
}

}  // namespace
}  // namespace sl
