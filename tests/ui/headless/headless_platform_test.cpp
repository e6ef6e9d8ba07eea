// The headless platform: virtual time, script input in order, dialog answers, windows and the
// end of the script.
#include "backend/headless/headless_platform.h"

#include <gtest/gtest.h>

#include "headless_fixture.h"
#include "ui/timer.h"

namespace sl {
namespace {

using test::HeadlessRun;

TEST(HeadlessPlatform, TenVirtualMinutesWithATimerTakeOneWaitATick) {
  HeadlessRun run("wait 600000\n");
  ui::Timer timer(run.loop);
  timer.SetInterval(100);
  timer.SetEnabled(true);
  run.Run();
  EXPECT_EQ(timer.TickCount(), 6000);
  EXPECT_EQ(run.platform.GetClock().MonotonicMs(), 600000);
  // One wait per tick, give or take the script's own.
  EXPECT_LE(run.platform.WaitCount(), 6000 + 5);
  EXPECT_FALSE(run.gaveUp);
}

TEST(HeadlessPlatform, WaitingWithoutTimersJumpsStraightToTheScript) {
  HeadlessRun run("wait 1000\nclick 1 1\nwait 3600000\nkey Esc\n");
  run.Run();
  EXPECT_EQ(run.platform.GetClock().MonotonicMs(), 3601000);
  EXPECT_LE(run.platform.WaitCount(), 8);
  ASSERT_EQ(run.client.events.size(), 5u);  // press, release, key down, key up, quit
  EXPECT_EQ(run.client.events.back().kind, ui::InputKind::Quit);
}

TEST(HeadlessPlatform, TheClockStartsAtTheGivenDateAndTime) {
  std::ostringstream out;
  VirtualClock c{CivilTime{}};
  Trace trace(out, c);
  test::MemorySettings settings;
  HeadlessOptions options;
  options.start = CivilTime{2010, 12, 31, 23, 59, 59, 0};
  HeadlessPlatform platform(trace, settings, options);
  platform.Virtual().Advance(1500);
  EXPECT_EQ(platform.GetClock().Now(), (CivilTime{2011, 1, 1, 0, 0, 0, 500}));
  EXPECT_EQ(platform.Audio(), nullptr);
}

TEST(HeadlessPlatform, CommandsWaitUntilThePreviousInputIsHandled) {
  HeadlessRun run("click 10 20 right\ndump\nkey s ctrl shift\nwait 50\ntype hi there\ndump\n");
  std::vector<std::size_t> seenAtDump;
  run.trace.SetStateProvider([&] {
    seenAtDump.push_back(run.client.events.size());
    return JsonObject{{"handled", static_cast<std::int64_t>(run.client.events.size())}};
  });
  run.Run();
  // The dump after the click sees both of its events handled (and the repaint done).
  ASSERT_EQ(seenAtDump, (std::vector<std::size_t>{2, 5}));
  const auto& e = run.client.events;
  ASSERT_EQ(e.size(), 6u);
  EXPECT_EQ(e[0].kind, ui::InputKind::MouseDown);
  EXPECT_EQ(e[0].button, ui::kButtonRight);
  EXPECT_EQ(e[0].space, ui::CoordSpace::Script);
  EXPECT_EQ(e[0].x, 10);
  EXPECT_EQ(e[0].y, 20);
  EXPECT_EQ(e[1].kind, ui::InputKind::MouseUp);
  EXPECT_EQ(e[2].kind, ui::InputKind::KeyDown);
  EXPECT_EQ(e[2].keyCode, 'S');
  EXPECT_EQ(e[2].shift, ui::kCtrlMask | ui::kShiftMask);
  EXPECT_EQ(e[3].kind, ui::InputKind::KeyUp);
  EXPECT_EQ(e[4].kind, ui::InputKind::Text);
  EXPECT_EQ(e[4].text, "hi there");
  EXPECT_EQ(e[5].kind, ui::InputKind::Quit);
  EXPECT_EQ(run.Trace(),
            "{\"t\":0,\"ev\":\"state\",\"handled\":2,\"windows\":[]}\n"
            "{\"t\":50,\"ev\":\"state\",\"handled\":5,\"windows\":[]}\n");
}

TEST(HeadlessPlatform, QueuedAndDefaultAnswers) {
  HeadlessRun run("answer no\ninput Alice\ninput-cancel\nanswer yes\nclick 0 0\n");
  MessageBoxRequest yesNo{"Q", "Sure?", MsgButtons::YesNo, MsgIcon::Question, 1};
  MessageBoxRequest okOnly{"I", "Done", MsgButtons::Ok, MsgIcon::Information, 0};
  ui::InputBoxRequest name{"Name", "Who?", "Bob"};
  std::vector<MsgAnswer> boxAnswers;
  std::vector<ui::InputBoxAnswer> inputAnswers;
  run.client.onInput = [&](const ui::InputEvent& e) {
    if (e.kind != ui::InputKind::MouseDown) return;
    // What the runtime's message box service does: ask the platform, then report the close.
    auto ask = [&](const MessageBoxRequest& r) {
      MsgAnswer a = run.platform.AnswerMessageBox(r).value();
      run.platform.MessageBoxClosed(r, a);
      boxAnswers.push_back(a);
    };
    auto input = [&] {
      ui::InputBoxAnswer a = run.platform.AnswerInputBox(name).value();
      run.platform.InputBoxClosed(name, a);
      inputAnswers.push_back(a);
    };
    ask(yesNo);   // queued "no"
    ask(okOnly);  // queued "yes" fits no button: default
    ask(yesNo);   // nothing queued: default button 1 = "no"
    input();      // "Alice"
    input();      // cancelled
    input();      // nothing queued: Cancel by default
  };
  run.Run();
  EXPECT_EQ(boxAnswers, (std::vector<MsgAnswer>{MsgAnswer::No, MsgAnswer::Ok, MsgAnswer::No}));
  ASSERT_EQ(inputAnswers.size(), 3u);
  EXPECT_EQ(inputAnswers[0].text, "Alice");
  EXPECT_FALSE(inputAnswers[0].cancelled);
  EXPECT_TRUE(inputAnswers[1].cancelled);
  EXPECT_TRUE(inputAnswers[2].cancelled);
  EXPECT_EQ(
      run.Trace(),
      R"({"t":0,"ev":"msgbox","title":"Q","text":"Sure?","icon":"question","buttons":"yesno","answer":"no","button":"no"})"
      "\n"
      R"({"t":0,"ev":"msgbox","title":"I","text":"Done","icon":"information","buttons":"ok","answer":"default","button":"ok"})"
      "\n"
      R"({"t":0,"ev":"msgbox","title":"Q","text":"Sure?","icon":"question","buttons":"yesno","answer":"default","button":"no"})"
      "\n"
      R"({"t":0,"ev":"inputbox","title":"Name","prompt":"Who?","default":"Bob","answer":"Alice"})"
      "\n"
      R"({"t":0,"ev":"inputbox","title":"Name","prompt":"Who?","default":"Bob","answer":null})"
      "\n"
      R"({"t":0,"ev":"inputbox","title":"Name","prompt":"Who?","default":"Bob","answer":"default","button":"cancel"})"
      "\n");
  ASSERT_EQ(run.warnings.size(), 1u);
  EXPECT_EQ(run.warnings[0],
            "events.txt:4: the queued answer 'yes' is no button of a 'ok' message box; its "
            "default button is taken");
}

TEST(HeadlessPlatform, WindowsDisplayAndDesktopAreRecorded) {
  HeadlessRun run("dump\n");
  auto& p = run.platform;
  ui::WindowId welcome = p.CreateWindow({"frmWelcome", "Welcome", 0, 0, 320, 200});
  ui::WindowId game = p.CreateWindow({"Game", "My game", 0, 0, 640, 480});
  p.ShowWindow(welcome, true);
  p.ShowWindow(welcome, true);  // no change, no record
  p.ShowWindow(game, true);
  p.ActivateWindow(welcome);
  EXPECT_EQ(p.VisibleWindows(), (std::vector<std::string>{"frmWelcome", "Game"}));
  EXPECT_TRUE(p.SetDisplaySize({800, 600}));
  EXPECT_TRUE(p.SetDisplaySize({800, 600}));  // no change, no record
  EXPECT_FALSE(p.SetDisplaySize({0, 600}));
  EXPECT_EQ(p.DisplaySize(), (ui::Size{800, 600}));
  // The desktop takes every request; the player records them, as only it knows whether the
  // person playing was asked.
  EXPECT_TRUE(p.ShellOpen("open", "https://example.org/"));
  auto child = p.StartProgram("/usr/bin/true");
  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(child->Running());
  run.Run();
  p.DestroyWindow(welcome);
  p.ShowWindow(game, false);
  EXPECT_EQ(run.Trace(), R"({"t":0,"ev":"window","name":"frmWelcome","shown":true})"
                         "\n"
                         R"({"t":0,"ev":"window","name":"Game","shown":true})"
                         "\n"
                         R"({"t":0,"ev":"display","width":800,"height":600})"
                         "\n"
                         R"({"t":0,"ev":"state","windows":["frmWelcome","Game"]})"
                         "\n"
                         R"({"t":0,"ev":"window","name":"frmWelcome","shown":false})"
                         "\n"
                         R"({"t":0,"ev":"window","name":"Game","shown":false})"
                         "\n");
}

TEST(HeadlessPlatform, TopmostChangesAndBodyDragsAreRecordedAndTheDragEatsItsInput) {
  HeadlessRun run("press 5 5\nmove 6 6\nmove 9 9\nrelease 9 9\nmove 1 1\nclick 2 2\n");
  auto& p = run.platform;
  ui::WindowSpec spec{"frmWelcome", "", 0, 0, 320, 200};
  ui::WindowId hidden = p.CreateWindow({"frmHidden", "", 0, 0, 10, 10});
  ui::WindowId welcome = p.CreateWindow(spec);
  p.ShowWindow(welcome, true);
  spec.topMost = true;
  p.UpdateWindow(welcome, spec);
  p.UpdateWindow(welcome, spec);  // no change, no record
  p.BeginWindowDrag(hidden);      // not shown: nothing to drag
  spec.topMost = false;
  p.UpdateWindow(welcome, spec);
  // The first move with the button held starts a drag, as the title window does.
  run.client.onInput = [&](const ui::InputEvent& e) {
    if (e.kind == ui::InputKind::MouseMove && e.button == ui::kButtonLeft)
      p.BeginWindowDrag(welcome);
  };
  run.Run();
  EXPECT_EQ(p.DesktopRequests(),
            (std::vector<std::string>{"topmost frmWelcome", "not topmost frmWelcome",
                                      "drag frmWelcome"}));
  std::vector<ui::InputKind> kinds;
  for (const ui::InputEvent& e : run.client.events)
    kinds.push_back(e.kind);
  using K = ui::InputKind;
  // The second move and the release belong to the drag; what follows arrives again.
  EXPECT_EQ(kinds, (std::vector<K>{K::MouseDown, K::MouseMove, K::MouseMove, K::MouseDown,
                                   K::MouseUp, K::Quit}));
}

TEST(HeadlessPlatform, AProgramThatIgnoresTheFinalQuitIsEndedAfterAGraceTime) {
  HeadlessRun run("wait 100\n");
  run.client.quitEndsLoop = false;
  ui::Timer timer(run.loop);
  timer.SetInterval(1000);
  timer.SetEnabled(true);
  run.Run();
  EXPECT_TRUE(run.gaveUp);
  // The run goes on to the last tick within the grace time and ends before the next one.
  EXPECT_EQ(run.platform.GetClock().MonotonicMs(), HeadlessPlatform::kGraceMs);
  EXPECT_EQ(timer.TickCount(), HeadlessPlatform::kGraceMs / 1000);
}

TEST(HeadlessPlatform, AProgramWaitingForNothingAfterTheScriptIsEndedAtOnce) {
  HeadlessRun run("wait 100\n");
  run.client.quitEndsLoop = false;
  run.Run();
  EXPECT_TRUE(run.gaveUp);
  EXPECT_EQ(run.platform.GetClock().MonotonicMs(), 100);
}

TEST(HeadlessPlatform, AnEmptyScriptQuitsAtTheFirstWait) {
  HeadlessRun run("");
  run.Run();
  ASSERT_EQ(run.client.events.size(), 1u);
  EXPECT_EQ(run.client.events[0].kind, ui::InputKind::Quit);
  EXPECT_TRUE(run.platform.ScriptDone());
}

TEST(HeadlessPlatform, AnExplicitQuitIsNotFollowedByAnother) {
  HeadlessRun run("quit\n");
  run.client.quitEndsLoop = false;
  run.Run();
  EXPECT_TRUE(run.gaveUp);
  ASSERT_EQ(run.client.events.size(), 1u);
}

}  // namespace
}  // namespace sl
