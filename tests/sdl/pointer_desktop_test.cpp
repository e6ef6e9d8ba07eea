// The window runtime on the real desktop (a private Xvfb, the real pointer and keys through
// XTEST): the pointer changes under a still mouse when a control appears there, and a message
// box answers its underlined access key.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "backend/sdl/sdl_platform.h"
#include "sdl/xvfb_display.h"
#include "ui/controls/image.h"
#include "ui/fake_platform.h"
#include "ui/form.h"
#include "ui/standard_dialogs.h"
#include "ui/timer.h"
#include "ui/window_manager.h"

// Last, as Xlib's macros (None) would clash with the names above.
#include "sdl/x11_user.h"
#undef None

namespace sl::sdl {
namespace {

struct DesktopForm {
  ui::test::FakeSettings settings;
  std::unique_ptr<SdlPlatform> platform;
  std::unique_ptr<ui::WindowManager> wm;
  Ref<ui::Form> form;

  DesktopForm() {
    SdlOptions options;
    options.display = {640, 480};
    platform = std::make_unique<SdlPlatform>(settings, options);
    wm = std::make_unique<ui::WindowManager>(*platform);
    form = ui::Form::Create(*wm, "frmTest");
    form->SetBorderStyle(ui::BorderStyle::None);
    form->Move(0, 0, 320 * 15, 240 * 15);
    form->Show();
    wm->Loop().Sleep(200);  // the window appears
  }
  ~DesktopForm() {
    form->Unload();
    wm->RemoveForm(form.get());
  }
  SDL_Window* Native() { return SDL_GetWindowFromID(platform->NativeId(form->Window())); }
};

TEST(PointerOnDesktop, TheCursorChangesUnderAStillPointer) {
  test::XvfbDisplay xvfb;
  if (!xvfb.Installed()) GTEST_SKIP() << "skipped: " << xvfb.Reason();
  ASSERT_TRUE(xvfb.Available()) << xvfb.Reason();
  DesktopForm d;
  auto& spot = d.form->Add<ui::Image>("Spot");
  spot.Move(40 * 15, 40 * 15, 40 * 15, 40 * 15);
  spot.SetMousePointer(2);  // the cross
  spot.SetVisible(false);
  test::X11User user(d.Native());
  if (!user.Available()) GTEST_SKIP() << "skipped: libXtst is not installed";
  int x = 0, y = 0;
  SDL_GetWindowPosition(d.Native(), &x, &y);
  // Game pixel (60, 60) at twice the size on this screen.
  user.MoveTo(x + 121, y + 121);
  d.wm->Loop().Sleep(200);
  SDL_Cursor* plain = SDL_GetCursor();
  EXPECT_EQ(d.wm->ShownPointer(), 0);

  // No mouse moves from here on: the spot appears under the pointer, then goes.
  spot.SetVisible(true);
  d.wm->Loop().DoEvents();
  EXPECT_EQ(d.wm->ShownPointer(), 2);
  SDL_Cursor* cross = SDL_GetCursor();
  EXPECT_NE(cross, plain);
  spot.SetVisible(false);
  d.wm->Loop().DoEvents();
  EXPECT_EQ(d.wm->ShownPointer(), 0);
  EXPECT_NE(SDL_GetCursor(), cross);
}

TEST(PointerOnDesktop, AMessageBoxAnswersItsAccessKey) {
  test::XvfbDisplay xvfb;
  if (!xvfb.Installed()) GTEST_SKIP() << "skipped: " << xvfb.Reason();
  ASSERT_TRUE(xvfb.Available()) << xvfb.Reason();
  DesktopForm d;
  test::X11User user(d.Native());
  if (!user.Available()) GTEST_SKIP() << "skipped: libXtst is not installed";
  ui::StandardDialogs dialogs(*d.wm);
  // Once the box is up, the user presses N over it (the key goes to the window under the
  // pointer on a display without a window manager).
  ui::Timer press(d.wm->Loop());
  press.SetInterval(300);
  press.SetHandler([&] {
    press.SetEnabled(false);
    user.MoveTo(640, 512);
    user.Key('n');
  });
  // Should the key not arrive, Esc is no way out of Yes/No: the box ends by a click later.
  ui::Timer giveUp(d.wm->Loop());
  giveUp.SetInterval(5000);
  giveUp.SetHandler([&] {
    giveUp.SetEnabled(false);
    ui::InputEvent click;
    click.kind = ui::InputKind::ControlAction;
    click.target = "Button1";
    ui::Form* box = d.wm->ActiveForm();
    if (box) d.wm->HandleInput(click);
  });
  MessageBoxRequest request;
  request.title = "Lighthouse";
  request.text = "Climb the stairs?";
  request.buttons = MsgButtons::YesNo;
  EXPECT_EQ(dialogs.Show(request), MsgAnswer::No);
}

}  // namespace
}  // namespace sl::sdl
