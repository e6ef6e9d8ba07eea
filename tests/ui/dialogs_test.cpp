// Message box and input box: modal loops with timers running underneath, keys, button sets,
// default buttons, sizing to the text, and platform-supplied answers.
#include "ui/standard_dialogs.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/memory_growth.h"
#include "ui/controls/command_button.h"
#include "ui/timer.h"
#include "ui/ui_fixture.h"

namespace sl::ui {
namespace {

struct DialogsTest : test::UiFixture {
  StandardDialogs dialogs{wm};

  void KeyAt(int code, std::int64_t atMs) {
    InputEvent e;
    e.kind = InputKind::KeyDown;
    e.keyCode = code;
    platform.Post(e, atMs);
  }
  MessageBoxRequest Box(MsgButtons buttons, int defaultButton = 0) {
    MessageBoxRequest r;
    r.title = "Lighthouse";
    r.text = "Do you really want to quit?";
    r.buttons = buttons;
    r.icon = MsgIcon::Question;
    r.defaultButton = defaultButton;
    return r;
  }
};

TEST_F(DialogsTest, TimersKeepFiringUnderAMessageBoxAndEnterTakesTheDefaultButton) {
  form->Show();
  Timer t(wm.Loop());
  int ticks = 0;
  t.SetInterval(100);
  t.SetHandler([&] { ++ticks; });
  KeyAt(kKeyReturn, 1050);
  MsgAnswer a = dialogs.Show(Box(MsgButtons::YesNo, 1));  // the second-default style: No
  EXPECT_EQ(a, MsgAnswer::No);
  EXPECT_EQ(ticks, 10);
  EXPECT_EQ(wm.Loop().NowMs(), 1050);
  ASSERT_EQ(platform.closedBoxes.size(), 1u);
  EXPECT_EQ(platform.closedBoxes[0].second, MsgAnswer::No);
  EXPECT_EQ(wm.ActiveForm(), form.get());  // the box is gone and the form active again
}

TEST_F(DialogsTest, MessageBoxShownFromATimerTickDoesNotReenterThatTimer) {
  form->Show();
  Timer t(wm.Loop());
  int entered = 0, depth = 0, maxDepth = 0;
  std::vector<std::int64_t> at;
  t.SetInterval(100);
  t.SetHandler([&] {
    ++entered;
    maxDepth = std::max(maxDepth, ++depth);
    at.push_back(wm.Loop().NowMs());
    if (entered == 1) {
      KeyAt(kKeyReturn, 900);
      dialogs.Show(Box(MsgButtons::Ok));
    }
    --depth;
  });
  wm.Loop().Sleep(1050);
  EXPECT_EQ(maxDepth, 1);  // it could not tick while its first tick was showing the box
  // The tick missed meanwhile comes once, right after the box closed, then the rhythm resumes.
  EXPECT_EQ(at, (std::vector<std::int64_t>{100, 900, 1000}));
}

TEST_F(DialogsTest, EscAnswersCancelOnlyWhereTheSetHasAWayOut) {
  KeyAt(kKeyEscape, 10);
  KeyAt(kKeyEscape, 20);  // ignored by Yes/No
  KeyAt(kKeyReturn, 30);
  EXPECT_EQ(dialogs.Show(Box(MsgButtons::YesNo)), MsgAnswer::Yes);
  KeyAt(kKeyEscape, 40);
  EXPECT_EQ(dialogs.Show(Box(MsgButtons::YesNoCancel)), MsgAnswer::Cancel);
  KeyAt(kKeyEscape, 50);
  EXPECT_EQ(dialogs.Show(Box(MsgButtons::Ok)), MsgAnswer::Ok);
}

TEST_F(DialogsTest, ArrowAndTabKeysMoveBetweenButtonsAndEnterPressesTheFocusedOne) {
  KeyAt(kKeyRight, 10);
  KeyAt(kKeyRight, 20);
  KeyAt(kKeyReturn, 30);
  EXPECT_EQ(dialogs.Show(Box(MsgButtons::AbortRetryIgnore)), MsgAnswer::Ignore);
  KeyAt(kKeyTab, 40);
  KeyAt(kKeyTab, 50);  // wraps round to the first
  KeyAt(kKeySpace, 60);
  EXPECT_EQ(dialogs.Show(Box(MsgButtons::RetryCancel)), MsgAnswer::Retry);
}

TEST_F(DialogsTest, UnderlinedAccessKeysAnswerTheBox) {
  KeyAt('N', 10);
  EXPECT_EQ(dialogs.Show(Box(MsgButtons::YesNo)), MsgAnswer::No);
  KeyAt('Y', 20);
  EXPECT_EQ(dialogs.Show(Box(MsgButtons::YesNoCancel, 2)), MsgAnswer::Yes);
  // Keys no button marks, and Ctrl with one, do nothing; Alt with one works too.
  KeyAt('Q', 30);
  InputEvent ctrl;
  ctrl.kind = InputKind::KeyDown;
  ctrl.keyCode = 'I';
  ctrl.shift = kCtrlMask;
  platform.Post(ctrl, 40);
  InputEvent alt = ctrl;
  alt.keyCode = 'R';
  alt.shift = kAltMask;
  platform.Post(alt, 50);
  EXPECT_EQ(dialogs.Show(Box(MsgButtons::AbortRetryIgnore)), MsgAnswer::Retry);
  EXPECT_EQ(wm.Loop().NowMs(), 50);
}

TEST_F(DialogsTest, BoxesAreWideEnoughForTheirTitle) {
  auto widthFor = [&](const std::string& title, bool input) {
    int width = 0;
    Timer probe(wm.Loop());
    probe.SetInterval(1);
    probe.SetHandler([&] {
      width = wm.ActiveForm()->ClientSize().width;
      KeyAt(kKeyEscape, wm.Loop().NowMs());
      probe.SetEnabled(false);
    });
    if (input) {
      dialogs.InputBox({title, "Name?", ""});
    } else {
      MessageBoxRequest r = Box(MsgButtons::Ok);
      r.title = title;
      r.text = "Hi";
      dialogs.Show(r);
    }
    return width;
  };
  std::string title = "The Lighthouse Keeper's Daughter - Chapter Three: The Storm";
  int titleWidth = wm.Fonts().Get(draw::FontSpec{}).TextWidth(title);
  EXPECT_LT(widthFor("Hi", false), titleWidth);
  EXPECT_GT(widthFor(title, false), titleWidth);
  EXPECT_GT(widthFor(title + title, true), 2 * titleWidth);
  // A title longer than the display makes the box no wider than the display.
  EXPECT_LE(widthFor(title + title + title + title + title, false), 1024);
}

TEST_F(DialogsTest, ButtonsCanBeClickedByName) {
  InputEvent e;
  e.kind = InputKind::ControlAction;
  e.target = "Button3";
  platform.Post(e, 10);
  EXPECT_EQ(dialogs.Show(Box(MsgButtons::YesNoCancel)), MsgAnswer::Cancel);
}

TEST_F(DialogsTest, TheBoxSizesItselfToItsText) {
  auto measure = [&](const std::string& text) {
    MessageBoxRequest r = Box(MsgButtons::Ok);
    r.text = text;
    Size size;
    Timer probe(wm.Loop());
    probe.SetInterval(1);
    probe.SetHandler([&] {
      Form* box = wm.ActiveForm();
      size = {box->ClientSize().width, box->ClientSize().height};
      KeyAt(kKeyReturn, wm.Loop().NowMs());
      probe.SetEnabled(false);
    });
    dialogs.Show(r);
    return size;
  };
  Size small = measure("Hi");
  Size wide = measure("A much longer sentence that needs a wider message box to hold it");
  Size tall = measure("Line one\r\nLine two\r\nLine three\r\nLine four");
  EXPECT_GT(wide.width, small.width);
  EXPECT_EQ(wide.height, small.height);
  EXPECT_GT(tall.height, small.height);
  // Long text wraps at half the display width instead of growing without end.
  std::string many;
  for (int i = 0; i < 60; ++i)
    many += "words and ";
  Size huge = measure(many);
  EXPECT_LE(huge.width, 1024 / 2 + 100);
}

// A message of 100,000 lines once made a box as tall as its text (1.3 GB): boxes stay within
// the display and what does not fit ends in "…".
TEST_F(DialogsTest, BoxesNeverGrowBeyondTheDisplay) {
  std::string lines;
  for (int i = 0; i < 100000; ++i)
    lines += "A line of the message\r\n";
  lines += std::string(20000, 'w');  // and one word far wider than the display
  auto outer = [&](std::function<void()> show) {
    draw::Rect frame;
    Timer probe(wm.Loop());
    probe.SetInterval(1);
    probe.SetHandler([&] {
      Form* box = wm.ActiveForm();
      frame = {static_cast<int>(box->Left() / 15), static_cast<int>(box->Top() / 15),
               static_cast<int>(box->Width() / 15), static_cast<int>(box->Height() / 15)};
      KeyAt(kKeyReturn, wm.Loop().NowMs());
      probe.SetEnabled(false);
    });
    show();
    return frame;
  };
  draw::Rect display{0, 0, 1024, 768};
  MessageBoxRequest r = Box(MsgButtons::Ok);
  r.text = lines;
  long grown = sl::test::PeakMemoryGrowthMiB([&] { outer([&] { dialogs.Show(r); }); });
  EXPECT_GE(grown, 0);
  EXPECT_LT(grown, sl::test::kModestGrowthMiB);
  for (MsgButtons buttons : {MsgButtons::Ok, MsgButtons::AbortRetryIgnore}) {
    r.buttons = buttons;
    draw::Rect box = outer([&] { dialogs.Show(r); });
    EXPECT_EQ(box.Intersect(display), box)
        << box.x << "," << box.y << " " << box.width << "x" << box.height;
  }
  r.text = std::string(20000, 'w');
  draw::Rect wide = outer([&] { dialogs.Show(r); });
  EXPECT_EQ(wide.Intersect(display), wide);
  InputBoxRequest input{"Save game", lines, "slot"};
  draw::Rect inputBox = outer([&] { dialogs.InputBox(input); });
  EXPECT_EQ(inputBox.Intersect(display), inputBox);
}

TEST_F(DialogsTest, APlatformAnswerSkipsTheBoxButIsStillReported) {
  platform.msgAnswers.push_back(MsgAnswer::Retry);
  std::size_t windowsBefore = platform.windows.size();
  EXPECT_EQ(dialogs.Show(Box(MsgButtons::RetryCancel)), MsgAnswer::Retry);
  EXPECT_EQ(platform.windows.size(), windowsBefore);
  ASSERT_EQ(platform.closedBoxes.size(), 1u);
  EXPECT_EQ(platform.closedBoxes[0].first.title, "Lighthouse");
}

TEST_F(DialogsTest, InputBoxReturnsTypedTextOnEnterAndNothingOnEsc) {
  InputBoxRequest r{"Save game", "Name of the game:", "slot"};
  InputEvent typed;
  typed.kind = InputKind::Text;
  typed.text = " one";
  platform.Post(typed, 10);
  KeyAt(kKeyReturn, 20);
  EXPECT_EQ(dialogs.InputBox(r), std::optional<std::string>("slot one"));
  KeyAt(kKeyEscape, 30);
  EXPECT_EQ(dialogs.InputBox(r), std::nullopt);
}

}  // namespace
}  // namespace sl::ui
