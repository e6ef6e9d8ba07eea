// The storyloom program, headless, on the script fixture: the debug menu's script entries
// driven by an event script, timed events in `dump`, and the game's requests to the desktop
// and for files outside its folder, read back from the trace.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/headless_run.h"

namespace {

using sl::test::Has;
using sl::test::Records;

constexpr const char* kPrompt =
    R"("prompt":"Enter the VBScript code you want to execute and then click OK.\r\n\r\n)"
    R"(For example, to retrieve the value of a variable, use the following code:\r\n\r\n)"
    R"(                MsgBox VARIABLE_NAME\r\n\r\n")";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string Without(const std::string& record, const std::string& field) {
  std::size_t at = record.find(",\"" + field + "\":");
  return at == std::string::npos ? record : record.substr(0, at) + "}";
}

TEST(ScriptsTrace, DebugEntriesRunCodeAndRememberIt) {
  sl::test::TempFolder dir;
  auto run = sl::test::RunHeadless(
      dir, "scripts_game",
      "input Flag = 5: Action.CreateTimedEvent 2, \"Counter = Counter + 1\", True\n"
      "menu mnuExecuteVBScript\n"
      "dump\n"
      "wait 4000\n"
      "dump\n"
      "input-cancel\n"
      "menu mnuExecuteVBScript\n"
      "menu mnuEditProcedures\n");
  EXPECT_EQ(run.status, 0);
  auto inputs = Records(run.trace, "inputbox");
  ASSERT_EQ(inputs.size(), 2u);
  const std::string code =
      R"(Flag = 5: Action.CreateTimedEvent 2, \"Counter = Counter + 1\", True)";
  EXPECT_EQ(
      inputs[0],
      std::string(
          R"x({"t":0,"ev":"inputbox","title":"Execute VBScript Code (for advanced users)",)x") +
          kPrompt + R"(,"default":"","answer":")" + code + R"("})");
  EXPECT_TRUE(Has(inputs[1], R"("default":")" + code + R"(","answer":null})")) << inputs[1];
  auto settings = Records(run.trace, "setting");
  ASSERT_EQ(settings.size(), 2u);  // the game's path, then the code
  EXPECT_EQ(
      settings[1],
      R"({"t":0,"ev":"setting","section":"FixtureScripts","key":"ExecuteVBScriptCode","value":")" +
          code + R"("})");
  auto states = Records(run.trace, "state");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_TRUE(Has(states[0], R"("variables":[["Flag",5],["Counter",0]])")) << states[0];
  EXPECT_TRUE(
      Has(states[0],
          R"("timed_events":[{"n":1,"active":true,"enabled":true,"interval":2000,"repeat":true}])"))
      << states[0];
  EXPECT_TRUE(Has(states[1], R"("variables":[["Flag",5],["Counter",2]])")) << states[1];
  auto boxes = Records(run.trace, "msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(
      boxes[0],
      R"({"t":4000,"ev":"msgbox","title":"Not Available","text":"This command is not available in the compiled version of the project.","icon":"information","buttons":"ok","answer":"default","button":"ok"})");
}

TEST(ScriptsTrace, RequestsToTheDesktopAndForOutsideFiles) {
  sl::test::TempFolder dir;
  auto run = sl::test::RunHeadless(
      dir, "scripts_game",
      "input Action.OpenURL \"https://example.org/?a=1\": Action.SendEmail "
      "\"me@example.org?attach=/etc/passwd\"\n"
      "menu mnuExecuteVBScript\n"
      "answer yes\n"
      "input Action.OpenURL \"ftp://example.org/\": Action.OpenFile \"Docs\\Readme.txt\"\n"
      "menu mnuExecuteVBScript\n"
      "input Action.OpenExeFileAndWait \"Tools\\Setup.sh\": Action.OpenURL \"ftp://example.org/\"\n"
      "menu mnuExecuteVBScript\n"
      "input Action.WriteINI \"..\\outside.ini\", \"S\", \"K\", 1: Flag = "
      "Len(Action.ReadINI(\"/etc/passwd\", \"S\", \"K\"))\n"
      "menu mnuExecuteVBScript\n");
  EXPECT_EQ(run.status, 0);
  auto shell = Records(run.trace, "shell");
  ASSERT_EQ(shell.size(), 6u);
  EXPECT_EQ(shell[0], R"({"t":0,"ev":"shell","verb":"open","target":"https://example.org/?a=1"})");
  EXPECT_EQ(shell[1], R"({"t":0,"ev":"shell","verb":"open","target":"mailto:me@example.org"})");
  EXPECT_EQ(
      shell[2],
      R"({"t":0,"ev":"shell","verb":"open","target":"ftp://example.org/","asked":true,"allowed":true})");
  EXPECT_EQ(shell[3], R"({"t":0,"ev":"shell","verb":"open","target":"Docs/Readme.txt"})");
  // The person playing is asked about a program (default No); the answer about the address
  // is remembered, so it is not asked again.
  EXPECT_EQ(
      shell[4],
      R"({"t":0,"ev":"shell","verb":"run","target":"Tools/Setup.sh","asked":true,"allowed":false,"refused":true})");
  EXPECT_EQ(shell[5], R"({"t":0,"ev":"shell","verb":"open","target":"ftp://example.org/"})");
  auto boxes = Records(run.trace, "msgbox");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(
      Without(boxes[0], "answer"),
      R"({"t":0,"ev":"msgbox","title":"Fixture Scripts","text":"This game wants to open the address \"ftp://example.org/\". Allow it?","icon":"exclamation","buttons":"yesno"})");
  EXPECT_TRUE(Has(boxes[1],
                  R"("text":"This game wants to start the program \"Tools/Setup.sh\". Allow it?")"))
      << boxes[1];
  EXPECT_TRUE(Has(boxes[1], R"("answer":"default","button":"no")")) << boxes[1];
  auto files = Records(run.trace, "file");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_TRUE(Has(files[0], R"("op":"write","path":")")) << files[0];
  EXPECT_TRUE(Has(files[0], R"(/outside.ini","refused":true})")) << files[0];
  EXPECT_EQ(files[1], R"({"t":0,"ev":"file","op":"read","path":"/etc/passwd","refused":true})");
}

TEST(ScriptsTrace, TheDemoWalkthroughPlaysTheDemosScripts) {
  sl::test::TempFolder dir;
  const std::string demo = std::string(STORYLOOM_SOURCE_DIR) + "/examples/demo";
  auto run = sl::test::RunHeadless(dir, demo, ReadAll(demo + "/walkthrough.events"));
  EXPECT_EQ(run.status, 0);
  auto states = Records(run.trace, "state");
  ASSERT_GE(states.size(), 5u);
  // The harbour's opening script counts the visit and sends the gull off on a timed event.
  EXPECT_TRUE(Has(states[0], R"({"n":2,"text":"Visit 1","visible":true})")) << states[0];
  EXPECT_TRUE(
      Has(states[0],
          R"("timed_events":[{"n":1,"active":true,"enabled":true,"interval":100,"repeat":true}])"))
      << states[0];
  // A second later the gull has flown 60 pixels; a click on it runs its procedure.
  EXPECT_TRUE(Has(states[1], R"({"n":5,"visible":false,"rect":[102,64,32,20]})")) << states[1];
  EXPECT_TRUE(Has(states[1], R"("message":"The gull flies off over the sea, squawking.")"));
  EXPECT_TRUE(Has(states[1], R"("timed_events":[{"n":1,"active":false,)")) << states[1];
  EXPECT_TRUE(Has(states[3], R"({"n":2,"text":"Visit 2","visible":true})")) << states[3];
  bool combined = false;
  for (const std::string& s : states)
    combined = combined || Has(s, R"("message":"You tie the rope fast to the hook: a grapple!")");
  EXPECT_TRUE(combined);
  for (const std::string& box : Records(run.trace, "msgbox"))
    EXPECT_FALSE(Has(box, "\"icon\":\"critical\"")) << box;
}

}  // namespace
