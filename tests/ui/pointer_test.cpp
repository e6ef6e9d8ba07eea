// The pointer shown where the pointer stands still: updated when what lies under it changes,
// and the arrow over menus, message boxes and the windows a modal one holds back.
#include <gtest/gtest.h>

#include "ui/controls/image.h"
#include "ui/controls/menu.h"
#include "ui/standard_dialogs.h"
#include "ui/timer.h"
#include "ui/ui_fixture.h"

namespace sl::ui::test {
namespace {

using PointerTest = UiFixture;

TEST_F(PointerTest, APointerChangesWithoutAMoveWhenAControlAppearsOrGoesUnderIt) {
  form->Show();
  auto& spot = Place(form->Add<Image>("Spot"), 40, 40, 20, 20);
  spot.SetMousePointer(2);
  spot.SetVisible(false);
  Mouse(InputKind::MouseMove, 50, 50, 0);
  EXPECT_EQ(platform.cursor, 0);
  spot.SetVisible(true);
  wm.Loop().DoEvents();
  EXPECT_EQ(platform.cursor, 2);
  EXPECT_EQ(wm.ControlUnderPointer(), &spot);
  // Moved away from the still pointer, and back.
  Place(spot, 100, 100, 20, 20);
  wm.Loop().DoEvents();
  EXPECT_EQ(platform.cursor, 0);
  Place(spot, 45, 45, 20, 20);
  wm.Loop().DoEvents();
  EXPECT_EQ(platform.cursor, 2);
  spot.SetVisible(false);
  wm.Loop().DoEvents();
  EXPECT_EQ(platform.cursor, 0);
}

TEST_F(PointerTest, MenusShowTheArrow) {
  Menu& file = form->AddMenu("mnuFile");
  file.SetCaption("&File");
  form->AddMenu("mnuOpen", &file).SetCaption("&Open");
  form->Show();
  form->SetMousePointer(2);
  int bar = form->NonClientPixels().menuBar;
  ASSERT_GT(bar, 0);
  InputEvent move;
  move.kind = InputKind::MouseMove;
  move.space = CoordSpace::Frame;
  move.x = 100;
  move.y = bar + 100;
  platform.Post(move);
  wm.Loop().DoEvents();
  EXPECT_EQ(platform.cursor, 2);
  move.y = bar / 2;  // on the bar
  platform.Post(move);
  wm.Loop().DoEvents();
  EXPECT_EQ(platform.cursor, WindowManager::kArrowPointer);
  // Even with the screen-wide pointer set by the program.
  wm.SetScreenPointer(11);
  EXPECT_EQ(platform.cursor, WindowManager::kArrowPointer);
  move.y = bar + 100;
  platform.Post(move);
  wm.Loop().DoEvents();
  EXPECT_EQ(platform.cursor, 11);
}

TEST_F(PointerTest, MessageBoxesAndTheWindowsTheyHoldBackShowTheArrow) {
  form->Show();
  auto& spot = Place(form->Add<Image>("Spot"), 0, 0, 640, 480);
  spot.SetMousePointer(2);
  Mouse(InputKind::MouseMove, 50, 50, 0);
  ASSERT_EQ(platform.cursor, 2);
  StandardDialogs dialogs(wm);
  int whileShown = -1, overTheBox = -1;
  Timer probe(wm.Loop());
  probe.SetInterval(10);
  int step = 0;
  probe.SetHandler([&] {
    if (step++ == 0) {
      whileShown = platform.cursor;  // the pointer still stands over the game
      InputEvent move;
      move.kind = InputKind::MouseMove;
      move.space = CoordSpace::Client;
      move.x = 5;
      move.y = 5;
      move.window = wm.ActiveForm()->Window();
      platform.Post(move);
      return;
    }
    overTheBox = platform.cursor;
    probe.SetEnabled(false);
    InputEvent enter;
    enter.kind = InputKind::KeyDown;
    enter.keyCode = kKeyReturn;
    platform.Post(enter);
  });
  wm.SetScreenPointer(11);
  MessageBoxRequest box;
  box.title = "Lighthouse";
  box.text = "The door is locked.";
  dialogs.Show(box);
  EXPECT_EQ(whileShown, WindowManager::kArrowPointer);
  EXPECT_EQ(overTheBox, WindowManager::kArrowPointer);
  // The box gone, the program's pointer is back.
  EXPECT_EQ(platform.cursor, 11);
}

}  // namespace
}  // namespace sl::ui::test
