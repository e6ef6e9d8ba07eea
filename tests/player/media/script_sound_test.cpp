// Scripts reaching the sound players through the game window's `MPlayer` controls, on the sound
// fixture run headless: what the players are told, read back as whole trace lines, and the play
// states the scripts saw.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/headless_run.h"

namespace sl {
namespace {

using test::Has;
using test::Records;
using Lines = std::vector<std::string>;

// The debug entry running `code`.
std::string Execute(const std::string& code) {
  return "input " + code + "\nmenu mnuExecuteVBScript\n";
}

// The script's own records of what it saw: the values it stored as the parameter "Seen".
Lines Seen(const std::vector<std::string>& trace) {
  Lines values;
  for (const std::string& r : Records(trace, "setting")) {
    const std::string key = R"("key":"Seen_","value":)";
    std::size_t at = r.find(key);
    if (at != std::string::npos)
      values.push_back(r.substr(at + key.size(), r.size() - 1 - at - key.size()));
  }
  return values;
}

TEST(ScriptSound, ScriptsPlayChangeAndStopTheSoundPlayersAndSeeTheirState) {
  test::TempFolder dir;
  const std::string seen = "Action.SaveParameter \"Seen\", ";
  test::HeadlessRun run = test::RunHeadless(
      dir, "sound_game",
      Execute("Action.AllowControlsReferencesNextTime") +
          // The bell (0.5 s) once on player 3, from a full path as scripts build it.
          Execute("Set P = WindowObject.MPlayer(3): P.FileName = Action.GetPath & "
                  "\"Areas\\bell.wav\": P.PlayCount = 1: P.Volume = -600: P.Play: " +
                  seen + "P.PlayState") +
          "wait 300\n" + Execute(seen + "WindowObject.MPlayer(3).PlayState") +
          // It has ended by itself: the player is free again.
          "wait 300\n" + Execute(seen + "WindowObject.MPlayer(3).PlayState") +
          // The sea without end on player 4, made quieter while it plays, then stopped.
          Execute("With WindowObject.MPlayer(4): .FileName = \"Areas\\sea.wav\": "
                  ".PlayCount = 0: .Play: .Volume = -1200: End With") +
          "wait 2000\n" +
          Execute(seen + "WindowObject.MPlayer(4).PlayState & \" \" & "
                         "WindowObject.MPlayer(4).Volume") +
          Execute("WindowObject.MPlayer(4).Stop: " + seen +
                  "WindowObject.MPlayer(4).PlayState & \" \" & "
                  "TypeName(WindowObject.MPlayer(4))"));
  EXPECT_EQ(run.status, 0) << dir.Read("stderr");
  Lines sounds = Records(run.trace, "sound");
  ASSERT_GE(sounds.size(), 7u);  // the game's reset stops all seven first
  sounds.erase(sounds.begin(), sounds.begin() + 7);
  EXPECT_EQ(
      sounds,
      (Lines{
          R"({"t":0,"ev":"sound","player":3,"op":"volume","volume":-600})",
          R"({"t":0,"ev":"sound","player":3,"op":"play","file":"Areas/bell.wav","count":1,"volume":-600})",
          R"({"t":500,"ev":"sound","player":3,"op":"end"})",
          R"({"t":600,"ev":"sound","player":4,"op":"play","file":"Areas/sea.wav","count":0,"volume":0})",
          R"({"t":600,"ev":"sound","player":4,"op":"volume","volume":-1200})",
          R"({"t":2600,"ev":"sound","player":4,"op":"stop"})",
      }));
  EXPECT_EQ(Seen(run.trace),
            (Lines{"\"2\"", "\"2\"", "\"0\"", "\"2 -1200\"", "\"0 MediaPlayer\""}));
  EXPECT_TRUE(Records(run.trace, "msgbox").empty());
}

TEST(ScriptSound, ThePlayersAreOutOfReachWithoutTheWindow) {
  test::TempFolder dir;
  test::HeadlessRun run =
      test::RunHeadless(dir, "sound_game", Execute("WindowObject.MPlayer(3).Play"));
  EXPECT_EQ(run.status, 0) << dir.Read("stderr");
  Lines sounds = Records(run.trace, "sound");
  EXPECT_EQ(sounds.size(), 7u);  // only the reset's stops
  Lines boxes = Records(run.trace, "msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Has(boxes[0], "Error executing script")) << boxes[0];
}

}  // namespace
}  // namespace sl
