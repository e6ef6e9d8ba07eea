// The whole way through the real desktop: a form of the window runtime with text, a button and
// a check box, shown on the SDL platform under a private Xvfb and on the headless platform; the
// pixels read back from the desktop's renderer match the headless run's screenshot, and a click
// on the real window reaches the button.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "backend/headless/headless_platform.h"
#include "backend/headless/trace.h"
#include "backend/sdl/sdl_platform.h"
#include "sdl/xvfb_display.h"
#include "support/temp_folder.h"
#include "ui/controls/check_box.h"
#include "ui/controls/command_button.h"
#include "ui/controls/label.h"
#include "ui/draw/image_compare.h"
#include "ui/draw/png_io.h"
#include "ui/fake_platform.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl::sdl {
namespace {

// Builds the same small dialog on any platform.
struct Dialog {
  ui::WindowManager wm;
  Ref<ui::Form> form;
  int clicks = 0;

  explicit Dialog(ui::Platform& platform) : wm(platform), form(ui::Form::Create(wm, "frmTest")) {
    form->SetBorderStyle(ui::BorderStyle::FixedDialog);
    form->SetCaption("Storyloom");
    form->Move(150 * 15, 120 * 15, 320 * 15, 200 * 15);
    form->SetBackColor(0xC0C0C0);
    auto& label = form->Add<ui::Label>("lblText");
    label.SetCaption("The lighthouse keeper's key");
    label.SetForeColor(0x800000);
    label.Move(15 * 12, 15 * 12, 15 * 250, 15 * 20);
    auto& check = form->Add<ui::CheckBox>("chkOption");
    check.SetCaption("Remember");
    check.SetValue(1);
    check.Move(15 * 12, 15 * 50, 15 * 150, 15 * 20);
    auto& button = form->Add<ui::CommandButton>("cmdOK");
    button.SetCaption("OK");
    button.Move(15 * 100, 15 * 100, 15 * 90, 15 * 30);
    button.on.click = [this](ui::Control&) { ++clicks; };
    form->Show();
    wm.Loop().DoEvents();
  }
  ~Dialog() {
    form->Unload();
    wm.RemoveForm(form.get());
  }
};

TEST(FormOnDesktop, ScreenshotMatchesTheHeadlessRenderingAndClicksArrive) {
  test::XvfbDisplay xvfb;
  if (!xvfb.Installed()) GTEST_SKIP() << "skipped: " << xvfb.Reason();
  ASSERT_TRUE(xvfb.Available()) << xvfb.Reason();

  ui::test::FakeSettings settings;
  test::TempFolder dir;
  Trace trace;
  HeadlessOptions headlessOptions;
  headlessOptions.display = {640, 480};
  HeadlessPlatform headless(trace, settings, headlessOptions);
  Dialog expected(headless);
  ASSERT_TRUE(headless.Screenshot(dir / "headless.png"));
  draw::Surface reference = draw::LoadPng(dir / "headless.png");

  SdlOptions options;
  options.display = {640, 480};
  SdlPlatform desktop(settings, options);
  Dialog shown(desktop);
  shown.wm.Loop().Sleep(150);  // the window appears
  ui::WindowId id = 1;
  draw::Surface pixels = desktop.ReadBack(id);
  ASSERT_FALSE(pixels.Empty());
  Placement p = desktop.PlacementOf(id);
  EXPECT_EQ(p.scale, 2);  // 640x480 on 1280x1024
  draw::Surface unscaled(reference.Width(), reference.Height());
  for (int y = 0; y < unscaled.Height(); ++y) {
    for (int x = 0; x < unscaled.Width(); ++x) {
      unscaled.SetPixel(x, y,
                        pixels.GetPixel(p.dest.x + static_cast<int>((x + 0.5) * p.scale),
                                        p.dest.y + static_cast<int>((y + 0.5) * p.scale)));
    }
  }
  draw::CompareResult r = draw::CompareImages(unscaled, reference, {0, 0.0});
  EXPECT_TRUE(r.match) << r.Describe();

  // A click in the real window's coordinates, at the button's centre (145, 115) times 2.
  for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
    SDL_Event ev{};
    ev.type = type;
    ev.button.windowID = desktop.NativeId(id);
    ev.button.button = SDL_BUTTON_LEFT;
    ev.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    ev.button.clicks = 1;
    ev.button.x = p.dest.x + 145 * 2;
    ev.button.y = p.dest.y + 115 * 2;
    SDL_PushEvent(&ev);
  }
  shown.wm.Loop().DoEvents();
  EXPECT_EQ(shown.clicks, 1);
}

}  // namespace
}  // namespace sl::sdl
