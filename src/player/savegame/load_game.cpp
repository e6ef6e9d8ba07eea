// Loading a saved game, step by step: the file read whole first; the game window made ready
// behind an hourglass; the display switched when the game asks for it; the game reset with
// fresh variables; the saved state restored; the load window closed and the saved frame opened;
// the game window shown. The pauses between the steps let the window catch up, as games
// expect.
#include "core/file_io.h"
#include "core/runtime_error.h"
#include "player/display/resolutions.h"
#include "player/engine/game.h"
#include "player/savegame/load_game_dialog.h"
#include "player/savegame/saved_games.h"
#include "player/startup/project.h"
#include "player/startup/title_window.h"
#include "player/variables/variable_store.h"
#include "ui/controls/picture_box.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr std::int64_t kPauseBetweenStepsMs = 300;
constexpr int kPointerDefault = 0;
constexpr int kPointerArrowAndHourglass = 13;

}  // namespace

void SavedGames::LoadGame(const SavedGameFile& file) {
  if (loading_) return;  // LOAD pressed again during the pauses of a load
  SavedGame saved;
  try {
    saved = ReadSavedGame(ReadWholeFile(file.path));
  } catch (const RuntimeError&) {
    // A damaged or unreadable file changes nothing of the game being played.
    c_.project.ShowError(" Unable to load '" + file.path + "'.");
    return;
  }
  loading_ = true;
  try {
    Game& game = PrepareGameWindow();
    SwitchDisplayForLoad();
    ResetForLoad(game);
    RestoreSavedGame(game, saved);
    ResumeSavedGame(game, saved.frame);
  } catch (const std::exception&) {
    c_.project.ShowError(" Unable to load '" + file.path + "'.");
  }
  c_.windows.SetScreenPointer(kPointerDefault);
  loading_ = false;
}

void SavedGames::PauseBetweenSteps() {
  c_.windows.Loop().Sleep(kPauseBetweenStepsMs);
}

Game& SavedGames::PrepareGameWindow() {
  Game& game = c_.game();
  game.Load();
  game.PictureBox().SetVisible(false);
  c_.windows.SetScreenPointer(kPointerArrowAndHourglass);
  PauseBetweenSteps();
  return game;
}

// A game whose title screen is skipped switches to the size a procedure asked for; otherwise the
// title screen's offer decides, as when a game is started.
void SavedGames::SwitchDisplayForLoad() {
  const ProjectInformation& info = c_.project.Info();
  if (info.SkipTitleScreen) {
    if (loadGameResolution_ != 0) c_.display.ChangeResolutionTo(loadGameResolution_);
  } else if (c_.title.ResolutionSwitchChosen()) {
    loadDialog_->Form().Hide();
    c_.title.Form().Hide();
    c_.display.ChangeResolutionTo(info.TargetResolution + 1);
  }
}

void SavedGames::ResetForLoad(Game& game) {
  PauseBetweenSteps();
  game.ResetAll();
  PauseBetweenSteps();
  c_.variables.LoadVariables();
  PauseBetweenSteps();
}

void SavedGames::RestoreSavedGame(Game& game, const SavedGame& saved) {
  // Values come back as they were saved: -1 stays -1 (no toggle).
  c_.variables.SetVariableValues(saved.variables);
  for (const auto& [frame, number] : saved.disappeared)
    c_.variables.Disappear.Add(frame, number);
  for (const std::string& item : saved.inventory)
    game.Subsystems().inventory->AddPickedObject(item, false);
  if (saved.sections >= SavedGameSections::UpToHistory) game.SetFramesHistory(saved.history);
  if (saved.sections == SavedGameSections::All) {
    c_.variables.SetVariantValues(saved.variants);
  }
}

void SavedGames::ResumeSavedGame(Game& game, const std::string& savedFrame) {
  loadDialog_->Form().Unload();
  PauseBetweenSteps();
  game.OpenFrame(GetResumeLocation(savedFrame));
  PauseBetweenSteps();
  loadCancelled_ = false;
  // The frame may have ended the game already (its opening procedure quit): the title window
  // or the end of the program took over then.
  if (!game.Loaded()) return;
  game.PictureBox().SetVisible(true);
  game.Show();
  if (!c_.project.Info().SkipTitleScreen) c_.title.Form().Hide();
  PauseBetweenSteps();
}

}  // namespace sl
