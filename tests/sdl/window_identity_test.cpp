// What the window manager learns of the program's windows under a private Xvfb: the window
// type of dialogs, the class every window carries, and titles as they change.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "backend/sdl/sdl_platform.h"
#include "sdl/x11_user.h"
#include "sdl/xvfb_display.h"
#include "ui/fake_platform.h"

namespace sl::sdl {
namespace {

class WindowIdentityTest : public ::testing::Test {
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
  ui::WindowId Open(const ui::WindowSpec& spec) {
    ui::WindowId id = platform_->CreateWindow(spec);
    platform_->ShowWindow(id, true);
    platform_->WaitEvent(platform_->GetClock().MonotonicMs() + 150);
    ui::InputEvent e;
    while (platform_->PollEvent(e)) {
    }
    return id;
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

TEST_F(WindowIdentityTest, DialogsAreDialogWindowsAndAllWindowsCarryTheProgramsClass) {
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
