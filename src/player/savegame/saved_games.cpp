// Opening the saved-game dialogs and saving a game.
#include "player/savegame/saved_games.h"

#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/savegame/load_game_dialog.h"
#include "player/savegame/resume_file.h"
#include "player/savegame/save_game_dialog.h"
#include "player/savegame/save_name.h"
#include "player/startup/project.h"
#include "player/variables/variable_store.h"
#include "ui/control_array.h"
#include "ui/controls/timer_control.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

// Whether a procedure's timer object is running: a procedure's load request then does nothing.
bool AnyTimerObjectRuns(Game& game) {
  ui::ControlArray* timers = game.Form().FindArray("TimerObject");
  if (!timers) return false;
  for (const auto& [index, control] : timers->Elements()) {
    auto* timer = dynamic_cast<ui::TimerControl*>(control.get());
    if (timer && timer->Interval() > 0 && timer->TimerEnabled()) return true;
  }
  return false;
}

// Holds the frame timer (and, when asked, the timed events) of the game while a dialog is open.
class HeldGameTimers {
 public:
  enum class TimedEvents { Hold, LeaveRunning };

  HeldGameTimers(Game& game, TimedEvents timedEvents)
      : game_(game),
        timer1WasEnabled_(game.Timer1().TimerEnabled()),
        holdTimedEvents_(timedEvents == TimedEvents::Hold) {
    game_.Timer1().SetEnabled(false);
    if (holdTimedEvents_) game_.Subsystems().scripts->PauseTimedEvents();
  }
  // Gives the frame timer its state back and restarts the timed events.
  void Release() {
    game_.Timer1().SetEnabled(timer1WasEnabled_);
    if (holdTimedEvents_) game_.Subsystems().scripts->StartTimedEvents();
  }

 private:
  Game& game_;
  bool timer1WasEnabled_;
  bool holdTimedEvents_;
};

}  // namespace

SavedGames::SavedGames(SavedGamesContext context) : c_(std::move(context)), folders_(c_.project) {
  SavedGamesDialogContext dialogs{c_.project, c_.windows, c_.display, folders_, *this};
  saveDialog_ = std::make_unique<SaveGameDialog>(dialogs);
  loadDialog_ = std::make_unique<LoadGameDialog>(dialogs);
}

SavedGames::~SavedGames() = default;

void SavedGames::ShowSaveGameWindow(SaveGameCaller caller) {
  HeldGameTimers held(c_.game(), caller == SaveGameCaller::GameMenu
                                     ? HeldGameTimers::TimedEvents::Hold
                                     : HeldGameTimers::TimedEvents::LeaveRunning);
  saveDialog_->ShowModal();
  held.Release();
}

void SavedGames::ShowLoadGameWindow(LoadGameCaller caller) {
  if (caller == LoadGameCaller::TitleWindow) {
    loadDialog_->ShowModal();
    return;
  }
  Game& game = c_.game();
  if (caller == LoadGameCaller::Script && AnyTimerObjectRuns(game)) return;
  HeldGameTimers held(game, HeldGameTimers::TimedEvents::Hold);
  loadCancelled_ = false;
  loadDialog_->ShowModal();
  // After a load the new frame has set up its own timer and timed events.
  if (loadCancelled_) held.Release();
}

std::string SavedGames::GetResumeLocation(const std::string& sFrameName) {
  return sl::GetResumeLocation(c_.project.Paths(), c_.project.Folders().ConfigFolder, sFrameName);
}

SavedGame SavedGames::CurrentGame(Game& game) {
  SavedGame saved;
  saved.frame = game.CurrentFrameName;
  for (const auto& v : c_.variables.Variables)
    saved.variables.emplace_back(v->Name, v->Value);
  for (const auto& d : c_.variables.Disappear)
    saved.disappeared.emplace_back(d->Name, d->Value);
  saved.inventory = game.Subsystems().inventory->ItemNames();
  saved.history = game.History().Names();
  for (const auto& v : c_.variables.VariablesVariant)
    saved.variants.emplace_back(v->Name, v->Value);
  return saved;
}

bool SavedGames::SaveGame(const std::string& name) {
  const ProjectInformation& info = c_.project.Info();
  std::string target = c_.project.Folders().ProjectFolder + name + SaveFolders::kExtension;
  try {
    target = folders_.WriteTarget(name);
    CivilTime now = c_.windows.GetPlatform().GetClock().Now();
    std::string bytes =
        WriteSavedGame(CurrentGame(c_.game()), {info.ProjectName, info.GameTitle, now});
    c_.project.Paths().WriteFile(target, bytes);
    SetModificationTime(target, now);
    return true;
  } catch (const std::exception&) {
    c_.project.ShowError(" Unable to save '" + target +
                         "'.\r\nVerify that this file is not Read-Only and that it does not "
                         "contain any of the following characters: " +
                         kRefusedCharacterList);
    return false;
  }
}

}  // namespace sl
