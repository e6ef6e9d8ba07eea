// The script API object: the request fields, and a representative set of methods with a real
// effect on the game and with their error messages; the path rules for the files scripts name.
#include <gtest/gtest.h>

#include "core/variant_convert.h"
#include "player/scripting/script_fixture.h"
#include "ui/control_array.h"
#include "ui/controls/image.h"
#include "ui/controls/picture_box.h"
#include "ui/form.h"

namespace sl {
namespace {

using test::FixtureCopy;
using test::ScriptRun;

// The standard error report of the script API for `sentence`.
std::string Report(const std::string& sentence) {
  return "An error has occurred. The program may not work properly. Press 'Esc' and the click "
         "'Exit' to quit.\r\n\r\nError description:" +
         sentence;
}

TEST(ScriptApiTest, RequestFieldsAndFrames) {
  ScriptRun run;
  ASSERT_FALSE(
      run.Run("Note = Action.iTransitionNumber & Action.dTransitionDuration & "
              "Action.bStopGame & Action.GetHotspotNumber & Action.GetCurrentFrameName"));
  EXPECT_EQ(run.Text("Note"), "10False0Hall");
  // Fields are written by scripts too; GoToFrame's transition arguments may be left out.
  ASSERT_FALSE(run.Run("Action.sFrameToLoad = \"Cellar\""));
  EXPECT_EQ(run.G().CurrentFrameName, "Cellar");
  ASSERT_FALSE(run.Run("GoToFrame \"Attic\""));
  EXPECT_EQ(run.G().CurrentFrameName, "Attic");
  run.Action().GoToFrame("Hall", 1.5, 7);
  EXPECT_EQ(run.Host().TransitionNumber(), 7);
  EXPECT_EQ(run.Host().TransitionDuration(), 1.5);
  run.Host().ResetModule();
  EXPECT_EQ(run.Action().iTransitionNumber, 1);
  EXPECT_EQ(run.Action().sFrameToLoad, "");
  ASSERT_FALSE(run.Run("Quit"));
  EXPECT_TRUE(run.Host().StopGameRequested());
}

TEST(ScriptApiTest, GameMethods) {
  ScriptRun run;
  ASSERT_FALSE(run.Run(
      "Action.Message \"Ahoy\"\n"
      "Note = Action.GetPath & \"|\" & Action.GetDisplayResolutionX & \"x\" & "
      "Action.GetDisplayResolutionY & \"|\" & Action.GetTransitionsStatus & "
      "Action.GetEffectsStatus & Action.GetMergedHotspotIndex & Action.GetMergedTextIndex & "
      "Action.GetClickPositionX & Action.GetClickPositionY"));
  std::string note = run.Text("Note");
  EXPECT_TRUE(note.starts_with("\\")) << note;
  EXPECT_TRUE(note.ends_with("scripts_game\\|1024x768|TrueTrue1100")) << note;
  PlayerState s = run.player->State();
  ASSERT_TRUE(s.message.has_value());
  EXPECT_EQ(*s.message, "Ahoy");
  ASSERT_FALSE(run.Run("Action.ChangeDisplayResolution 1"));
  EXPECT_EQ(run.platform.display, (ui::Size{640, 480}));
  // Stored parameters live in the settings under the name and "_".
  ASSERT_FALSE(
      run.Run("Action.SaveParameter \"Best\", 3.5\n"
              "Note = Action.LoadParameter(\"Best\", 0) & \"/\" & "
              "Action.LoadParameter(\"Never\", True)"));
  EXPECT_EQ(run.Text("Note"), "3.5/True");
  EXPECT_EQ(run.platform.settings.values["Software|FixtureScripts|Best_"], "3.5");
  EXPECT_TRUE(run.boxes.Shown().empty()) << run.LastBox();
  // Everything stops: the frame is hidden, the menus come, no script runs any more.
  ASSERT_FALSE(run.Run("Action.CreateTimedEvent 1, \"Flag = 1\", True: Action.StopEverything"));
  EXPECT_TRUE(run.G().GameStopping());
  EXPECT_FALSE(run.G().PictureBox().Visible());
  EXPECT_TRUE(run.G().MenusShown());
  run.Wait(3000);
  EXPECT_EQ(run.Integer("Flag"), 0);
}

TEST(ScriptApiTest, Inventory) {
  ScriptRun run;
  ASSERT_FALSE(
      run.Run("Action.AddItem \"Shell\", True: Action.AddItem \"Pearl\": "
              "Action.AddItem \"Shell\", True: Action.AddItem \"Pearl\", True"));
  EXPECT_EQ(run.player->State().inventory,
            (std::vector<std::string>{"Shell", "Pearl", "Shell", "Pearl"}));
  // The item's name is lower-cased for the comparison, the name asked for is not.
  ASSERT_FALSE(run.Run("Action.RemoveItem \"Shell\", True"));
  EXPECT_EQ(run.player->State().inventory.size(), 4u);
  ASSERT_FALSE(run.Run("Action.RemoveItem \"shell\", False"));
  EXPECT_EQ(run.player->State().inventory, (std::vector<std::string>{"Shell", "Pearl", "Pearl"}));
  ASSERT_FALSE(run.Run("Action.RemoveItem \"pearl\", True"));
  EXPECT_EQ(run.player->State().inventory, std::vector<std::string>{"Shell"});
  ASSERT_FALSE(run.Run("Action.AddItem \"Pearl\", True: Action.RemoveAllItems"));
  EXPECT_TRUE(run.player->State().inventory.empty());
  ASSERT_FALSE(run.Run("Action.HideInventoryButton"));
  EXPECT_FALSE(run.G().Form().FindControl("Inventory2")->Visible());
  EXPECT_TRUE(run.boxes.Shown().empty()) << run.LastBox();
}

TEST(ScriptApiTest, ControlsPicturesAndCursor) {
  ScriptRun run;
  ASSERT_FALSE(
      run.Run("Action.LoadAPicture Hotspot(1), \"gull.BMP\"\n"
              "Set p = Action.LoadGraphicFile(\"Gull.bmp\")\n"
              "Note = TypeName(p) & Round(p.Width / 26.4583) & TypeName(Hotspot(1).Picture)"));
  EXPECT_EQ(run.Text("Note"), "Picture8Picture");
  auto& area = static_cast<ui::Image&>(run.G().Form().FindArray("Area")->Item(1));
  EXPECT_EQ(area.Picture().Width(), 8);
  // The default cursor: every hotspot takes it.
  ASSERT_FALSE(run.Run("Action.ChangeDefaultCursor \"Eye.cur\""));
  EXPECT_EQ(run.player->GetProject().Info().DefaultPointer, "Eye.cur");
  EXPECT_EQ(area.MousePointer(), 99);
  ASSERT_FALSE(run.Run("Action.ChangeDefaultCursor \"Default\""));
  EXPECT_EQ(area.MousePointer(), 0);
  EXPECT_TRUE(run.boxes.Shown().empty()) << run.LastBox();
  // Errors of the methods with a message of their own.
  ASSERT_FALSE(run.Run("Action.CreateObject Hotspot(1)"));
  EXPECT_EQ(run.LastBox(), Report(" Error creating the object. Object already loaded"));
  ASSERT_FALSE(run.Run("Action.DeleteObject Hotspot(0)"));
  EXPECT_EQ(run.LastBox(),
            Report(" Error deleting the object. Can't unload controls created at design time"));
  ASSERT_FALSE(run.Run("Action.LoadAPicture Action, \"Gull.bmp\""));
  EXPECT_TRUE(run.LastBox().ends_with("/Areas/Gull.bmp'.\r\n\r\nObject required")) << run.LastBox();
  // A hotspot deleted is gone; the visibility pass that follows the script misses it.
  ASSERT_FALSE(run.Run("Action.DeleteObject Hotspot(5)"));
  EXPECT_EQ(run.G().Form().FindArray("Area")->Count(), 5);
  EXPECT_TRUE(run.LastBox().ends_with("Control array element '5' doesn't exist")) << run.LastBox();
}

TEST(ScriptApiTest, IniFilesAndListings) {
  FixtureCopy game;
  ScriptRun run(game.dir.Path());
  ASSERT_FALSE(
      run.Run("Note = Action.ReadINI(\"game.ini\", \"scores\", \"BEST\") & \"|\" & "
              "Len(Action.ReadINI(\"Game.ini\", \"Scores\", \"Long\")) & \"|\" & "
              "Action.ReadINI(\"Game.ini\", \"Scores\", \"\") & "
              "Action.ReadINI(\"None.ini\", \"Scores\", \"Best\")"));
  EXPECT_EQ(run.Text("Note"), "42|254|");
  ASSERT_FALSE(run.Run("Flag = Action.WriteINI(\"Saves\\Slot.ini\", \"Game\", \"Frame\", 12)"));
  EXPECT_EQ(run.Integer("Flag"), 0);
  EXPECT_EQ(game.dir.Read("Saves/Slot.ini"), "");  // no folder Saves: the failure is ignored
  ASSERT_FALSE(run.Run("Action.WriteINI \"Game.ini\", \"Game\", \"Frame\", 12"));
  EXPECT_TRUE(game.dir.Read("Game.ini").ends_with("[Game]\r\nFrame=12\r\n"))
      << game.dir.Read("Game.ini");
  ASSERT_FALSE(
      run.Run("Note = Action.DDir(\"*.INI\", 0) & \"|\" & Action.DDir(\"\", 0) & \"|\" & "
              "Action.DDir(\"Docs\\*.*\", 0) & \"|\" & Action.DDir(\"*\", 16)"));
  EXPECT_EQ(run.Text("Note"), "Game.ini||Readme.txt|Areas");
  EXPECT_TRUE(run.boxes.Shown().empty()) << run.LastBox();
}

TEST(ScriptApiTest, FilesOutsideTheGameAreRefused) {
  FixtureCopy game;
  ScriptRun run(game.dir.Path() + "/");
  std::string outside = game.dir.Path() + "/../scripts-outside.ini";
  ASSERT_FALSE(
      run.Run("Action.WriteINI \"..\\scripts-outside.ini\", \"S\", \"K\", 1\n"
              "Action.WriteINI \"C:\\autoexec.ini\", \"S\", \"K\", 1\n"
              "Note = Action.ReadINI(\"/etc/passwd\", \"root\", \"x\") & "
              "Action.DDir(\"/etc/*\", 0) & "
              "TypeName(Action.LoadGraphicFile(\"..\\..\\..\\Config\\General\"))"));
  EXPECT_FALSE(std::filesystem::exists(outside));
  EXPECT_EQ(run.Text("Note"), "Nothing");
  ASSERT_FALSE(run.Run("Action.OpenFile \"..\\..\\secret.txt\""));
  EXPECT_EQ(run.LastBox(), Report(" Error opening the file titled '..\\..\\secret.txt'.\r\n\r\n"
                                  "Path/File access error"));
  ASSERT_FALSE(run.Run("Action.OpenFile \"Missing.txt\""));
  EXPECT_EQ(run.LastBox(),
            Report(" Error opening the file titled 'Missing.txt'.\r\n\r\nFile not found"));
  // A link inside the game that leads out of it is outside too.
  std::filesystem::create_symlink("/etc", game.dir / "Etc");
  ASSERT_FALSE(run.Run(
      "Note = Len(Action.ReadINI(\"Etc\\passwd\", \"a\", \"b\")) & Action.DDir(\"Etc\\*\", 0)"));
  EXPECT_EQ(run.Text("Note"), "0");
}

}  // namespace
}  // namespace sl
