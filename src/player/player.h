// The player as a whole: the project, the window runtime, the title window and the game
// window, wired together for one run. A backend (desktop or headless) hands in its Platform and
// a message-box service; Run() plays until the program ends.
//
// API:
//   Player player(platform, messages, "/path/to/game");
//   player.SetSoundObserver(&trace); player.SetGameObserver(&trace);
//   int code = player.Run();                 // 0 when the program ended normally
//   PlayerState s = player.State();          // what `dump` reports
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/path_resolver.h"
#include "player/cd/multi_cd.h"
#include "player/desktop/desktop_requests.h"
#include "player/display/resolutions.h"
#include "player/effects/effects.h"
#include "player/engine/game.h"
#include "player/game_subsystems.h"
#include "player/hotspots/hotspots.h"
#include "player/inventory/inventory.h"
#include "player/media/game_sound.h"
#include "player/media/sound_engine.h"
#include "player/media/video_playback.h"
#include "player/savegame/saved_games.h"
#include "player/scripting/scripting.h"
#include "player/startup/project.h"
#include "player/startup/title_window.h"
#include "player/texts/texts.h"
#include "player/variables/variable_store.h"
#include "ui/draw/picture_cache.h"
#include "ui/window_manager.h"

namespace sl {

struct HotspotState {
  int n = 0;
  bool visible = false;
  int rect[4] = {0, 0, 0, 0};  // left, top, width, height in frame pixels
};

struct TextBoxState {
  int n = 0;
  std::string text;
  bool visible = false;
};

struct PlayerState {
  std::string frame;
  std::vector<std::pair<std::string, int>> variables;
  std::vector<std::pair<std::string, Variant>> variants;
  std::vector<std::pair<std::string, int>> disappeared;
  std::vector<HotspotState> hotspots;
  std::vector<TextBoxState> texts;
  std::vector<std::string> history;
  std::vector<std::string> inventory;
  std::optional<std::string> message;  // the message band's text, or none while hidden
  bool menus = false;
  bool frameTimerEnabled = false;
  int frameTimerInterval = 0;
  std::string frameTimerTarget;
  std::vector<TimedEventState> timedEvents;
  bool gameLoaded = false;
};

class Player {
 public:
  Player(ui::Platform& platform, MessageBoxService& messages, std::string projectFolder);
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  void SetSoundObserver(SoundObserver* observer) { soundObserver_ = observer; }
  void SetGameObserver(GameObserver* observer) { gameObserver_ = observer; }
  // Who hears of the game's requests to the desktop and of refused file names (the trace).
  void SetRequestObserver(RequestObserver* observer);
  // Subsystems handed to the game window when it is created.
  GameSubsystems& Subsystems() { return subsystems_; }

  // Start-up, then events until the program ends. Returns the exit status: kExitNormal, or
  // kExitFailure when the folder is not a game (player/exit_status.h).
  int Run();
  // Start-up only (the title window shown or the game started); for tests and benchmarks.
  void Start();
  bool Ended() const { return title_.Ended(); }

  PlayerState State();
  ui::WindowManager& Windows() { return windows_; }
  Project& GetProject() { return project_; }
  TitleWindow& Title() { return title_; }
  Resolutions& Display() { return display_; }
  // The game window, or null before the first Start.
  Game* GetGame() { return game_.get(); }
  // The game window, created (not loaded) when there is none yet.
  Game& EnsureGame();
  VariableStore& Variables() { return variables_; }
  Scripting& Scripts() { return scripting_; }
  DesktopRequests& Desktop() { return desktop_; }
  // The sound output: the mixer on the sound device, master volume and mute.
  SoundEngine& Sound() { return sound_; }
  VideoPlayback& Video() { return video_; }
  SavedGames& Saves() { return savedGames_; }
  Effects& GetEffects() { return effects_; }
  // The CD drives and the lookup of media on them (games on several CDs).
  MultiCd& Cd() { return cd_; }

 private:
  bool ProgramKey(const ui::InputEvent& e);
  void EndProgram();

  PathResolver paths_;
  Project project_;
  ui::WindowManager windows_;
  Resolutions display_;
  draw::PictureCache pictures_;
  GameSubsystems subsystems_;
  VariableStore variables_{project_};
  Hotspots hotspots_{project_, variables_, pictures_, windows_};
  Texts texts_{project_};
  Inventory inventory_{project_, pictures_, windows_};
  DesktopRequests desktop_;
  Scripting scripting_;
  SoundEngine sound_{windows_.Loop(), paths_};
  GameSound gameSound_{project_, sound_, windows_.Loop().GetClock()};
  VideoPlayback video_{project_, windows_};
  Effects effects_{project_, windows_, pictures_};
  MultiCd cd_{{project_, windows_, display_, [this] { return game_.get(); }}};
  SoundObserver* soundObserver_ = nullptr;
  GameObserver* gameObserver_ = nullptr;
  std::unique_ptr<Game> game_;
  TitleWindow title_;
  SavedGames savedGames_;
};

}  // namespace sl
