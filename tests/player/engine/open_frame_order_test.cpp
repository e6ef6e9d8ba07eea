// The order in which a frame opening drives the subsystems, its checkpoints, the opening
// script's quit request, music that goes on across frames, and the save and load keys.
#include <gtest/gtest.h>

#include <algorithm>

#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "ui/controls/timer_control.h"

namespace sl {
namespace {

using test::GameRun;

// Every subsystem at once, writing each call to one log.
struct Recorder : HotspotSubsystem,
                  TextSubsystem,
                  VariableSubsystem,
                  ScriptSubsystem,
                  SoundSubsystem,
                  VideoSubsystem,
                  EffectsSubsystem,
                  InventorySubsystem,
                  SaveGameSubsystem {
  std::vector<std::string> log;
  std::function<void(const std::string&)> onCall;
  bool quitFromScript = false;
  int videoPolls = 0;

  void Note(const std::string& s) {
    log.push_back(s);
    if (onCall) onCall(s);
  }
  void ResetFrameAreas() override { Note("ResetFrameAreas"); }
  void LoadAreas() override { Note("LoadAreas"); }
  void ShowOrNotShowAreas() override { Note("ShowOrNotShowAreas"); }
  void ResetFrameTexts() override { Note("ResetFrameTexts"); }
  void LoadTexts() override { Note("LoadTexts"); }
  bool HasVariable(const std::string& name) override {
    Note("HasVariable " + name);
    return true;
  }
  void ResetModule() override { Note("ResetModule"); }
  bool ExecuteVBScript(const std::string& text, bool) override {
    Note("Execute " + text);
    return false;
  }
  bool StopGameRequested() override { return quitFromScript; }
  void ResetTimedEvents() override { Note("ResetTimedEvents"); }
  void StartTimedEvents() override { Note("StartTimedEvents"); }
  void PauseTimedEvents() override { Note("PauseTimedEvents"); }
  void ApplyChannelChanges() override { Note("ApplyChannelChanges"); }
  void PlayMovieWithStop(const std::string& file, ui::Control& target, bool stretched, int, int,
                         int, int) override {
    Note("Play " + file.substr(file.rfind('/') + 1) + " in " + target.Name() +
         (stretched ? " stretched" : ""));
  }
  // The video plays for two polls of the wait.
  std::string Status() override { return ++videoPolls <= 2 ? "Playing" : "stopped"; }
  bool LoadWaveEffectIfAny(const std::string& frame) override {
    Note("LoadWaveEffectIfAny " + frame);
    return false;
  }
  void BringToFront() override { Note("BringToFront"); }
  void ShowSaveGameWindow(SaveGameCaller caller) override {
    Note(caller == SaveGameCaller::GameMenu ? "SaveFromMenu" : "SaveFromScript");
  }
  void ShowLoadGameWindow(LoadGameCaller caller) override {
    Note(caller == LoadGameCaller::TitleWindow ? "LoadFromTitle"
         : caller == LoadGameCaller::GameMenu  ? "LoadFromMenu"
                                               : "LoadFromScript");
  }
};

struct OrderRun : GameRun {
  Recorder r;
  explicit OrderRun(const char* project = "game_order") : GameRun(project) {
    GameSubsystems& s = player->Subsystems();
    s.hotspots = &r;
    s.texts = &r;
    s.variables = &r;
    s.scripts = &r;
    s.sound = &r;
    s.video = &r;
    s.effects = &r;
    s.inventory = &r;
    s.savegame = &r;
  }
  std::vector<std::string> OpeningLog() {
    // From the last opening's timed-event reset on.
    auto last = std::find(r.log.rbegin(), r.log.rend(), "ResetTimedEvents");
    if (last == r.log.rend()) return {};
    return {last.base() - 1, r.log.end()};
  }
};

TEST(OpenFrameOrderTest, SubsystemsAreCalledInTheOpeningsOrder) {
  OrderRun run;
  run.Start();
  EXPECT_EQ(run.OpeningLog(), (std::vector<std::string>{
                                  "ResetTimedEvents", "HasVariable allowcontrolsreferences",
                                  "ResetFrameTexts", "ResetFrameAreas", "LoadTexts", "LoadAreas",
                                  "ResetModule", "Execute Say \"one\"", "ShowOrNotShowAreas",
                                  "BringToFront", "LoadWaveEffectIfAny One", "ApplyChannelChanges",
                                  "Play Intro.avi in PictureBox stretched", "StartTimedEvents"}));
  EXPECT_EQ(run.G().ControlsReferencesMode, 2);
  EXPECT_GE(run.r.videoPolls, 3);
  // After the reset's stop of all seven players: music on player 6 looping at level 7, then
  // the frame sound once on player 7 at level 8.
  ASSERT_EQ(run.sounds.size(), 11u);
  EXPECT_EQ(run.sounds[0], "stop 1");
  EXPECT_EQ(run.sounds[6], "stop 7");
  EXPECT_EQ(run.sounds[7], "stop 6");
  EXPECT_TRUE(run.sounds[8].starts_with("play 6 ")) << run.sounds[8];
  EXPECT_TRUE(run.sounds[8].ends_with("Areas/Theme.mid 0 -1200")) << run.sounds[8];
  EXPECT_EQ(run.sounds[9], "stop 7");
  EXPECT_TRUE(run.sounds[10].starts_with("play 7 ")) << run.sounds[10];
  EXPECT_TRUE(run.sounds[10].ends_with("Frames/Bell.wav 1 -800")) << run.sounds[10];
  // The next frame names the same music: it goes on without a restart.
  run.sounds.clear();
  run.Wait(1000);
  EXPECT_EQ(run.G().CurrentFrameName, "Two");
  for (const std::string& s : run.sounds)
    EXPECT_FALSE(s.starts_with("play")) << s;
  EXPECT_EQ(run.frames, (std::vector<std::string>{"One", "Two"}));
}

TEST(OpenFrameOrderTest, QuitFromTheOpeningScriptStopsTheOpeningAndUnloads) {
  OrderRun run;
  run.r.quitFromScript = true;
  run.Start();
  std::vector<std::string> log = run.OpeningLog();
  EXPECT_EQ(log.back(), "Execute Say \"one\"");
  EXPECT_FALSE(run.G().Timer1().TimerEnabled());
  run.Wait(100);
  EXPECT_TRUE(run.player->Ended());  // the title screen is skipped: the program ends
}

TEST(OpenFrameOrderTest, GameStoppingEndsTheOpeningAtTheNextCheckpoint) {
  OrderRun run;
  run.r.onCall = [&run](const std::string& call) {
    if (call == "LoadTexts") run.G().SetGameStopping();
  };
  run.Start();
  std::vector<std::string> log = run.OpeningLog();
  EXPECT_EQ(log.back(), "LoadTexts");
  EXPECT_TRUE(run.boxes.Shown().empty());  // no report while the game stops
  EXPECT_FALSE(run.G().Timer1().TimerEnabled());
}

TEST(OpenFrameOrderTest, SaveAndLoadKeysFollowTheProjectsButtons) {
  OrderRun run("game_frames");
  run.Start();
  run.Title().ClickButton(1);
  run.Title().ClickButton(0);
  run.r.log.clear();
  run.Key('S', ui::kCtrlMask);
  run.Key('L', ui::kCtrlMask);
  EXPECT_EQ(run.r.log, (std::vector<std::string>{"SaveFromMenu", "LoadFromMenu"}));
  OrderRun hidden("game_scheme");  // its project hides the Load button
  hidden.Start();
  hidden.Title().ClickButton(0);
  hidden.r.log.clear();
  hidden.Key('L', ui::kCtrlMask);
  EXPECT_TRUE(hidden.r.log.empty());
}

TEST(OpenFrameOrderTest, TitleLoadButtonOpensTheLoadDialog) {
  OrderRun run("game_frames");
  run.Start();
  run.r.log.clear();
  run.Title().ClickButton(1);
  EXPECT_EQ(run.r.log, (std::vector<std::string>{"LoadFromTitle"}));
}

}  // namespace
}  // namespace sl
