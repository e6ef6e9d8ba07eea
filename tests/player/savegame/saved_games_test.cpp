// Saving and loading a game in the running player: the state comes back exactly (-1 too), a
// write that fails half-way keeps the earlier saved game, the load window closed in any way but
// LOAD gives the frame timer back, a procedure's load request waits for its timer objects, the
// dialogs' captions in both wordings, and loading from the title window with the display switch
// and the resume frame.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "core/variant_convert.h"
#include "player/game_fixture.h"
#include "player/savegame/load_game_dialog.h"
#include "player/savegame/save_game_dialog.h"
#include "support/temp_folder.h"
#include "ui/control_array.h"
#include "ui/controls/command_button.h"
#include "ui/controls/label.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/form.h"

namespace sl {
namespace {

namespace fs = std::filesystem;

// A fixture project copied to a temporary folder (saving writes into it), with the player's
// own data folder inside that folder too.
class SaveRun {
 public:
  explicit SaveRun(const char* fixture = "savegame_game", const char* texts = nullptr) {
    fs::copy(fs::path(STORYLOOM_TEST_PROJECTS) / fixture, dir.Path() + "/game",
             fs::copy_options::recursive);
    if (texts) dir.Write("game/Config/Texts", texts);
    if (const char* d = std::getenv("XDG_DATA_HOME")) oldDataHome_ = d;
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    run = std::make_unique<test::GameRun>(dir / "game");
  }
  ~SaveRun() {
    run.reset();
    if (oldDataHome_.empty()) {
      unsetenv("XDG_DATA_HOME");
    } else {
      setenv("XDG_DATA_HOME", oldDataHome_.c_str(), 1);
    }
  }

  SavedGames& Saves() { return run->player->Saves(); }
  std::int64_t Now() { return run->platform.clock.MonotonicMs(); }
  Game& G() { return run->G(); }
  PlayerState State() { return run->player->State(); }
  void StartGame() {
    run->Start();
    run->Title().ClickButton(0);
  }
  // Input for `afterMs` after the next step that opens a modal window (Menu, Key, Then): its
  // answers. The test platform delivers input in the order it was posted, so they are posted
  // only after what opens the window.
  void Later(std::int64_t afterMs, ui::InputEvent e) { later_.emplace_back(afterMs, std::move(e)); }
  void LaterClick(std::int64_t afterMs, const std::string& control) {
    ui::InputEvent e;
    e.kind = ui::InputKind::ControlAction;
    e.target = control;
    Later(afterMs, e);
  }
  void LaterSelect(std::int64_t afterMs, const std::string& list, const std::string& entry) {
    ui::InputEvent e;
    e.kind = ui::InputKind::SelectItem;
    e.target = list;
    e.text = entry;
    Later(afterMs, e);
  }
  void Menu(const std::string& name) {
    ui::InputEvent e;
    e.kind = ui::InputKind::MenuCommand;
    e.target = name;
    PostThenAnswers(e);
  }
  void CtrlKey(int code) {
    ui::InputEvent e;
    e.kind = ui::InputKind::KeyDown;
    e.keyCode = code;
    e.shift = ui::kCtrlMask;
    PostThenAnswers(e);
    e.kind = ui::InputKind::KeyUp;
    run->Post(e);
  }
  // Runs `step` (a direct call that opens a modal window) with the answers posted.
  template <class F>
  void Then(F&& step) {
    PostAnswers();
    step();
  }
  SavedGameFile File(const std::string& name) { return {name, dir / ("game/" + name + ".sav"), 0}; }

  test::TempFolder dir;
  std::unique_ptr<test::GameRun> run;

 private:
  void PostAnswers() {
    std::int64_t now = Now();
    for (auto& [afterMs, e] : later_)
      run->platform.Post(std::move(e), now + afterMs);
    later_.clear();
  }
  void PostThenAnswers(ui::InputEvent e) {
    run->platform.Post(std::move(e));
    PostAnswers();
    run->Loop().DoEvents();
  }

  std::vector<std::pair<std::int64_t, ui::InputEvent>> later_;
  std::string oldDataHome_;
};

TEST(SavedGames, SavingAndLoadingGiveTheGameBackExactly) {
  SaveRun s;
  s.StartGame();
  s.run->Control("Area(1)");  // the key: Lamp on, the hotspot gone
  s.run->Control("Area(2)");  // to the garden
  VariableStore& vars = s.run->player->Variables();
  vars.SetVariableValue("Flag", -1);
  vars.ChangeVariableVariantValue("Score", Variant(2.75));
  vars.ChangeVariableVariantValue("Note", Variant("a, \"b\""));
  PlayerState before = s.State();
  ASSERT_EQ(before.frame, "Garden");
  ASSERT_EQ(before.inventory, (std::vector<std::string>{"Key"}));
  ASSERT_TRUE(s.Saves().SaveGame("One"));
  EXPECT_TRUE(s.run->boxes.Shown().empty());
  EXPECT_TRUE(s.dir.Read("game/One.sav").starts_with("\"Garden\"\r\n3\r\n\"Lamp\"\r\n1\r\n"));

  s.run->Control("Area(1)");  // the coin
  s.Saves().LoadGame(s.File("One"));
  PlayerState after = s.State();
  EXPECT_EQ(after.frame, "Garden");
  EXPECT_EQ(after.variables, before.variables);
  EXPECT_EQ(after.variables[2], (std::pair<std::string, int>{"Flag", -1}));
  EXPECT_EQ(after.disappeared, before.disappeared);
  EXPECT_EQ(after.inventory, before.inventory);
  EXPECT_EQ(after.history, before.history);
  ASSERT_EQ(after.variants.size(), 2u);
  EXPECT_EQ(after.variants[0].second.AsDouble(), 2.75);
  EXPECT_EQ(ToUtf8(after.variants[1].second), "a, 'b'");  // the notation holds no quote
  EXPECT_TRUE(after.frameTimerEnabled);
  EXPECT_TRUE(s.G().Form().Visible());
  EXPECT_TRUE(s.G().PictureBox().Visible());
  EXPECT_FALSE(s.run->Title().Form().Visible());
  EXPECT_EQ(s.run->platform.cursor, 0);
}

TEST(SavedGames, AWriteThatFailsHalfWayKeepsTheEarlierSavedGame) {
  SaveRun s;
  s.StartGame();
  ASSERT_TRUE(s.Saves().SaveGame("One"));
  std::string earlier = s.dir.Read("game/One.sav");
  s.run->Control("Area(1)");
  // Files of this process may not grow beyond 40 bytes for a moment: the write fails.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 40;
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  bool saved = s.Saves().SaveGame("One");
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved);
  EXPECT_EQ(s.dir.Read("game/One.sav"), earlier);
  for (const auto& entry : fs::directory_iterator(s.dir / "game"))
    EXPECT_FALSE(entry.path().filename().string().starts_with(".One.sav")) << entry.path();
  ASSERT_EQ(s.run->boxes.Shown().size(), 1u);
  const MessageBoxRequest& box = s.run->boxes.Shown()[0];
  EXPECT_EQ(box.title, "Error");
  EXPECT_EQ(box.icon, MsgIcon::Critical);
  EXPECT_TRUE(box.text.ends_with(
      "Error description: Unable to save '" + s.dir / "game/One.sav" +
      "'.\r\nVerify that this file is not Read-Only and that it does not contain any of the "
      "following characters: \" \\ / : * ? < > | ,"))
      << box.text;
}

TEST(SavedGames, TheLoadWindowClosedAnyWayButLoadGivesTheFrameTimerBack) {
  SaveRun s;
  s.StartGame();
  s.run->Control("Area(2)");  // the garden: back to the hall by its timer after 5 s
  ASSERT_TRUE(s.G().Timer1().TimerEnabled());
  // Its close box, 6 s later: the frame timer did not run meanwhile.
  ui::InputEvent close;
  close.kind = ui::InputKind::CloseWindow;
  s.Later(6000, close);
  std::int64_t opened = s.Now();
  s.Menu("mnuLoadGame");
  EXPECT_EQ(s.Now() - opened, 6000);
  EXPECT_TRUE(s.Saves().LoadCancelled());
  EXPECT_EQ(s.G().CurrentFrameName, "Garden");
  EXPECT_TRUE(s.G().Timer1().TimerEnabled());
  EXPECT_FALSE(s.Saves().LoadDialog().Form().Loaded());
  // Cancel, and Ctrl+L.
  s.LaterClick(6000, "Command1");
  opened = s.Now();
  s.CtrlKey('L');
  EXPECT_EQ(s.Now() - opened, 6000);
  EXPECT_EQ(s.G().CurrentFrameName, "Garden");
  EXPECT_TRUE(s.G().Timer1().TimerEnabled());
  s.run->Wait(5000);
  EXPECT_EQ(s.G().CurrentFrameName, "Hall");
}

TEST(SavedGames, AProcedureCannotOpenTheLoadWindowWhileOneOfItsTimersRuns) {
  SaveRun s;
  s.StartGame();
  auto& timer = static_cast<ui::TimerControl&>(s.G().Form().FindArray("TimerObject")->Load(1));
  timer.SetInterval(1000);
  timer.SetEnabled(true);
  s.LaterClick(100, "Command1");  // closes it were it shown, else the next one
  s.Saves().SetLoadCancelled(false);
  s.Then([&] { s.Saves().ShowLoadGameWindow(LoadGameCaller::Script); });
  EXPECT_FALSE(s.Saves().LoadCancelled());  // never shown, never closed
  timer.SetEnabled(false);
  s.Saves().ShowLoadGameWindow(LoadGameCaller::Script);
  EXPECT_TRUE(s.Saves().LoadCancelled());
}

TEST(SavedGames, TheSaveWindowHoldsTheTimedEventsOnlyForTheMenu) {
  SaveRun s;
  s.StartGame();
  s.run->Control("Area(2)");
  s.LaterClick(6000, "Command1");
  std::int64_t opened = s.Now();
  s.Menu("mnuSaveGame");
  EXPECT_EQ(s.Now() - opened, 6000);
  EXPECT_EQ(s.G().CurrentFrameName, "Garden");
  EXPECT_TRUE(s.G().Timer1().TimerEnabled());
  s.LaterClick(6000, "Command1");
  s.Then([&] { s.Saves().ShowSaveGameWindow(SaveGameCaller::Script); });
  EXPECT_EQ(s.G().CurrentFrameName, "Garden");
  s.run->Wait(5000);
  EXPECT_EQ(s.G().CurrentFrameName, "Hall");
}

std::vector<std::string> Captions(ui::Form& form, std::initializer_list<const char*> names) {
  std::vector<std::string> captions{form.Caption()};
  for (const char* name : names) {
    ui::Control* c = form.FindControl(name);
    if (auto* label = dynamic_cast<ui::Label*>(c)) captions.push_back(label->Caption());
    if (auto* button = dynamic_cast<ui::CommandButton*>(c)) captions.push_back(button->Caption());
  }
  return captions;
}

TEST(SavedGames, DialogsTakeTheirCaptionsInBothWordings) {
  for (const char* texts : {"0\r\n", "1\r\n"}) {
    bool game = texts[0] == '1';
    SaveRun s("savegame_game", texts);
    s.StartGame();
    s.LaterClick(100, "Command1");
    s.Menu("mnuSaveGame");
    EXPECT_EQ(
        Captions(s.Saves().SaveDialog().Form(), {"Label2", "Command2", "Command1", "Command3"}),
        (std::vector<std::string>{game ? "Save the current game" : "Save",
                                  game ? "Enter the name of the game you want to save"
                                       : "Enter the name of the file you want to save",
                                  "SAVE", "Cancel", "Remove Selected"}));
    s.LaterClick(100, "Command1");
    s.Menu("mnuLoadGame");
    EXPECT_EQ(Captions(s.Saves().LoadDialog().Form(), {"Label1", "Command2", "Command1"}),
              (std::vector<std::string>{game ? "Load a previously saved game" : "Load",
                                        game ? "Select the game you wish to load and click 'LOAD'"
                                             : "Select the file you wish to load and click 'LOAD'",
                                        "LOAD", "Cancel"}));
    // Centred on the 1024 x 768 screen.
    ui::Form& f = s.Saves().LoadDialog().Form();
    EXPECT_NEAR(f.Left(), (1024 * 15 - f.Width()) / 2, 1);
    EXPECT_NEAR(f.Top(), (768 * 15 - f.Height()) / 2, 1);
  }
}

TEST(SavedGames, LoadingFromTheTitleWindowSwitchesTheDisplayAndResumesWhereTheProjectSays) {
  SaveRun s("savegame_offer");
  s.StartGame();
  EXPECT_EQ(s.run->platform.display, (ui::Size{800, 600}));  // the offer, when starting
  s.run->Control("Area(3)");                                 // the cellar
  ASSERT_TRUE(s.Saves().SaveGame("Down"));
  s.run->Key('Q', ui::kCtrlMask);  // back to the title window, the display as it was
  s.run->Wait(500);
  ASSERT_TRUE(s.run->Title().Form().Visible());
  ASSERT_EQ(s.run->platform.display, (ui::Size{1024, 768}));

  s.LaterSelect(100, "List1", "Down");
  s.LaterClick(200, "Command2");
  s.Then([&] { s.run->Title().ClickButton(1); });
  EXPECT_EQ(s.run->platform.display, (ui::Size{800, 600}));
  EXPECT_EQ(s.G().CurrentFrameName, "Garden");  // the later of two pairs for "Cellar"
  EXPECT_EQ(s.State().history, (std::vector<std::string>{"Hall", "Cellar", "Garden"}));
  EXPECT_TRUE(s.G().Form().Visible());
  EXPECT_FALSE(s.run->Title().Form().Visible());
  EXPECT_FALSE(s.Saves().LoadDialog().Form().Loaded());
}

TEST(SavedGames, WithoutTheTitleScreenALoadSwitchesToWhatAProcedureAskedFor) {
  SaveRun s;
  s.StartGame();
  ASSERT_TRUE(s.Saves().SaveGame("One"));
  s.run->player->GetProject().MutableInfo().SkipTitleScreen = true;
  s.Saves().ChangeDisplayResolutionOnLoadGame(1);
  s.Saves().LoadGame(s.File("One"));
  EXPECT_EQ(s.run->platform.display, (ui::Size{640, 480}));
  EXPECT_EQ(s.Saves().LoadGameResolution(), 0);  // the reset forgot it
}

TEST(SavedGames, AShortFileKeepsWhatTheResetLeftAndADamagedOneChangesNothing) {
  SaveRun s;
  s.StartGame();
  s.run->Control("Area(2)");
  s.dir.Write("game/Short.sav", "\"Hall\"\r\n1\r\n\"Door\"\r\n1\r\n0\r\n1\r\n\"Coin\"\r\n");
  s.Saves().LoadGame(s.File("Short"));
  PlayerState loaded = s.State();
  EXPECT_EQ(loaded.frame, "Hall");
  EXPECT_EQ(loaded.history, (std::vector<std::string>{"Hall"}));
  EXPECT_EQ(loaded.inventory, (std::vector<std::string>{"Coin"}));
  EXPECT_EQ(loaded.variables[1], (std::pair<std::string, int>{"Door", 1}));

  s.run->Control("Area(2)");
  PlayerState before = s.State();
  s.dir.Write("game/Broken.sav", "\"Hall\"\r\n5\r\n\"Door\"\r\n");
  s.Saves().LoadGame(s.File("Broken"));
  ASSERT_EQ(s.run->boxes.Shown().size(), 1u);
  EXPECT_TRUE(s.run->boxes.Shown()[0].text.ends_with(" Unable to load '" +
                                                     s.dir / "game/Broken.sav" + "'."));
  EXPECT_EQ(s.State().frame, before.frame);
  EXPECT_EQ(s.State().history, before.history);
  EXPECT_EQ(s.State().inventory, before.inventory);
}

}  // namespace
}  // namespace sl
