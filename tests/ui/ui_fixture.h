// A window manager on a fake platform with one shown form of 640 x 480 client pixels, and
// helpers that send mouse events and let virtual time pass.
#pragma once

#include <gtest/gtest.h>

#include "ui/fake_platform.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl::ui::test {

struct UiFixture : ::testing::Test {
  FakePlatform platform;
  WindowManager wm{platform};
  Ref<Form> form = Form::Create(wm, "frmTest");

  UiFixture() {
    form->SetBorderStyle(BorderStyle::None);
    form->Move(0, 0, 640 * 15, 480 * 15);
  }
  ~UiFixture() override {
    form->Unload();
    wm.RemoveForm(form.get());
  }

  // Places a control at pixel coordinates of its container.
  template <class T>
  static T& Place(T& c, int x, int y, int w, int h) {
    c.Move(x * 15.0, y * 15.0, w * 15.0, h * 15.0);
    return c;
  }
  void Mouse(InputKind kind, int x, int y, int button = kButtonLeft, int clicks = 1) {
    InputEvent e;
    e.kind = kind;
    e.space = CoordSpace::Client;
    e.x = x;
    e.y = y;
    e.button = button;
    e.clicks = clicks;
    platform.Post(e);
    wm.Loop().DoEvents();
  }
  void Click(int x, int y, int button = kButtonLeft) {
    Mouse(InputKind::MouseMove, x, y, 0);
    Mouse(InputKind::MouseDown, x, y, button);
    Mouse(InputKind::MouseUp, x, y, button);
  }
  void Key(int code, int shift = 0) {
    InputEvent e;
    e.kind = InputKind::KeyDown;
    e.keyCode = code;
    e.shift = shift;
    platform.Post(e);
    wm.Loop().DoEvents();
  }
};

}  // namespace sl::ui::test
