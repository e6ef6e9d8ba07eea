// The real desktop under a private Xvfb: presented frames read back from the renderer against
// the frame the headless run shows, full screen and its scaling, pointer mapping, keys, modal
// windows, text, waiting without spinning, the sound device, the screenshot key, and what the
// window manager learns of the windows (dialog type, class, title).
#include "backend/sdl/sdl_platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "sdl/xvfb_display.h"
#include "support/temp_folder.h"
#include "ui/draw/image_compare.h"
#include "ui/draw/png_io.h"
#include "ui/draw/surface.h"
#include "ui/fake_platform.h"

// Last, as Xlib's macros (None) would clash with the names above.
#include "sdl/x11_user.h"
#undef None

namespace sl::sdl {
namespace {

// A frame with hard edges, single-pixel details and a gradient: scaling faults show in it.
draw::Surface TestFrame(int w, int h) {
  draw::Surface s(w, h, draw::OpaquePixel(20, 40, 60));
  for (int x = 0; x < w; ++x) {
    s.FillRect({x, 0, 1, h / 4}, draw::OpaquePixel(static_cast<std::uint8_t>(x * 255 / w), 128,
                                                   static_cast<std::uint8_t>(255 - x * 255 / w)));
  }
  s.FillRect({w / 4, h / 3, w / 2, h / 3}, draw::OpaquePixel(250, 220, 0));
  for (int i = 0; i < w; i += 3)
    s.SetPixel(i, h - 2, draw::kWhite);
  s.SetPixel(0, h - 1, draw::OpaquePixel(255, 0, 0));
  s.SetPixel(w - 1, h - 1, draw::OpaquePixel(0, 255, 0));
  return s;
}

ui::FrameView View(const draw::Surface& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.Row(0)), s.Width(), s.Height(), s.Width() * 4, 0};
}

// The frame pixels of a read-back drawable: the centre of each frame pixel's area.
draw::Surface Unscale(const draw::Surface& shown, const Placement& p, int w, int h) {
  draw::Surface out(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int sx = p.dest.x + static_cast<int>((x + 0.5) * p.scale);
      int sy = p.dest.y + static_cast<int>((y + 0.5) * p.scale);
      out.SetPixel(x, y, shown.GetPixel(sx, sy));
    }
  }
  return out;
}

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    xvfb_ = std::make_unique<test::XvfbDisplay>();
    if (!xvfb_->Installed()) GTEST_SKIP() << "skipped: " << xvfb_->Reason();
    ASSERT_TRUE(xvfb_->Available()) << xvfb_->Reason();
    SdlOptions options;
    options.display = {640, 480};
    platform_ = std::make_unique<SdlPlatform>(settings_, options);
  }
  void TearDown() override {
    platform_.reset();
    xvfb_.reset();
  }

  // Lets the window system settle (map, resize) and drops what input that produced.
  void Settle() {
    platform_->WaitEvent(platform_->GetClock().MonotonicMs() + 150);
    ui::InputEvent e;
    while (platform_->PollEvent(e)) {
    }
  }

  ui::WindowId Open(ui::WindowSpec spec) {
    ui::WindowId id = platform_->CreateWindow(spec);
    platform_->ShowWindow(id, true);
    Settle();
    return id;
  }

  void PushMouse(ui::WindowId w, Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT,
                 Uint8 clicks = 1) {
    SDL_Event ev{};
    ev.type = type;
    ev.button.windowID = platform_->NativeId(w);
    ev.button.button = button;
    ev.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    ev.button.clicks = clicks;
    ev.button.x = x;
    ev.button.y = y;
    SDL_PushEvent(&ev);
  }
  void PushKey(ui::WindowId w, Uint32 type, SDL_Keycode sym, SDL_Scancode scan, Uint16 mod = 0) {
    SDL_Event ev{};
    ev.type = type;
    ev.key.windowID = platform_->NativeId(w);
    ev.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    ev.key.keysym.sym = sym;
    ev.key.keysym.scancode = scan;
    ev.key.keysym.mod = mod;
    SDL_PushEvent(&ev);
  }
  // The pending input, without the pointer moves that windows appearing or resizing under the
  // pointer cause.
  std::vector<ui::InputEvent> Drain() {
    std::vector<ui::InputEvent> out;
    ui::InputEvent e;
    while (platform_->PollEvent(e)) {
      if (e.kind != ui::InputKind::MouseMove) out.push_back(e);
    }
    return out;
  }

  std::unique_ptr<test::XvfbDisplay> xvfb_;
  ui::test::FakeSettings settings_;
  std::unique_ptr<SdlPlatform> platform_;
};

ui::WindowSpec Spec(int left, int top, int w, int h, ui::WindowFrame frame) {
  ui::WindowSpec s;
  s.name = "frmTest";
  s.title = "Test";
  s.left = left;
  s.top = top;
  s.width = w;
  s.height = h;
  s.frame = frame;
  return s;
}

TEST_F(DesktopTest, PresentedFrameMatchesTheHeadlessFrame) {
  // 640x480 virtual on a 1280x1024 screen: windows are shown at twice their size.
  EXPECT_EQ(platform_->Desktop().scale, 2);
  ui::WindowId w = Open(Spec(220, 165, 200, 150, ui::WindowFrame::Fixed));
  draw::Surface frame = TestFrame(200, 150);
  platform_->Present(w, View(frame));
  draw::Surface shown = platform_->ReadBack(w);
  ASSERT_EQ(shown.Width(), 400);
  ASSERT_EQ(shown.Height(), 300);
  Placement p = platform_->PlacementOf(w);
  EXPECT_EQ(p.scale, 2);
  EXPECT_EQ(p.dest, (PixelRect{0, 0, 400, 300}));
  // Every shown pixel is its frame pixel, repeated: sharp, no blending between neighbours.
  draw::CompareResult r = draw::CompareImages(Unscale(shown, p, 200, 150), frame, {0, 0.0});
  EXPECT_TRUE(r.match) << r.Describe();
  EXPECT_EQ(shown.GetPixel(1, 299), draw::OpaquePixel(255, 0, 0));
  EXPECT_EQ(shown.GetPixel(0, 298), draw::OpaquePixel(255, 0, 0));
}

TEST_F(DesktopTest, BorderlessWindowCoveringTheDisplayIsFullScreenAndLetterboxed) {
  ui::WindowId w = Open(Spec(0, 0, 640, 480, ui::WindowFrame::None));
  EXPECT_TRUE(platform_->IsFullscreen(w));
  draw::Surface frame = TestFrame(640, 480);
  platform_->Present(w, View(frame));
  Settle();
  draw::Surface shown = platform_->ReadBack(w);
  ASSERT_EQ(shown.Width(), 1280);
  ASSERT_EQ(shown.Height(), 1024);
  Placement p = platform_->PlacementOf(w);
  EXPECT_EQ(p.scale, 2);
  EXPECT_EQ(p.dest, (PixelRect{0, 32, 1280, 960}));
  EXPECT_EQ(shown.GetPixel(640, 10), draw::kBlack);    // letterbox above
  EXPECT_EQ(shown.GetPixel(640, 1010), draw::kBlack);  // and below
  draw::CompareResult r = draw::CompareImages(Unscale(shown, p, 640, 480), frame, {0, 0.0});
  EXPECT_TRUE(r.match) << r.Describe();

  // The pointer maps back through the letterbox to the game's pixels.
  PushMouse(w, SDL_MOUSEBUTTONDOWN, 1, 33);
  PushMouse(w, SDL_MOUSEBUTTONUP, 1279, 991);
  auto events = Drain();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, ui::InputKind::MouseDown);
  EXPECT_EQ(events[0].window, w);
  EXPECT_EQ(events[0].x, 0);
  EXPECT_EQ(events[0].y, 0);
  EXPECT_EQ(events[0].button, ui::kButtonLeft);
  EXPECT_EQ(events[1].kind, ui::InputKind::MouseUp);
  EXPECT_EQ(events[1].x, 639);
  EXPECT_EQ(events[1].y, 479);
}

TEST_F(DesktopTest, AltEnterAndF11ToggleFullScreenWithoutReachingTheProgram) {
  ui::WindowId w = Open(Spec(120, 90, 400, 300, ui::WindowFrame::Fixed));
  EXPECT_FALSE(platform_->IsFullscreen(w));
  PushKey(w, SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
  PushKey(w, SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
  EXPECT_TRUE(Drain().empty());
  EXPECT_TRUE(platform_->IsFullscreen(w));
  PushKey(w, SDL_KEYDOWN, SDLK_F11, SDL_SCANCODE_F11);
  PushKey(w, SDL_KEYUP, SDLK_F11, SDL_SCANCODE_F11);
  EXPECT_TRUE(Drain().empty());
  EXPECT_FALSE(platform_->IsFullscreen(w));
  // Back in its window, at twice its size again, the frame fills it.
  draw::Surface frame = TestFrame(400, 300);
  platform_->Present(w, View(frame));
  Settle();
  draw::Surface shown = platform_->ReadBack(w);
  EXPECT_EQ(shown.Width(), 800);
  EXPECT_EQ(shown.Height(), 600);
  EXPECT_EQ(platform_->PlacementOf(w).scale, 2);
  // Other keys arrive in classic codes with the shift state.
  PushKey(w, SDL_KEYDOWN, SDLK_F5, SDL_SCANCODE_F5, KMOD_LSHIFT | KMOD_RCTRL);
  PushKey(w, SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
  PushKey(w, SDL_KEYUP, SDLK_s, SDL_SCANCODE_S, KMOD_LCTRL);
  auto events = Drain();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, ui::InputKind::KeyDown);
  EXPECT_EQ(events[0].keyCode, 116);
  EXPECT_EQ(events[0].shift, ui::kShiftMask | ui::kCtrlMask);
  EXPECT_EQ(events[0].window, w);
  EXPECT_EQ(events[1].keyCode, 27);
  EXPECT_EQ(events[2].kind, ui::InputKind::KeyUp);
  EXPECT_EQ(events[2].keyCode, 'S');
  EXPECT_EQ(events[2].shift, ui::kCtrlMask);
}

TEST_F(DesktopTest, ModalWindowTakesTheInputUntilHidden) {
  ui::WindowId game = Open(Spec(0, 0, 320, 240, ui::WindowFrame::Fixed));
  ui::WindowSpec box = Spec(100, 100, 120, 60, ui::WindowFrame::Dialog);
  box.modal = true;
  ui::WindowId dialog = Open(box);
  PushMouse(game, SDL_MOUSEBUTTONDOWN, 10, 10);
  PushKey(game, SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A);
  PushMouse(dialog, SDL_MOUSEBUTTONDOWN, 20, 20, SDL_BUTTON_RIGHT);
  auto events = Drain();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].window, dialog);
  EXPECT_EQ(events[0].button, ui::kButtonRight);
  EXPECT_EQ(events[0].x, 10);  // window units at scale 2
  platform_->ShowWindow(dialog, false);
  PushMouse(game, SDL_MOUSEBUTTONDOWN, 10, 10, SDL_BUTTON_MIDDLE, 2);
  events = Drain();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].window, game);
  EXPECT_EQ(events[0].button, ui::kButtonMiddle);
  EXPECT_EQ(events[0].clicks, 2);
}

TEST_F(DesktopTest, TypedTextAndCloseRequests) {
  ui::WindowId w = Open(Spec(0, 0, 320, 240, ui::WindowFrame::Fixed));
  SDL_Event ev{};
  ev.type = SDL_TEXTINPUT;
  ev.text.windowID = platform_->NativeId(w);
  std::strcpy(ev.text.text, "\xc3\xa9t\xc3\xa9");
  SDL_PushEvent(&ev);
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  close.window.windowID = platform_->NativeId(w);
  SDL_PushEvent(&close);
  auto events = Drain();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, ui::InputKind::Text);
  EXPECT_EQ(events[0].text, "\xc3\xa9t\xc3\xa9");
  EXPECT_EQ(events[1].kind, ui::InputKind::CloseWindow);
  EXPECT_EQ(events[1].window, w);
}

TEST_F(DesktopTest, WaitingSleepsUntilTheDeadlineOrAnEvent) {
  ui::WindowId w = Open(Spec(0, 0, 320, 240, ui::WindowFrame::Fixed));
  Clock& clock = platform_->GetClock();
  std::int64_t before = platform_->SleepCount();
  std::int64_t start = clock.MonotonicMs();
  platform_->WaitEvent(start + 200);
  EXPECT_GE(clock.MonotonicMs(), start + 200);
  // One sleep, or a few when the window system woke it: never a polling loop.
  EXPECT_LE(platform_->SleepCount() - before, 5);
  // A pending event ends the wait at once.
  PushKey(w, SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE);
  platform_->WaitEvent(clock.MonotonicMs() + 60000);
  ui::InputEvent e;
  ASSERT_TRUE(platform_->PollEvent(e));
  EXPECT_EQ(e.keyCode, 32);
  // A deadline already passed returns at once.
  before = platform_->SleepCount();
  platform_->WaitEvent(clock.MonotonicMs() - 1);
  EXPECT_EQ(platform_->SleepCount(), before);
}

TEST_F(DesktopTest, DisplaySizeIsVirtual) {
  EXPECT_EQ(platform_->DisplaySize(), (ui::Size{640, 480}));
  EXPECT_FALSE(platform_->SetDisplaySize({0, 480}));
  EXPECT_EQ(platform_->DisplaySize(), (ui::Size{640, 480}));
  ASSERT_TRUE(platform_->SetDisplaySize({1024, 768}));
  EXPECT_EQ(platform_->Desktop().scale, 1);
  // The real screen keeps its mode.
  SDL_DisplayMode mode;
  ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &mode), 0);
  EXPECT_EQ(mode.w, 1280);
  EXPECT_EQ(mode.h, 1024);
}

TEST_F(DesktopTest, CustomCursorsAndSystemCursors) {
  Open(Spec(0, 0, 320, 240, ui::WindowFrame::Fixed));
  SDL_Cursor* before = SDL_GetCursor();
  ui::CursorImage image;
  image.width = image.height = 16;
  image.hotX = 8;
  image.hotY = 8;
  image.rgba.assign(16 * 16 * 4, 255);
  platform_->SetCursor(99, &image);
  SDL_Cursor* custom = SDL_GetCursor();
  EXPECT_NE(custom, before);
  platform_->SetCursor(99, &image);  // the same image again: kept, not rebuilt
  EXPECT_EQ(SDL_GetCursor(), custom);
  platform_->SetCursor(11, nullptr);
  EXPECT_NE(SDL_GetCursor(), custom);
  platform_->SetCursor(99, nullptr);  // no image: the default pointer
}

TEST_F(DesktopTest, SoundDevicePullsFromTheSourceUntilStopped) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ui::AudioOutput* audio = platform_->Audio();
  ASSERT_NE(audio, nullptr) << SDL_GetError();
  EXPECT_EQ(platform_->Audio(), audio);  // opened once
  EXPECT_GT(audio->SampleRate(), 0);
  EXPECT_EQ(audio->Channels(), 2);
  std::atomic<int> calls{0};
  audio->Start(
      [](void* user, float* out, int frames) {
        ++*static_cast<std::atomic<int>*>(user);
        for (int i = 0; i < frames * 2; ++i)
          out[i] = 0;
      },
      &calls);
  Clock& clock = platform_->GetClock();
  std::int64_t end = clock.MonotonicMs() + 5000;
  while (calls == 0 && clock.MonotonicMs() < end)
    SDL_Delay(10);
  audio->Stop();
  int after = calls;
  EXPECT_GT(after, 0);
  SDL_Delay(100);
  EXPECT_EQ(calls, after);
}

TEST_F(DesktopTest, F12SavesTheGamesPixelsAndSaysWhere) {
  test::TempFolder pictures;
  const char* before = std::getenv("XDG_PICTURES_DIR");
  std::string saved = before ? before : "";
  setenv("XDG_PICTURES_DIR", pictures.Path().c_str(), 1);
  ui::WindowId w = Open(Spec(120, 90, 200, 150, ui::WindowFrame::Fixed));
  draw::Surface frame = TestFrame(200, 150);
  platform_->Present(w, View(frame));
  PushKey(w, SDL_KEYDOWN, SDLK_F12, SDL_SCANCODE_F12);
  PushKey(w, SDL_KEYUP, SDLK_F12, SDL_SCANCODE_F12);
  auto events = Drain();
  if (before) {
    setenv("XDG_PICTURES_DIR", saved.c_str(), 1);
  } else {
    unsetenv("XDG_PICTURES_DIR");
  }
  // The key does not reach the game; the runtime is told where the picture went.
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, ui::InputKind::Notice);
  EXPECT_EQ(events[0].window, w);
  std::filesystem::path folder = std::filesystem::path(pictures.Path()) / "storyloom";
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files.push_back(entry.path());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(events[0].text, "Screenshot saved to " + files[0].string());
  EXPECT_EQ(files[0].extension(), ".png");
  // The game's own pixels at the game's size, not the window's scaled ones.
  draw::CompareResult r = draw::CompareImages(draw::LoadPng(files[0]), frame, {0, 0.0});
  EXPECT_TRUE(r.match) << r.Describe();
  // With a modifier it is the game's key.
  PushKey(w, SDL_KEYDOWN, SDLK_F12, SDL_SCANCODE_F12, KMOD_LSHIFT);
  events = Drain();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, ui::InputKind::KeyDown);
  EXPECT_EQ(events[0].keyCode, ui::kKeyF1 + 11);
}

TEST_F(DesktopTest, DialogsAreDialogWindowsAndAllWindowsCarryTheProgramsClass) {
  ui::WindowId game = Open(Spec(0, 0, 320, 240, ui::WindowFrame::Fixed));
  ui::WindowSpec box = Spec(100, 100, 120, 60, ui::WindowFrame::Dialog);
  box.modal = true;
  ui::WindowId dialog = Open(box);
  test::X11User gameUser(SDL_GetWindowFromID(platform_->NativeId(game)));
  test::X11User dialogUser(SDL_GetWindowFromID(platform_->NativeId(dialog)));
  if (!dialogUser.Available()) GTEST_SKIP() << "skipped: libXtst is not installed";
  EXPECT_EQ(dialogUser.AtomProperty("_NET_WM_WINDOW_TYPE"),
            std::vector<std::string>{"_NET_WM_WINDOW_TYPE_DIALOG"});
  EXPECT_EQ(gameUser.AtomProperty("_NET_WM_WINDOW_TYPE"),
            std::vector<std::string>{"_NET_WM_WINDOW_TYPE_NORMAL"});
  EXPECT_EQ(gameUser.StringProperty("WM_CLASS"), std::string("storyloom\0storyloom\0", 20));
  EXPECT_EQ(dialogUser.StringProperty("WM_CLASS"), std::string("storyloom\0storyloom\0", 20));
  // The window manager learns the title given, also when it changes.
  EXPECT_EQ(gameUser.StringProperty("_NET_WM_NAME"), "Test");
  ui::WindowSpec renamed = Spec(0, 0, 320, 240, ui::WindowFrame::Fixed);
  renamed.title = "The Lighthouse";
  platform_->UpdateWindow(game, renamed);
  EXPECT_EQ(gameUser.StringProperty("_NET_WM_NAME"), "The Lighthouse");
}

}  // namespace
}  // namespace sl::sdl
