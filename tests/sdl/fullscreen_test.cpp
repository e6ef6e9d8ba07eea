// Full screen on a desktop with a window manager (openbox under a private Xvfb): the round trip
// keeps the pointer over the same game pixel and brings the window back exactly where it was;
// the choice is reported so it can be remembered; the scaling modes at 1.6x.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "backend/sdl/sdl_platform.h"
#include "sdl/openbox_session.h"
#include "sdl/x11_user.h"
#include "sdl/xvfb_display.h"
#include "ui/draw/color.h"
#include "ui/draw/png_io.h"
#include "ui/draw/surface.h"
#include "ui/fake_platform.h"

// Xlib's None would stand in for ui::WindowFrame::None.
#undef None

namespace sl::sdl {
namespace {

struct WindowPlace {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const WindowPlace&, const WindowPlace&) = default;
};

class FullscreenTest : public ::testing::Test {
 protected:
  void Start(const std::string& screen, ui::Size display, SdlOptions options) {
    xvfb_ = std::make_unique<test::XvfbDisplay>(screen);
    if (!xvfb_->Installed()) GTEST_SKIP() << "skipped: " << xvfb_->Reason();
    ASSERT_TRUE(xvfb_->Available()) << xvfb_->Reason();
    openbox_ = std::make_unique<test::OpenboxSession>();
    if (!openbox_->Installed()) GTEST_SKIP() << "skipped: openbox is not installed";
    ASSERT_TRUE(openbox_->Running());
    options.display = display;
    options.fullscreenChosen = [this](bool full) { chosen_.push_back(full); };
    platform_ = std::make_unique<SdlPlatform>(settings_, options);
  }
  void TearDown() override {
    platform_.reset();
    openbox_.reset();
    xvfb_.reset();
  }
  // Lets the window manager do its part (map, frame, resize, move) and drops the input.
  void Settle(int ms = 400) {
    std::int64_t end = platform_->GetClock().MonotonicMs() + ms;
    while (platform_->GetClock().MonotonicMs() < end) {
      platform_->WaitEvent(end);
      ui::InputEvent e;
      while (platform_->PollEvent(e)) {
      }
    }
  }
  SDL_Window* Native(ui::WindowId id) { return SDL_GetWindowFromID(platform_->NativeId(id)); }
  WindowPlace Place(ui::WindowId id) {
    WindowPlace p;
    SDL_GetWindowPosition(Native(id), &p.x, &p.y);
    SDL_GetWindowSize(Native(id), &p.w, &p.h);
    return p;
  }
  // The game pixel under the real pointer.
  PixelPoint PointerPixel(ui::WindowId id) {
    int gx = 0, gy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    WindowPlace p = Place(id);
    return WindowToFrame({gx - p.x, gy - p.y}, {p.w, p.h}, {p.w, p.h}, platform_->PlacementOf(id));
  }
  ui::WindowId OpenGame(ui::WindowFrame frame, int left, int top, int w, int h) {
    ui::WindowSpec s;
    s.name = kGameWindowName;
    s.title = "Lighthouse";
    s.left = left;
    s.top = top;
    s.width = w;
    s.height = h;
    s.frame = frame;
    ui::WindowId id = platform_->CreateWindow(s);
    platform_->ShowWindow(id, true);
    frame_ = draw::Surface(w, h, draw::OpaquePixel(0, 0, 0));
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x)
        if ((x / 4 + y / 4) % 2) frame_.SetPixel(x, y, draw::kWhite);
    }
    platform_->Present(id, {reinterpret_cast<const std::uint8_t*>(frame_.Row(0)), w, h, w * 4, 0});
    Settle();
    return id;
  }

  std::unique_ptr<test::XvfbDisplay> xvfb_;
  std::unique_ptr<test::OpenboxSession> openbox_;
  ui::test::FakeSettings settings_;
  std::unique_ptr<SdlPlatform> platform_;
  std::vector<bool> chosen_;
  draw::Surface frame_;
};

TEST_F(FullscreenTest, RoundTripsKeepThePointerOnItsPixelAndTheWindowInItsPlace) {
  ASSERT_NO_FATAL_FAILURE(Start("1280x1024x24", {640, 480}, {}));
  if (IsSkipped()) return;
  ui::WindowId game = OpenGame(ui::WindowFrame::Fixed, 100, 80, 200, 150);
  ASSERT_FALSE(platform_->IsFullscreen(game));
  WindowPlace before = Place(game);
  EXPECT_EQ(before.w, 400);  // twice its size on this screen
  test::X11User user(Native(game));
  ASSERT_TRUE(user.Available());
  // The pointer over game pixel (57, 33): real pixels (2 * 57 + 1, 2 * 33 + 1) into the window.
  user.MoveTo(before.x + 115, before.y + 67);
  Settle(100);
  ASSERT_EQ(PointerPixel(game), (PixelPoint{57, 33}));

  for (int trip = 0; trip < 2; ++trip) {
    platform_->ToggleFullscreen(game);
    Settle();
    EXPECT_TRUE(platform_->IsFullscreen(game));
    EXPECT_EQ(Place(game), (WindowPlace{0, 0, 1280, 1024})) << "trip " << trip;
    EXPECT_EQ(PointerPixel(game), (PixelPoint{57, 33})) << "full screen, trip " << trip;
    platform_->ToggleFullscreen(game);
    Settle();
    EXPECT_FALSE(platform_->IsFullscreen(game));
    WindowPlace after = Place(game);
    EXPECT_EQ(after, before) << "trip " << trip << ": " << after.x << "," << after.y << " "
                             << after.w << "x" << after.h;
    EXPECT_EQ(PointerPixel(game), (PixelPoint{57, 33})) << "window, trip " << trip;
  }
  EXPECT_EQ(chosen_, (std::vector<bool>{true, false, true, false}));
}

TEST_F(FullscreenTest, TheChosenStateHoldsForTheGameWindowWhateverItsFrame) {
  SdlOptions options;
  options.gameFullscreen = true;
  ASSERT_NO_FATAL_FAILURE(Start("1280x1024x24", {640, 480}, options));
  if (IsSkipped()) return;
  // A game window with a frame, made full screen as chosen.
  ui::WindowId game = OpenGame(ui::WindowFrame::Fixed, 100, 80, 200, 150);
  EXPECT_TRUE(platform_->IsFullscreen(game));
  EXPECT_EQ(Place(game), (WindowPlace{0, 0, 1280, 1024}));
  // Other windows keep theirs.
  ui::WindowSpec other;
  other.name = "frmSaveGame";
  other.left = 10;
  other.top = 10;
  other.width = 100;
  other.height = 80;
  ui::WindowId dialog = platform_->CreateWindow(other);
  platform_->ShowWindow(dialog, true);
  Settle();
  EXPECT_FALSE(platform_->IsFullscreen(dialog));
  EXPECT_TRUE(chosen_.empty());  // nothing the person playing did
}

TEST_F(FullscreenTest, ScalingModesAtOnePointSix) {
  for (ui::ScaleMode mode : {ui::ScaleMode::PixelPerfect, ui::ScaleMode::Smooth}) {
    SdlOptions options;
    options.scale = mode;
    ASSERT_NO_FATAL_FAILURE(Start("1024x768x24", {640, 480}, options));
    if (IsSkipped()) return;
    ui::WindowId game = OpenGame(ui::WindowFrame::None, 0, 0, 640, 480);
    ASSERT_TRUE(platform_->IsFullscreen(game));
    draw::Surface shown = platform_->ReadBack(game);
    ASSERT_EQ(shown.Width(), 1024);
    Placement p = platform_->PlacementOf(game);
    // The checkerboard's 4-pixel squares: sharp at 1x inside black borders, or blended at
    // their edges when filtered at 1.6x.
    int grey = 0;
    for (int x = 0; x < shown.Width(); ++x) {
      draw::Rgba c = draw::ToRgba(shown.GetPixel(x, 400));
      grey += c.r > 40 && c.r < 215;
    }
    if (mode == ui::ScaleMode::PixelPerfect) {
      EXPECT_EQ(p.scale, 1);
      EXPECT_EQ(p.dest, (PixelRect{192, 144, 640, 480}));
      EXPECT_EQ(grey, 0);
      EXPECT_EQ(shown.GetPixel(100, 400), draw::kBlack);  // the border
    } else {
      EXPECT_DOUBLE_EQ(p.scale, 1.6);
      EXPECT_EQ(p.dest, (PixelRect{0, 0, 1024, 768}));
      EXPECT_GT(grey, 50);
    }
    if (const char* dir = std::getenv("STORYLOOM_SCREENSHOT_DIR")) {
      draw::SavePng(
          shown, std::string(dir) + "/fullscreen-" + std::string(ui::ScaleModeName(mode)) + ".png");
    }
    TearDown();
  }
}

}  // namespace
}  // namespace sl::sdl
