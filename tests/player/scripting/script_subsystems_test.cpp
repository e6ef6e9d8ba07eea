// Procedures reaching the other subsystems through the script API, on a copy of the demo run
// headless: a frame change with a transition, the save and load dialogs, the switches of
// transitions and real-time effects, and StopEverything silencing the sound channels.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/headless_run.h"

namespace sl {
namespace {

namespace fs = std::filesystem;

using test::Has;
using test::Records;

// The debug entry running `code`.
std::string Execute(const std::string& code) {
  return "input " + code + "\nmenu mnuExecuteVBScript\n";
}

TEST(ScriptSubsystems, ProceduresReachTransitionsSavedGamesEffectsAndSound) {
  test::TempFolder dir;
  fs::copy(std::string(STORYLOOM_SOURCE_DIR) + "/examples/demo", dir / "game",
           fs::copy_options::recursive);
  test::HeadlessRun run = test::RunHeadless(
      dir, dir / "game",
      "control Img(0)\n" + Execute("Action.GoToFrame \"Cliff Path\", 0.5, 1") + "wait 1000\n" +
          Execute("Action.PopupSaveGame") + "type Scripted\ncontrol Command2\n" +
          Execute("Action.InvertTransitionsStatus: Action.InvertEffectsStatus: Flag = 1") +
          Execute("Action.GoToFrame \"Harbour\", 0.5, 1") + "wait 1000\n" + "dump\n" +
          Execute("Action.PopupLoadGame") +
          "select List1 Scripted\ncontrol Command2\nwait 3000\ndump\n" +
          Execute("Action.StopEverything") + "dump\n");
  EXPECT_EQ(run.status, 0) << dir.Read("stderr");
  // The first frame change crossed in half a second; the second, with transitions switched
  // off, did not.
  EXPECT_EQ(
      Records(run.trace, "transition"),
      (std::vector<std::string>{
          R"({"t":0,"ev":"transition","number":1,"duration":0.5,"op":"start","start":0})",
          R"({"t":500,"ev":"transition","number":1,"duration":0.5,"op":"end","start":0,"end":500,"interrupted":false})"}));
  std::vector<std::string> switches;
  for (const std::string& s : Records(run.trace, "setting"))
    if (Has(s, R"("key":"Disable)")) switches.push_back(s);
  EXPECT_EQ(
      switches,
      (std::vector<std::string>{
          R"({"t":1000,"ev":"setting","section":"LighthouseDemo","key":"DisableTransitions","value":"True"})",
          R"({"t":1000,"ev":"setting","section":"LighthouseDemo","key":"DisableEffects","value":"True"})"}));
  // The save dialog wrote the game at the cliff; the load dialog brought it back there.
  EXPECT_EQ(
      Records(run.trace, "file"),
      std::vector<std::string>{R"({"t":1000,"ev":"file","op":"write","path":"Scripted.sav"})"});
  std::vector<std::string> windows;
  for (const std::string& w : Records(run.trace, "window"))
    if (Has(w, "frmSaveGame") || Has(w, "frmLoadGame")) windows.push_back(w);
  ASSERT_EQ(windows.size(), 4u);
  EXPECT_TRUE(Has(windows[0], R"("name":"frmSaveGame","shown":true)")) << windows[0];
  EXPECT_TRUE(Has(windows[3], R"("name":"frmLoadGame","shown":false)")) << windows[3];
  std::vector<std::string> states = Records(run.trace, "state");
  ASSERT_EQ(states.size(), 3u);
  EXPECT_TRUE(Has(states[0], R"("frame":"Harbour","history":["Harbour","Cliff Path","Harbour"])"))
      << states[0];
  EXPECT_TRUE(Has(states[1], R"("frame":"Cliff Path","history":["Harbour","Cliff Path"])"))
      << states[1];
  EXPECT_TRUE(Has(states[1], R"("variants":[["Visits",1],)")) << states[1];
  // Everything stops: the media object and all seven sound players.
  std::vector<std::string> stops;
  for (const std::string& line : run.trace)
    if (line.starts_with(R"({"t":5000,"ev":"sound")") ||
        line.starts_with(R"({"t":5000,"ev":"mci")"))
      stops.push_back(line);
  std::vector<std::string> expected = {R"({"t":5000,"ev":"mci","cmd":"Stop "})",
                                       R"({"t":5000,"ev":"mci","cmd":"Close "})"};
  for (int player = 1; player <= 7; ++player)
    expected.push_back(R"({"t":5000,"ev":"sound","player":)" + std::to_string(player) +
                       R"(,"op":"stop"})");
  EXPECT_EQ(stops, expected);
  EXPECT_TRUE(Records(run.trace, "msgbox").empty());
}

}  // namespace
}  // namespace sl
