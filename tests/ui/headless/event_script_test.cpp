// Event scripts: every command with its arguments, and errors that name the line.
#include "backend/headless/event_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"

namespace sl {
namespace {

using K = ScriptCommandKind;

ScriptCommand One(std::string_view line) {
  auto commands = ParseEventScript(line, "events.txt");
  EXPECT_EQ(commands.size(), 1u) << line;
  return commands.empty() ? ScriptCommand{} : commands[0];
}

std::string ErrorOf(std::string_view text) {
  try {
    ParseEventScript(text, "events.txt");
  } catch (const EventScriptError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(EventScript, MouseCommands) {
  auto c = One("click 10 20");
  EXPECT_EQ(c.kind, K::Click);
  EXPECT_EQ(c.x, 10);
  EXPECT_EQ(c.y, 20);
  EXPECT_EQ(c.button, ScriptButton::Left);
  EXPECT_EQ(One("click 1 2 right").button, ScriptButton::Right);
  EXPECT_EQ(One("CLICK 1 2 Left").button, ScriptButton::Left);
  EXPECT_EQ(One("dblclick 5 6").kind, K::DblClick);
  c = One("press 3 4 right");
  EXPECT_EQ(c.kind, K::Press);
  EXPECT_EQ(c.button, ScriptButton::Right);
  EXPECT_EQ(One("release 3 4").kind, K::Release);
  c = One("move -5 7");
  EXPECT_EQ(c.kind, K::Move);
  EXPECT_EQ(c.x, -5);
  c = One("drag 1 2 300 400");
  EXPECT_EQ(c.kind, K::Drag);
  EXPECT_EQ(c.x, 1);
  EXPECT_EQ(c.y, 2);
  EXPECT_EQ(c.x2, 300);
  EXPECT_EQ(c.y2, 400);
}

TEST(EventScript, KeysWithNamesAndModifiers) {
  EXPECT_EQ(One("key a").key.keyCode, 'A');
  EXPECT_EQ(One("key Z").key.keyCode, 'Z');
  EXPECT_EQ(One("key 7").key.keyCode, '7');
  EXPECT_EQ(One("key esc").key.keyCode, 27);
  EXPECT_EQ(One("key ENTER").key.keyCode, 13);
  EXPECT_EQ(One("key Tab").key.keyCode, 9);
  EXPECT_EQ(One("key space").key.keyCode, 32);
  EXPECT_EQ(One("key Backspace").key.keyCode, 8);
  EXPECT_EQ(One("key delete").key.keyCode, 46);
  EXPECT_EQ(One("key up").key.keyCode, 38);
  EXPECT_EQ(One("key down").key.keyCode, 40);
  EXPECT_EQ(One("key left").key.keyCode, 37);
  EXPECT_EQ(One("key right").key.keyCode, 39);
  EXPECT_EQ(One("key home").key.keyCode, 36);
  EXPECT_EQ(One("key end").key.keyCode, 35);
  EXPECT_EQ(One("key F1").key.keyCode, 112);
  EXPECT_EQ(One("key f12").key.keyCode, 123);
  auto c = One("key s ctrl shift");
  EXPECT_TRUE(c.key.ctrl);
  EXPECT_TRUE(c.key.shift);
  EXPECT_FALSE(c.key.alt);
  c = One("key F4 ALT");
  EXPECT_TRUE(c.key.alt);
  EXPECT_FALSE(c.key.ctrl);
  for (std::string_view bad : {"F0", "F13", "F01", "ab", "?", "Escape"})
    EXPECT_FALSE(KeyCodeFromName(bad)) << bad;
}

TEST(EventScript, TextCommandsKeepTheRestOfTheLine) {
  auto c = One("type Hello, world  # not a comment");
  EXPECT_EQ(c.kind, K::Type);
  EXPECT_EQ(c.text, "Hello, world  # not a comment");
  EXPECT_EQ(One("type  two leading").text, " two leading");
  EXPECT_EQ(One("type Grüße\r").text, "Grüße");
  c = One("input my name");
  EXPECT_EQ(c.kind, K::Input);
  EXPECT_EQ(c.text, "my name");
  EXPECT_EQ(One("input").text, "");
  EXPECT_EQ(One("input-cancel").kind, K::InputCancel);
  c = One("screenshot  shots/a b.png  ");
  EXPECT_EQ(c.kind, K::Screenshot);
  EXPECT_EQ(c.text, "shots/a b.png");
}

TEST(EventScript, ControlsMenusAndLists) {
  auto c = One("control Command2");
  EXPECT_EQ(c.kind, K::Control);
  EXPECT_EQ(c.target, (ScriptTarget{"Command2", std::nullopt}));
  EXPECT_EQ(c.action, ControlAction::Click);
  c = One("control Area(3) dblclick");
  EXPECT_EQ(c.target, (ScriptTarget{"Area", 3}));
  EXPECT_EQ(c.action, ControlAction::DblClick);
  EXPECT_EQ(One("control lblButton(0) right").action, ControlAction::Right);
  c = One("menu mnuFrameName(2)");
  EXPECT_EQ(c.kind, K::Menu);
  EXPECT_EQ(c.target, (ScriptTarget{"mnuFrameName", 2}));
  c = One("select lstSaves Saved game 3");
  EXPECT_EQ(c.kind, K::Select);
  EXPECT_EQ(c.target.name, "lstSaves");
  EXPECT_EQ(c.text, "Saved game 3");
}

TEST(EventScript, AnswersWaitsAndBareCommands) {
  EXPECT_EQ(One("answer yes").answer, MsgAnswer::Yes);
  EXPECT_EQ(One("answer NO").answer, MsgAnswer::No);
  EXPECT_EQ(One("answer ok").answer, MsgAnswer::Ok);
  EXPECT_EQ(One("answer cancel").answer, MsgAnswer::Cancel);
  EXPECT_EQ(One("answer abort").answer, MsgAnswer::Abort);
  EXPECT_EQ(One("answer retry").answer, MsgAnswer::Retry);
  EXPECT_EQ(One("answer ignore").answer, MsgAnswer::Ignore);
  auto c = One("wait 600000");
  EXPECT_EQ(c.kind, K::Wait);
  EXPECT_EQ(c.ms, 600000);
  EXPECT_EQ(One("dump").kind, K::Dump);
  EXPECT_EQ(One("quit").kind, K::Quit);
}

TEST(EventScript, CommentsBlankLinesAndLineNumbers) {
  auto commands = ParseEventScript(
      "\xEF\xBB\xBF# a walkthrough\r\n\r\n  wait 100\n\t# indented comment\n   \nclick 1 2\nquit",
      "events.txt");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].line, 3);
  EXPECT_EQ(commands[1].line, 6);
  EXPECT_EQ(commands[2].line, 7);
  EXPECT_TRUE(ParseEventScript("", "e").empty());
}

TEST(EventScript, ErrorsNameTheFileAndLine) {
  EXPECT_EQ(ErrorOf("wait 1\n\n# c\nclik 1 2\n"), "events.txt:4: unknown command 'clik'");
  EXPECT_EQ(ErrorOf("click 1"), "events.txt:1: 'click' needs the coordinates X Y");
  EXPECT_EQ(ErrorOf("click 1 x"), "events.txt:1: bad coordinate 'x'");
  EXPECT_EQ(ErrorOf("click 1 2 middle"),
            "events.txt:1: unknown mouse button 'middle' (left or right)");
  EXPECT_EQ(ErrorOf("dblclick 1 2 right"),
            "events.txt:1: too many arguments for 'dblclick': 'right'");
  EXPECT_EQ(ErrorOf("wait"), "events.txt:1: 'wait' needs a time in milliseconds");
  EXPECT_EQ(ErrorOf("wait -5"), "events.txt:1: negative time '-5'");
  EXPECT_EQ(ErrorOf("wait 1.5"), "events.txt:1: bad time '1.5'");
  EXPECT_EQ(ErrorOf("wait 99999999999999999999"), "events.txt:1: bad time '99999999999999999999'");
  EXPECT_EQ(ErrorOf("key Escape"), "events.txt:1: unknown key 'Escape'");
  EXPECT_EQ(ErrorOf("key a meta"),
            "events.txt:1: unknown key modifier 'meta' (ctrl, shift or alt)");
  EXPECT_EQ(ErrorOf("type"), "events.txt:1: 'type' needs a text");
  EXPECT_EQ(ErrorOf("control Area(x)"), "events.txt:1: bad index 'x'");
  EXPECT_EQ(ErrorOf("control Area(3"), "events.txt:1: bad name 'Area(3'");
  EXPECT_EQ(ErrorOf("control (3)"), "events.txt:1: bad name '(3)'");
  EXPECT_EQ(ErrorOf("control Area(-1)"), "events.txt:1: index out of range in 'Area(-1)'");
  EXPECT_EQ(ErrorOf("control Area(1) twice"),
            "events.txt:1: unknown control action 'twice' (click, dblclick or right)");
  EXPECT_EQ(ErrorOf("select lstSaves"), "events.txt:1: 'select' needs the text of an entry");
  EXPECT_EQ(ErrorOf("answer maybe"),
            "events.txt:1: unknown button 'maybe' (ok, cancel, yes, no, abort, retry or ignore)");
  EXPECT_EQ(ErrorOf("quit now"), "events.txt:1: too many arguments for 'quit': 'now'");
  EXPECT_EQ(ErrorOf("screenshot"), "events.txt:1: 'screenshot' needs a file name");
  EXPECT_EQ(ErrorOf("menu"), "events.txt:1: 'menu' needs a menu entry name");
  try {
    ParseEventScript("dump\nwait x", "s");
    FAIL();
  } catch (const EventScriptError& e) {
    EXPECT_EQ(e.Line(), 2);
  }
}

// A wait far beyond any walkthrough once made the virtual clock overflow or run for ever.
TEST(EventScript, WaitsAreCapped) {
  EXPECT_EQ(ErrorOf("wait 9223372036854775807"),
            "events.txt:1: time too long '9223372036854775807' (at most 86400000 ms, a day)");
  EXPECT_EQ(ErrorOf("dump\nwait 86400001"),
            "events.txt:2: time too long '86400001' (at most 86400000 ms, a day)");
  EXPECT_NO_THROW(ParseEventScript("wait 86400000", "s"));
  std::string year;
  for (int day = 0; day < 366; ++day)
    year += "wait 86400000\n";
  EXPECT_NO_THROW(ParseEventScript(year, "s"));
  EXPECT_EQ(ErrorOf(year + "# over\nwait 1\n"),
            "events.txt:368: the waits add up to more than a year");
}

TEST(EventScript, LoadsFilesAndReportsUnreadableOnes) {
  test::TempFolder folder;
  auto dir = std::filesystem::path(folder.Path());
  auto file = dir / "events.txt";
  std::ofstream(file) << "wait 5\nclick 1 2\n";
  EXPECT_EQ(LoadEventScript(file).size(), 2u);
  EXPECT_THROW(LoadEventScript(dir / "missing.txt"), EventScriptError);
}

}  // namespace
}  // namespace sl
