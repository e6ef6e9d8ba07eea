// The subsystems the game window drives while it opens frames, resets and closes: hotspots,
// texts, variables, scripts and timed events, sound channels, video, transitions and rippling
// water, the inventory bar, saved games. Each is an interface whose default does nothing, so the
// frame engine runs in full before a subsystem exists; the subsystem's owner overrides it and
// hands it to the game (GameSubsystems) before the game window loads.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sl {

namespace ui {
class Control;
}

// What is left to do after the action of a hotspot (MakeAction).
enum class ActionOutcome : std::int16_t {
  NothingFurther = 0,
  EndGame = 1,   // the game must end
  NewFrame = 2,  // another frame was opened
};

class HotspotSubsystem {
 public:
  virtual ~HotspotSubsystem() = default;
  // The merged-hotspot index goes back to 1 before a frame's hotspots load.
  virtual void ResetMergedIndex() {}
  virtual void ResetFrameAreas() {}
  virtual void LoadAreas() {}
  virtual void ShowOrNotShowAreas() {}
  virtual void ResetDefaultPointer() {}
  // The project's default cursor on one control (a hotspot after the default changed).
  virtual void ApplyDefaultPointer(ui::Control& /*control*/) {}
  virtual void SetScreenPointerArrow() {}
  virtual void SetScreenPointerDefault() {}
  // The action of hotspot `AreaIndex`, or of item `ObjectIndex` dropped on it.
  virtual ActionOutcome MakeAction(std::int16_t /*AreaIndex*/, std::int16_t /*ObjectIndex*/) {
    return ActionOutcome::NothingFurther;
  }
  // The click position, stored in pixels from twips of the frame.
  virtual void SaveClickPos(float /*sglLeft*/, float /*sglTop*/) {}
  virtual std::int16_t ClickPositionX() { return 0; }
  virtual std::int16_t ClickPositionY() { return 0; }
  virtual std::int16_t GetMergedHotspotIndex() { return 1; }
  // 2 while the pointer was last over the frame, 1 over the inventory bar.
  virtual std::int16_t PointerZone() { return 0; }
  // Opens the frame a procedure asked for ("last visited frame" resolved through the history),
  // with its transition; false when it asked for none.
  virtual bool OpenRequestedFrame() { return false; }
};

class TextSubsystem {
 public:
  virtual ~TextSubsystem() = default;
  // The merged-text index goes back to 1 before a frame's text boxes load.
  virtual void ResetMergedIndex() {}
  virtual void ResetFrameTexts() {}
  virtual void LoadTexts() {}
  // The first text box of the merged part after the first one, or 1.
  virtual std::int16_t GetMergedTextIndex() { return 1; }
  // Resets the message band's label and hides it with its frame.
  virtual void ResetMessageBox() {}
  // The text of the message band, or nothing while it is hidden (for `dump`).
  virtual bool MessageShown(std::string& /*text*/) { return false; }
  // The message display: the band inside the game when `inGame`, else a message box.
  virtual void ShowMessage(const std::string& /*text*/, bool /*inGame*/) {}
  // The three ways the message band ends.
  virtual void FrameMessageBox_Click() {}
  virtual void LabelMessageBox_Click() {}
  virtual void TimerMessageBox_Timer() {}
};

class VariableSubsystem {
 public:
  virtual ~VariableSubsystem() = default;
  // Empties Variables, VariablesVariant and Disappear, in that order.
  virtual void ClearAll() {}
  virtual void LoadVariables() {}
  // Whether an integer or variant variable of this name exists (without regard to case).
  virtual bool HasVariable(const std::string& /*name*/) { return false; }
  // The Debug menu's "View variables status...": every variable, in message boxes of 25 lines.
  virtual void ViewVariablesStatus() {}
};

// What `dump` tells of a timed event.
struct TimedEventState {
  int n = 0;
  bool active = false;
  bool enabled = false;
  int interval = 0;  // milliseconds
  bool repeat = false;
};

class ScriptSubsystem {
 public:
  virtual ~ScriptSubsystem() = default;
  // The script object's ResetModule: clears a pending frame jump and quit request.
  virtual void ResetModule() {}
  virtual void SetHotspotNumber(int /*number*/) {}
  virtual bool StopGameRequested() { return false; }
  // The frame a procedure asked for (sFrameToLoad) and its transition.
  virtual std::string FrameToLoad() { return {}; }
  // Its resolution: "last visited frame" becomes the frame gone back to, or nothing.
  virtual void SetFrameToLoad(const std::string& /*name*/) {}
  virtual int TransitionNumber() { return 0; }
  virtual double TransitionDuration() { return 0; }
  // Runs script code after the project's procedures; true when the run failed (the failure has
  // been reported). `bResetLastClickPosition` stores (0, 0) as the click position first.
  virtual bool ExecuteVBScript(const std::string& /*sText*/, bool /*bResetLastClickPosition*/) {
    return false;
  }
  // What follows a script run by the debug command, a timer object or a timed event: hotspot
  // visibility, then leaving the game, opening the requested frame or restarting timed events.
  virtual void AfterScriptStep() {}
  // Reads the project's procedures (game reset).
  virtual void LoadProcedures() {}
  virtual void SetTimeOut(std::int32_t /*milliseconds*/) {}
  // Timed events of the current frame.
  virtual void ResetTimedEvents() {}
  virtual void StartTimedEvents() {}
  virtual void PauseTimedEvents() {}
  virtual std::vector<TimedEventState> TimedEventStates() { return {}; }
  // The debug menu's "Execute VBS code..." and "Edit VBS Procedures...".
  virtual void ExecuteVBScriptWindow() {}
  virtual void EditProcedures() {}
};

class SoundSubsystem {
 public:
  virtual ~SoundSubsystem() = default;
  virtual void ApplyChannelChanges() {}
  // Sets every fading channel to `progress` (0..1) of its fade; 1 finishes them.
  virtual void StepFades(double /*progress*/) {}
  // The one-shot flag of the audio layer that game reset clears.
  virtual void ResetOneShot() {}
  // A tick of the audio-fade timer; returns whether fades are still running (the timer stops
  // when none is).
  virtual bool TimerAudioFade_Timer() { return false; }
};

class VideoSubsystem {
 public:
  virtual ~VideoSubsystem() = default;
  virtual void PlayMovieWithStop(const std::string& /*file*/, ui::Control& /*target*/,
                                 bool /*stretched*/, int /*left*/, int /*top*/, int /*width*/,
                                 int /*height*/) {}
  // The media object's status ("playing", "stopped", or empty when nothing is open).
  virtual std::string Status() { return {}; }
  virtual void StopMovie() {}
  virtual bool VideoIsPlaying() { return false; }
};

class EffectsSubsystem {
 public:
  virtual ~EffectsSubsystem() = default;
  virtual void NameTransitions() {}
  virtual void TransitionStep1(int /*number*/) {}
  virtual void TransitionStep2(int /*number*/, double /*durationSeconds*/) {}
  // The frame opening that followed TransitionStep1 ended before its TransitionStep2 (the
  // frame was missing, the game stopped, its script quit): what the first step showed goes.
  virtual void AbandonTransition() {}
  virtual bool TransitionInProgress() { return false; }
  virtual void EnableOrDisableTransitions() {}
  virtual void EnableOrDisableEffects() {}
  // Loads the frame's rippling water; returns whether the frame has one.
  virtual bool LoadWaveEffectIfAny(const std::string& /*frame*/) { return false; }
  virtual void VexelTime(int /*value*/) {}
  // Whether a tick of the rippling-water timer is still at work.
  virtual bool RipplingTickRunning() { return false; }
  virtual void RipplingTick() {}
  // The one-shot flag of the transition layer that game reset clears.
  virtual void ResetOneShot() {}
  // Animated pictures: creates player and holder box `index` at (left, top) twips; returns the
  // index, or 0 when nothing was created.
  virtual int AniGifNewWithIndex(int /*index*/, const std::string& /*path*/, double /*left*/,
                                 double /*top*/, double /*speed*/) {
    return 0;
  }
  virtual void AniGifPlay(int /*index*/) {}
  virtual void AniGifStop(int /*index*/) {}
};

class InventorySubsystem {
 public:
  virtual ~InventorySubsystem() = default;
  // Forgets every item: ObjectsCount = 0, item pictures beyond the template unloaded.
  virtual void ClearItems() {}
  virtual void Load_InventoryBackground() {}
  virtual bool Moving() { return false; }
  virtual void AddPickedObject(const std::string& /*name*/, bool /*noPopUp*/) {}
  virtual void RemovePickedObject(std::int16_t /*index*/) {}
  // Offers a clicked hotspot to the inventory (an item lying on the frame is picked up).
  virtual void PickOrNotPickObject(std::int16_t /*areaIndex*/) {}
  // Slides the inventory bar in or out after a mouse move.
  virtual void Inventory_Move() {}
  // Brings the item pictures, then the bar's button, then the bar to the front.
  virtual void BringToFront() {}
  virtual std::vector<std::string> ItemNames() { return {}; }
  virtual void InventoryTick() {}
  // The script API's HideInventoryButton and ShowInventoryButton.
  virtual void HideInventoryButton() {}
  virtual void ShowInventoryButton() {}
};

// Who opens a saved-game dialog; each gets what it needs of the frame timer and timed events.
enum class SaveGameCaller {
  GameMenu,  // the Save menu entry or Ctrl+S: frame timer and timed events held while it is open
  Script     // a procedure's PopupSaveGame: only the frame timer is held
};
enum class LoadGameCaller {
  GameMenu,     // the Load menu entry or Ctrl+L: frame timer and timed events held, and given
                // back when the dialog closes without a game loaded
  Script,       // a procedure's PopupLoadGame: as the menu, but nothing while a timer object runs
  TitleWindow,  // the title window's Load button: the dialog alone
};

class SaveGameSubsystem {
 public:
  virtual ~SaveGameSubsystem() = default;
  // Fills and shows the save dialog modally, then unloads it.
  virtual void ShowSaveGameWindow(SaveGameCaller /*caller*/) {}
  // Fills and shows the load dialog modally; a game chosen there is loaded.
  virtual void ShowLoadGameWindow(LoadGameCaller /*caller*/) {}
  // A procedure's ChangeDisplayResolutionOnLoadGame: the resolution code (1 to 3, 0 none) that
  // a game loaded later switches to when the title screen is skipped.
  virtual void ChangeDisplayResolutionOnLoadGame(std::int16_t /*iResolution*/) {}
  // Game reset forgets that code.
  virtual void ResetLoadGameResolution() {}
};

// What the game window is handed: one object per subsystem, none owned. Members left null are
// served by a built-in object that does nothing.
struct GameSubsystems {
  HotspotSubsystem* hotspots = nullptr;
  TextSubsystem* texts = nullptr;
  VariableSubsystem* variables = nullptr;
  ScriptSubsystem* scripts = nullptr;
  SoundSubsystem* sound = nullptr;
  VideoSubsystem* video = nullptr;
  EffectsSubsystem* effects = nullptr;
  InventorySubsystem* inventory = nullptr;
  SaveGameSubsystem* savegame = nullptr;
};

}  // namespace sl
