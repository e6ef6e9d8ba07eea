// What the window runtime tells the desktop beyond the game's own pixels: notices shown over a
// form for a while, and the application title of windows without a caption.
#include <gtest/gtest.h>

#include "ui/timer.h"
#include "ui/ui_fixture.h"

namespace sl::ui::test {
namespace {

using DesktopFeedbackTest = UiFixture;

TEST_F(DesktopFeedbackTest, ANoticeShowsOverTheFormUntilItsTimeIsUp) {
  form->SetBackColor(0x000000);
  form->Show();
  wm.Loop().DoEvents();
  WindowId id = form->Window();
  auto whitePixels = [&] {
    const FakePlatform::Window& w = platform.windows.at(id);
    int n = 0;
    for (std::size_t i = 0; i + 3 < w.pixels.size(); i += 4)
      n += w.pixels[i] > 200 && w.pixels[i + 1] > 200;
    return n;
  };
  EXPECT_EQ(whitePixels(), 0);

  InputEvent notice;
  notice.kind = InputKind::Notice;
  notice.window = id;
  notice.text = "Screenshot saved to /home/player/Pictures/storyloom/a.png";
  platform.Post(notice);
  wm.Loop().DoEvents();
  EXPECT_EQ(wm.NoticeShowing(), notice.text);
  EXPECT_GT(whitePixels(), 0);  // the notice's pale box, over the black form

  // It goes by itself: the loop wakes for it, with no input.
  wm.Loop().Sleep(WindowManager::kNoticeShowMs - 100);
  EXPECT_EQ(wm.NoticeShowing(), notice.text);
  wm.Loop().Sleep(200);
  EXPECT_EQ(wm.NoticeShowing(), "");
  EXPECT_EQ(whitePixels(), 0);
}

TEST_F(DesktopFeedbackTest, ANoticeReachesAWindowBehindAModalOne) {
  form->Show();
  Ref<Form> box = Form::Create(wm, "frmBox");
  box->Move(100 * 15, 100 * 15, 200 * 15, 100 * 15);
  InputEvent notice;
  notice.kind = InputKind::Notice;
  notice.window = form->Window();
  notice.text = "saved";
  platform.Post(notice, 10);
  // The box's own loop takes the notice; the box closes a moment later.
  std::string shownMeanwhile;
  Timer probe(wm.Loop());
  probe.SetInterval(20);
  probe.SetHandler([&] {
    shownMeanwhile = wm.NoticeShowing();
    probe.SetEnabled(false);
    box->Hide();
  });
  box->Show(true);
  EXPECT_EQ(shownMeanwhile, "saved");
  // A form hidden takes its notice with it.
  EXPECT_EQ(wm.NoticeShowing(), "saved");
  form->Hide();
  EXPECT_EQ(wm.NoticeShowing(), "");
  box->Unload();
  wm.RemoveForm(box.get());
}

TEST_F(DesktopFeedbackTest, WindowsWithoutCaptionCarryTheApplicationTitle) {
  form->Show();
  Ref<Form> dialog = Form::Create(wm, "frmDialog");
  dialog->SetCaption("Save game");
  dialog->Show();
  wm.SetApplicationTitle("The Lighthouse");
  EXPECT_EQ(platform.windows.at(form->Window()).spec.title, "The Lighthouse");
  EXPECT_EQ(platform.windows.at(dialog->Window()).spec.title, "Save game");
  // The form's own caption, which scripts read, stays empty.
  EXPECT_EQ(form->Caption(), "");
  form->SetCaption("Chapter 1");
  EXPECT_EQ(platform.windows.at(form->Window()).spec.title, "Chapter 1");
  dialog->Unload();
  wm.RemoveForm(dialog.get());
}

}  // namespace
}  // namespace sl::ui::test
