// Saved games: the subsystem behind the game window's Save and Load menus, the title window's
// Load button and the procedures' save and load requests. It opens the save and load dialogs,
// holding the frame timer and timed events as each caller needs; writes the game being played
// as a saved game, all or nothing; and loads one: the game is reset, the saved state restored
// and the saved frame (or the frame the project's `Resume` file names for it) opened.
//
// API:
//   SavedGames saved({project, windows, display, variables, title, [&]() -> Game& {...}});
//   subsystems.savegame = &saved;                       // before the game window is created
//   saved.ShowLoadGameWindow(LoadGameCaller::TitleWindow);
//   saved.SaveGame("Before the door");                  // true when written
//   saved.LoadGame(file);                               // a file the load dialog listed
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "player/game_subsystems.h"
#include "player/savegame/save_folders.h"
#include "player/savegame/saved_game_file.h"

namespace sl {

class Game;
class Project;
class Resolutions;
class TitleWindow;
class VariableStore;
class SaveGameDialog;
class LoadGameDialog;
namespace ui {
class WindowManager;
}

struct SavedGamesContext {
  Project& project;
  ui::WindowManager& windows;
  Resolutions& display;
  VariableStore& variables;
  TitleWindow& title;
  // The game window, created on first use.
  std::function<Game&()> game;
};

class SavedGames final : public SaveGameSubsystem {
 public:
  explicit SavedGames(SavedGamesContext context);
  ~SavedGames() override;
  SavedGames(const SavedGames&) = delete;
  SavedGames& operator=(const SavedGames&) = delete;

  // SaveGameSubsystem
  void ShowSaveGameWindow(SaveGameCaller caller) override;
  void ShowLoadGameWindow(LoadGameCaller caller) override;
  void ChangeDisplayResolutionOnLoadGame(std::int16_t iResolution) override {
    loadGameResolution_ = iResolution;
  }
  void ResetLoadGameResolution() override { loadGameResolution_ = 0; }

  // Writes the game being played as the saved game `name` (a name the save dialog accepted).
  // False, after the error message, when it could not be written; an earlier saved game of
  // that name is then as it was.
  bool SaveGame(const std::string& name);
  // Loads a saved game. A file that cannot be read whole gives the error message and changes
  // nothing.
  void LoadGame(const SavedGameFile& file);
  // The frame at which a game saved in `sFrameName` resumes.
  std::string GetResumeLocation(const std::string& sFrameName);

  // The load-cancel flag: set when the load window closes, cleared when a load went through.
  void SetLoadCancelled(bool cancelled) { loadCancelled_ = cancelled; }
  bool LoadCancelled() const { return loadCancelled_; }
  std::int16_t LoadGameResolution() const { return loadGameResolution_; }

  SaveFolders& Folders() { return folders_; }
  SaveGameDialog& SaveDialog() { return *saveDialog_; }
  LoadGameDialog& LoadDialog() { return *loadDialog_; }
  // The state of the game being played, as a saved game holds it.
  SavedGame CurrentGame(Game& game);

 private:
  // load_game.cpp: the steps of loading.
  Game& PrepareGameWindow();
  void SwitchDisplayForLoad();
  void ResetForLoad(Game& game);
  void RestoreSavedGame(Game& game, const SavedGame& saved);
  void ResumeSavedGame(Game& game, const std::string& savedFrame);
  // Lets pending events run and waits, between the steps of loading.
  void PauseBetweenSteps();

  SavedGamesContext c_;
  SaveFolders folders_;
  std::unique_ptr<SaveGameDialog> saveDialog_;
  std::unique_ptr<LoadGameDialog> loadDialog_;
  std::int16_t loadGameResolution_ = 0;
  bool loadCancelled_ = false;
  bool loading_ = false;
};

}  // namespace sl
