// The game window `Game`: the frame picture and every control the game needs, the current
// frame and the visited-frames history, the frame timer, the menus and keys, game reset and new
// game, frame opening (OpenFrame) and the orderly exit back to the title window. All game state
// lives here or in the objects this window owns; subsystems are reached through the interfaces
// of player/game_subsystems.h.
//
// API:
//   Game game(context);             // creates the form and its controls (not loaded)
//   game.Load(); game.ResetAll(); game.StartNewGame(); game.Show();
//   game.OpenFrame("Hall");                                 // or with FrameTransition{1, 0.8}
//   game.StartUnloading();          // closes the window 100 ms later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "player/engine/frame_file.h"
#include "player/engine/frames_history.h"
#include "player/game_subsystems.h"
#include "player/media/media_player.h"
#include "player/media/sound_channels.h"
#include "player/startup/startup_hooks.h"
#include "ui/form.h"

namespace sl {

class Project;
class Resolutions;
namespace draw {
class PictureCache;
}
namespace ui {
class WindowManager;
class PictureBox;
class Image;
class Label;
class Frame;
class Menu;
class TimerControl;
class ListBox;
class FileListBox;
class CheckBox;
class TextBox;
}  // namespace ui

// What the game window needs of the title window: to come back, or to end the program.
class TitleLink {
 public:
  virtual ~TitleLink() = default;
  virtual void ShowTitleWindow() = 0;
  virtual void UnloadTitleWindow() = 0;
};

// Who hears of frame openings and transitions (the run's trace).
class GameObserver {
 public:
  virtual ~GameObserver() = default;
  virtual void FrameHeaderLoaded(const std::string& /*name*/) {}
  // An animated transition starts; it ends at `endMs` (clock milliseconds), at its full length
  // or earlier when a click `interrupted` it.
  virtual void TransitionStarted(int /*number*/, double /*durationSeconds*/) {}
  virtual void TransitionEnded(int /*number*/, double /*durationSeconds*/, std::int64_t /*startMs*/,
                               std::int64_t /*endMs*/, bool /*interrupted*/) {}
};

struct GameContext {
  Project& project;
  ui::WindowManager& windows;
  Resolutions& display;
  draw::PictureCache& pictures;
  TitleLink& title;
  GameSubsystems subsystems;
  SoundObserver* sound = nullptr;
  GameObserver* observer = nullptr;
};

// ControlsReferencesMode: whether scripts get the game window as WindowObject. Decided at the
// first frame opening from whether the variable kControlsReferencesVariable exists, unless a
// procedure decided it first.
constexpr std::int16_t kControlsReferencesUndecided = 0;
constexpr std::int16_t kControlsReferencesRefused = 1;
constexpr std::int16_t kControlsReferencesAllowed = 2;
constexpr const char* kControlsReferencesVariable = "allowcontrolsreferences";

// The transition a frame opens with: which one, and how long it lasts.
struct FrameTransition {
  int number = 0;
  double durationSeconds = 0;
};

class Game final : private ActivityTargets {
 public:
  explicit Game(GameContext context);
  ~Game() override;
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // ---- Window ----
  ui::Form& Form() { return *form_; }
  void Load();
  void Show();
  bool Loaded() const;
  void CenterWindowAndPictureBox();
  void ShowMenus();
  void HideMenus();
  void StartUnloading();

  // ---- Game ----
  void ResetAll();
  void StartNewGame();
  void OpenFrame(const std::string& CurrentFrame,
                 std::optional<FrameTransition> transition = std::nullopt);
  void LoadFrameHeader(const std::string& name);
  std::int16_t GetFrameHotspotCount(const std::string& name);
  void ClearFrameInfo() override;
  // Stops everything that runs: video, frame and message timers, timed events, sounds.
  void HaltActivity() override;
  // The game gives up what it was doing: GameStopping set, the scene hidden, everything halted
  // and the menus shown (the person playing did not give a CD the game needs).
  void StopEverything();
  void FramesHistoryAdd(const std::string& FrameName);
  // Replaces the history (saved games); the hidden list follows.
  void SetFramesHistory(std::vector<std::string> names);
  const FramesHistory& History() const { return history_; }

  // ---- Current frame and shared flags ----
  std::string CurrentFrameName;
  std::int16_t BackgroundKind = 0;
  std::string BackgroundSource;
  bool BackgroundTiled = false;
  std::int16_t HotspotCount = 0;
  bool TimerWithTransition = false;
  std::int32_t TimerTransitionDuration = 0;
  std::int16_t TimerTransitionNumber = 0;
  bool RipplingWaterActive = false;
  std::int16_t ControlsReferencesMode = kControlsReferencesUndecided;
  // Where the pointer was last: 1 over the inventory bar, 2 over the frame, 0 not yet known.
  std::int16_t PointerZone = 0;
  double FadeDuration = 0;

  // ---- Shared flags ----
  // Several subsystems change these; each change goes through an operation named for it.
  // GameStopping: the frame opening, action or script-driven operation under way ends at its
  // next checkpoint, and most error reports are held back.
  bool GameStopping() const { return gameStopping_; }
  void SetGameStopping() { gameStopping_ = true; }
  void ClearGameStopping() { gameStopping_ = false; }
  // StopMovie: a video wait ends at its next pass. Cleared when a video starts and when a
  // wait ends, so that only a later request stops the next one.
  bool MovieStopRequested() const { return stopMovie_; }
  void RequestMovieStop() { stopMovie_ = true; }
  void ClearMovieStop() { stopMovie_ = false; }
  // The click flag: a running transition ends at its next pass. Cleared when one starts.
  bool TransitionInterrupted() const { return clickFlag_; }
  void InterruptTransition() { clickFlag_ = true; }
  void ClearTransitionInterrupt() { clickFlag_ = false; }
  // A click, a key or the end of the game: a video wait and a running transition both end.
  void InterruptWaits() {
    RequestMovieStop();
    InterruptTransition();
  }

  // ---- Controls and owned objects ----
  ui::PictureBox& PictureBox() { return *pictureBox_; }
  ui::Image& BackImage() { return *backImage_; }
  ui::PictureBox& CutSceneArea() { return *cutSceneArea_; }
  ui::TimerControl& Timer1() { return *timer1_; }
  // The message band's timer, or null when the band is not there.
  ui::TimerControl* TimerMessageBox();
  ui::TimerControl& TimerAudioFade() { return *timerAudioFade_; }
  ui::TimerControl& TimerRipplingWater() { return *timerRipplingWater_; }
  ui::Menu& Menu(const std::string& name);
  MediaPlayers& MPlayer() { return players_; }
  SoundChannels& Channels() { return channels_; }
  GameSubsystems& Subsystems() { return subs_; }
  // Who hears of frame openings and transitions; null when nobody does.
  GameObserver* Observer() const { return observer_; }
  Project& GetProject() { return project_; }
  bool EffectsEnabled();
  // Whether transitions are on: "Disable Transitions" is not checked.
  bool TransitionsEnabled();
  bool MenusShown() const;
  // Whether a menu was opened from the debug or options menu since the menus were last hidden.
  bool MenuOpen() const { return menuOpen_; }

  // The menu commands, also reached by keys.
  void mnuExit_Click();
  void mnuSaveGame_Click();
  void mnuLoadGame_Click();
  void mnuFrameName_Click(int index);
  // Mouse press on the window or its background: ends a video wait and shows or hides menus.
  void WindowMouseDown(int button);
  // The menu handling of a press: the right button shows or hides the menus, others hide them.
  void MenuMouseDown(int button);
  void Form_KeyDown(int keyCode, int shift);
  void Timer1_Timer();

 private:
  void CreateControls();
  void CreateMediaPlayers();
  void CreateMenus();
  void CreateMessageBand();
  void Form_Load();
  void Form_Unload();
  void TimerUnloadMe_Timer();
  void OpenFrameChecked(const std::string& CurrentFrame,
                        const std::optional<FrameTransition>& transition);
  void OpenFrameSteps(const std::string& name, const std::optional<FrameTransition>& transition);
  // The steps of a frame opening, in their order. Between them the opening ends quietly when
  // the game is stopping (CheckOpeningGoesOn).
  void CheckOpeningGoesOn() const;
  void ForgetCurrentFrame();
  void LoadHeaderAndRecordVisit(const std::string& name);
  FrameFile ReadCurrentFrameFile();
  void FinishRipplingWater();
  void StopRunningVideo();
  void StartFrameVideo(const FrameFile& f);
  void StopFrameSoundsAndPlayMusic(const FrameFile& f);
  void ReplaceFrameContents();
  // True when the opening script asked for the game to end.
  bool RunOpeningScript(const FrameFile& f);
  void PlayFrameChannelsAndSound(const FrameFile& f);
  // Rippling water, the channel changes and the fade timer or the transition's second half.
  void StartFrameEffects(const std::string& name, const std::optional<FrameTransition>& transition);
  void StartRipplingWater();
  void PlayFrameMusic(const FrameFile& f);
  void PlayFrameSound(const FrameFile& f);
  void DrawBackground();
  void PlayFrameVideo(const FrameFile& f);
  void WaitForVideo();
  void ArmFrameTimer(const FrameFile& f);
  void BuildDebugFrameList();
  void ResetInventoryBar();
  bool ReadBooleanSetting(const std::string& key);
  void ShowStandardError(const std::string& sentence, MsgIcon icon = MsgIcon::Critical);
  std::string ErrorLead() const;
  void SyncHistoryList();

  // Served when a subsystem was not handed in: they do nothing.
  struct NullSubsystems {
    HotspotSubsystem hotspots;
    TextSubsystem texts;
    VariableSubsystem variables;
    ScriptSubsystem scripts;
    SoundSubsystem sound;
    VideoSubsystem video;
    EffectsSubsystem effects;
    InventorySubsystem inventory;
    SaveGameSubsystem savegame;
  };

  NullSubsystems null_;
  Project& project_;
  ui::WindowManager& windows_;
  Resolutions& display_;
  draw::PictureCache& pictures_;
  TitleLink& title_;
  GameSubsystems subs_;
  GameObserver* observer_;

  MediaPlayers players_;
  SoundChannels channels_{players_};
  FramesHistory history_;
  bool menuOpen_ = false;
  bool gameStopping_ = false;
  bool stopMovie_ = false;
  bool clickFlag_ = false;
  int debugKeyState_ = 0;
  std::string auxFrameString_;

  Ref<ui::Form> form_;
  ui::PictureBox* pictureBox_ = nullptr;
  ui::Image* backImage_ = nullptr;
  ui::Image* imageTile_ = nullptr;
  ui::PictureBox* cutSceneArea_ = nullptr;
  ui::PictureBox* picRipplingWater_ = nullptr;
  ui::PictureBox* inventory1_ = nullptr;
  ui::Image* inventory2_ = nullptr;
  ui::Image* inventoryBackground_ = nullptr;
  ui::TimerControl* timer1_ = nullptr;
  ui::TimerControl* timerAudioFade_ = nullptr;
  ui::TimerControl* timerUnloadMe_ = nullptr;
  ui::TimerControl* timerRipplingWater_ = nullptr;
  ui::ListBox* framesHistoryList_ = nullptr;
  ui::FileListBox* file1_ = nullptr;
  ui::ControlArray* pickedObject_ = nullptr;
  ui::ControlArray* mnuFrameName_ = nullptr;
};

}  // namespace sl
