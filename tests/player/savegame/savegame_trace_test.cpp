// The storyloom program, headless, on copies of the saved-game fixture and of the demo: the
// dialogs' messages and `file` records, a game saved and loaded through the dialogs coming back
// as it was, loading from the title window with a double click, damaged files and failed
// saves, a project folder that cannot be written, and the demo's walkthrough.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/headless_run.h"

namespace sl {
namespace {

namespace fs = std::filesystem;

using test::Has;
using test::Records;

// A copy of a project in a temporary folder, with the player's own data folder beside it.
class CopiedProject {
 public:
  explicit CopiedProject(const fs::path& from) {
    fs::copy(from, Project(), fs::copy_options::recursive);
    if (const char* d = std::getenv("XDG_DATA_HOME")) oldDataHome_ = d;
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  }
  ~CopiedProject() {
    if (oldDataHome_.empty()) {
      unsetenv("XDG_DATA_HOME");
    } else {
      setenv("XDG_DATA_HOME", oldDataHome_.c_str(), 1);
    }
  }
  std::string Project() const { return dir / "game"; }
  test::HeadlessRun Run(const std::string& events, const std::string& launcher = "") {
    test::HeadlessRun run = test::RunHeadless(dir, Project(), events, "", launcher);
    EXPECT_EQ(run.status, 0) << dir.Read("stderr");
    EXPECT_EQ(dir.Read("stderr"), "");
    return run;
  }

  test::TempFolder dir;

 private:
  std::string oldDataHome_;
};

CopiedProject Fixture() {
  return CopiedProject(fs::path(STORYLOOM_TEST_PROJECTS) / "savegame_game");
}

// A trace record without its time.
std::string Untimed(const std::string& record) {
  std::size_t comma = record.find(',');
  return comma == std::string::npos ? record : record.substr(comma + 1);
}

// The records of these kinds, without their times, in order.
std::vector<std::string> Events(const std::vector<std::string>& trace,
                                std::initializer_list<const char*> kinds) {
  std::vector<std::string> out;
  for (const std::string& line : trace) {
    for (const char* kind : kinds) {
      if (Has(line, std::string("\"ev\":\"") + kind + "\"")) out.push_back(Untimed(line));
    }
  }
  return out;
}

// Expected records, without their times.
std::string Window(const std::string& name, bool shown) {
  return R"("ev":"window","name":")" + name + R"(","shown":)" + (shown ? "true" : "false") + "}";
}
std::string File(const std::string& op, const std::string& path) {
  return R"("ev":"file","op":")" + op + R"(","path":")" + path + "\"}";
}
constexpr const char* kInformationOk = R"("icon":"information","buttons":"ok")";
constexpr const char* kQuestion = R"("icon":"question","buttons":"okcancel")";
// A message box; `answer` is the queued answer, or "" for the default button (OK).
std::string Box(const std::string& title, const std::string& jsonText, const char* kind,
                const std::string& answer) {
  std::string answered = answer.empty()
                             ? R"("answer":"default","button":"ok")"
                             : R"("answer":")" + answer + R"(","button":")" + answer + "\"";
  return R"("ev":"msgbox","title":")" + title + R"(","text":")" + jsonText + "\"," + kind + "," +
         answered + "}";
}

TEST(SavegameTrace, EveryMessageOfTheSaveAndLoadDialogs) {
  CopiedProject p = Fixture();
  test::HeadlessRun run = p.Run(
      "control lblButton(0)\n"
      "control Area(1)\n"
      "wait 500\n"  // the action's own wait
      "menu mnuSaveGame\n"
      "control Command2\n"  // no name
      "type One, Two\n"
      "control Command2\n"  // a comma
      "key Backspace\nkey Backspace\nkey Backspace\nkey Backspace\nkey Backspace\n"
      "control Command2\n"  // saved as One
      "menu mnuSaveGame\n"
      "type One\n"
      "answer cancel\n"
      "control Command2\n"  // One exists: not replaced, the window stays
      "answer ok\n"
      "control Command2\n"  // replaced
      "menu mnuSaveGame\n"
      "control Command3\n"  // nothing selected
      "select List1 One\n"
      "answer cancel\n"
      "control Command3\n"  // not removed
      "answer ok\n"
      "control Command3\n"  // removed
      "control Command1\n"
      "menu mnuLoadGame\n"
      "control Command2\n"  // nothing selected
      "control Command1\n");
  std::string path = p.Project() + "/One.sav";
  EXPECT_EQ(
      Events(run.trace, {"msgbox", "file", "window"}),
      (std::vector<std::string>{
          Window("frmWelcome", true),
          Window("frmWelcome", false),
          Window("Game", true),
          Window("frmSaveGame", true),
          Box("Save", "Enter the name of the file you want to save", kInformationOk, ""),
          Box("Fixture Saves",
              R"(Please do not use any of the following characters:\r\n\" \\ / : * ? < > | ,)",
              kInformationOk, ""),
          File("write", "One.sav"),
          Window("frmSaveGame", false),
          Window("frmSaveGame", true),
          Box("Save", "'One' already exists. Do you want to replace it?", kQuestion, "cancel"),
          Box("Save", "'One' already exists. Do you want to replace it?", kQuestion, "ok"),
          File("write", "One.sav"),
          Window("frmSaveGame", false),
          Window("frmSaveGame", true),
          Box("Remove Saved File", "Please select something.", kInformationOk, ""),
          Box("Remove Saved File", "Do you really want to remove '" + path + "'?", kQuestion,
              "cancel"),
          Box("Remove Saved File", "Do you really want to remove '" + path + "'?", kQuestion, "ok"),
          File("delete", "One.sav"),
          Window("frmSaveGame", false),
          Window("frmLoadGame", true),
          Box("Load", "Please select something.", kInformationOk, ""),
          Window("frmLoadGame", false),
          Window("Game", false),  // the script's end ends the program
      }));
  EXPECT_FALSE(p.dir.Exists("game/One.sav"));
}

TEST(SavegameTrace, AGameSavedAndLoadedThroughTheDialogsComesBackAsItWas) {
  CopiedProject p = Fixture();
  p.dir.Write("game/Broken.sav", "\"Hall\"\r\n3\r\n\"Lamp\"\r\n");
  test::HeadlessRun run = p.Run(
      "control lblButton(0)\n"
      "control Area(1)\n"
      "wait 500\n"
      "control Area(2)\n"
      "wait 500\n"
      "dump\n"
      "menu mnuSaveGame\n"
      "type Keep\n"
      "control Command2\n"
      "control Area(1)\n"  // the coin
      "wait 500\n"
      "menu mnuLoadGame\n"
      "select List1 Keep\n"
      "control Command2\n"
      "wait 3000\n"  // the load's pauses
      "dump\n"
      "menu mnuLoadGame\n"
      "select List1 Broken\n"
      "control Command2\n"
      "control Command1\n"
      "dump\n");
  std::vector<std::string> states = Events(run.trace, {"state"});
  ASSERT_EQ(states.size(), 3u);
  EXPECT_TRUE(Has(states[0], R"("frame":"Garden","history":["Hall","Garden"])")) << states[0];
  EXPECT_TRUE(Has(states[0], R"("inventory":["Key"],"disappeared":[["Hall",1]])")) << states[0];
  EXPECT_EQ(states[1], states[0]);
  EXPECT_EQ(states[2], states[0]);
  std::vector<std::string> boxes = Records(run.trace, "msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Has(boxes[0], R"("title":"Error",)"));
  EXPECT_TRUE(Has(boxes[0], "Error description: Unable to load '" + p.Project() +
                                R"(/Broken.sav'.","icon":"critical")"))
      << boxes[0];
}

TEST(SavegameTrace, TheTitleWindowLoadsADoubleClickedGame) {
  CopiedProject p = Fixture();
  p.Run(
      "control lblButton(0)\n"
      "control Area(3)\n"  // the cellar
      "wait 500\n"
      "menu mnuSaveGame\n"
      "type Down\n"
      "control Command2\n");
  test::HeadlessRun run = p.Run(
      "control lblButton(1)\n"
      "dblclick 40 42\n"
      "wait 3000\n"
      "dump\n");
  EXPECT_EQ(Events(run.trace, {"window", "frame"}),
            (std::vector<std::string>{
                Window("frmWelcome", true),
                Window("frmLoadGame", true),
                Window("frmLoadGame", false),
                R"("ev":"frame","name":"Garden"})",  // where the project resumes the cellar
                Window("Game", true),
                Window("frmWelcome", false),
                Window("Game", false),
            }));
  std::vector<std::string> states = Records(run.trace, "state");
  ASSERT_EQ(states.size(), 1u);
  EXPECT_TRUE(Has(states[0], R"("history":["Hall","Cellar","Garden"])")) << states[0];
  EXPECT_TRUE(Has(states[0], R"("windows":["Game"])")) << states[0];
}

TEST(SavegameTrace, ASaveThatCannotBeWrittenSaysSoAndTheWindowStays) {
  CopiedProject p = Fixture();
  fs::create_directory(p.Project() + "/Blocked.sav");
  test::HeadlessRun run = p.Run(
      "control lblButton(0)\n"
      "menu mnuSaveGame\n"
      "type Blocked\n"
      "control Command2\n"
      "dump\n");
  std::vector<std::string> boxes = Records(run.trace, "msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Has(boxes[0], "Unable to save '" + p.Project() +
                                "/Blocked.sav'.\\r\\nVerify that this file is not Read-Only"))
      << boxes[0];
  EXPECT_TRUE(Records(run.trace, "file").empty());
  EXPECT_TRUE(Has(Records(run.trace, "state")[0], R"("windows":["frmSaveGame","Game"])"));
}

// Runs the program as a user who may not write the project folder (for root, who may write
// anywhere, as the nobody user). A saved game that came with the game cannot be removed.
TEST(SavegameTrace, AProjectFolderThatCannotBeWrittenSavesInThePlayersFolder) {
  CopiedProject p = Fixture();
  std::string launcher;
  if (geteuid() == 0) {
    launcher = "setpriv --reuid=65534 --regid=65534 --clear-groups --";
    // Everything but the project may be written by that user.
    chmod(p.dir.Path().c_str(), 0777);
    fs::create_directories(p.dir / "data");
    chmod((p.dir / "data").c_str(), 0777);
  }
  p.dir.Write("game/Shipped.sav", "\"Hall\"\r\n0\r\n0\r\n0\r\n");  // came with the game
  chmod(p.Project().c_str(), 0555);
  test::HeadlessRun run = p.Run(
      "control lblButton(0)\n"
      "control Area(1)\n"
      "wait 500\n"
      "menu mnuSaveGame\n"
      "type Mine\n"
      "control Command2\n"
      "control Area(2)\n"
      "wait 500\n"
      "menu mnuLoadGame\n"
      "select List1 Mine\n"
      "control Command2\n"
      "wait 3000\n"
      "dump\n"
      "menu mnuSaveGame\n"
      "select List1 Shipped\n"
      "answer ok\n"
      "control Command3\n"  // cannot be removed
      "select List1 Mine\n"
      "answer ok\n"
      "control Command3\n"
      "control Command1\n",
      launcher);
  chmod(p.Project().c_str(), 0755);
  std::string saved = p.dir / "data/storyloom/saves/FixtureSaves/Mine.sav";
  EXPECT_EQ(
      Events(run.trace, {"file", "msgbox"}),
      (std::vector<std::string>{
          File("write", saved),
          Box("Remove Saved File",
              "Do you really want to remove '" + p.Project() + "/Shipped.sav'?", kQuestion, "ok"),
          Box("Error",
              "An error has occurred. The program may not work properly. Press 'Esc' and "
              "the click 'Exit' to quit.\\r\\n\\r\\nError description: Unable to remove '" +
                  p.Project() + "/Shipped.sav'.",
              R"("icon":"critical","buttons":"ok")", ""),
          Box("Remove Saved File", "Do you really want to remove '" + saved + "'?", kQuestion,
              "ok"),
          File("delete", saved),
      }));
  std::vector<std::string> states = Records(run.trace, "state");
  ASSERT_EQ(states.size(), 1u);
  EXPECT_TRUE(Has(states[0], R"("frame":"Hall")")) << states[0];
  EXPECT_TRUE(Has(states[0], R"("inventory":["Key"])")) << states[0];
  EXPECT_TRUE(p.dir.Exists("game/Shipped.sav"));
  EXPECT_FALSE(p.dir.Exists("game/Mine.sav"));
}

TEST(SavegameTrace, TheDemoWalkthroughSavesLoadsAndRemovesAndLoadsItsOwnSavedGame) {
  fs::path demo = fs::path(STORYLOOM_SOURCE_DIR) / "examples/demo";
  CopiedProject p(demo);
  std::ifstream in(demo / "walkthrough.events");
  std::ostringstream events;
  events << in.rdbuf();
  test::HeadlessRun run = p.Run(events.str());
  std::vector<std::string> files = Events(run.trace, {"file"});
  EXPECT_EQ(files, (std::vector<std::string>{
                       R"("ev":"file","op":"write","path":"At the door.sav"})",
                       R"("ev":"file","op":"delete","path":"At the door.sav"})",
                   }));
  // The game saved at the door comes back there; the demo's own saved game is in the lamp room.
  std::vector<std::string> states = Records(run.trace, "state");
  auto at = [&](const char* frame) {
    return std::count_if(states.begin(), states.end(), [&](const std::string& s) {
      return Has(s, std::string(R"("frame":")") + frame + "\"");
    });
  };
  EXPECT_GE(at("Lighthouse Door"), 2);
  EXPECT_GE(at("Lamp Room"), 2);
  EXPECT_TRUE(Has(states.back(), R"(["DoorUnlocked",1],["KeyFound",1],["LampLit",0])"))
      << states.back();
  // The walkthrough leaves the game folder as it found it.
  for (const auto& entry : fs::recursive_directory_iterator(p.Project())) {
    fs::path relative = fs::relative(entry.path(), p.Project());
    EXPECT_TRUE(fs::exists(demo / relative)) << relative;
  }
}

}  // namespace
}  // namespace sl
