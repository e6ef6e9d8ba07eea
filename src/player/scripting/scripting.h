// The script host of the game window: every piece of VBScript a game runs (a frame's opening
// script, a hotspot's procedure, an item combination, a timed event, a timer object, code typed
// in the debug menu) goes through ExecuteVBScript, which starts the script engine from a fresh
// state with the project's procedures and the code, exposes the game's variables by name, the
// hotspots, texts, screen, application, message band, the game window (when the project allows
// control references), the timed events and the `Action` object, and runs it. Scripts leave
// their requests (a frame to open, leaving the game) in `Action`; the after-script step carries
// them out. Also the timed events, the timer objects, the debug menu's script entries and the
// script time-out.
//
// The procedures are parsed once per game reset: each run restarts the engine from them, so no
// value, object or class instance survives from one script to the next. A script that runs
// while another waits in a dialog gets an engine of its own.
//
// API:
//   Scripting scripting({project, variables, windows, display, pictures, desktop});
//   subsystems.scripts = &scripting;     // before the game window is created
//   scripting.Attach(game);              // once it exists
//   bool failed = scripting.ExecuteVBScript("Visits = Visits + 1", true);
//   scripting.AfterScriptStep();
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/ref_counted.h"
#include "player/desktop/request_observer.h"
#include "player/game_subsystems.h"
#include "player/scripting/script_files.h"
#include "player/scripting/timed_events.h"
#include "vbscript/engine.h"

namespace sl {

class Game;
class Project;
class Resolutions;
class VariableStore;
class DesktopRequests;
class VariableObject;
class VBScriptActionModule;
namespace draw {
class PictureCache;
}
namespace ui {
class WindowManager;
class ScreenObject;
class AppObject;
}  // namespace ui

struct ScriptingContext {
  Project& project;
  VariableStore& variables;
  ui::WindowManager& windows;
  Resolutions& display;
  draw::PictureCache& pictures;
  DesktopRequests& desktop;
};

class Scripting final : public ScriptSubsystem, private vbs::EngineHost {
 public:
  // The design-time script time-out, and the longest a project may set.
  static constexpr std::int32_t kDefaultTimeOutMs = 10'000;
  static constexpr std::int32_t kLongestTimeOutMs = 300'000;
  // Scripts that run while others wait in a dialog, at most.
  static constexpr int kMaxNestedRuns = 16;

  explicit Scripting(ScriptingContext context);
  ~Scripting() override;
  Scripting(const Scripting&) = delete;
  Scripting& operator=(const Scripting&) = delete;

  void Attach(Game& game);
  void SetObserver(RequestObserver* observer) { files_.SetObserver(observer); }
  // Lets go of the engines and what they hold (before the game window goes).
  void ReleaseEngines();

  // ScriptSubsystem
  void ResetModule() override;
  void SetHotspotNumber(int number) override;
  bool StopGameRequested() override;
  std::string FrameToLoad() override;
  void SetFrameToLoad(const std::string& name) override;
  int TransitionNumber() override;
  double TransitionDuration() override;
  bool ExecuteVBScript(const std::string& sText, bool bResetLastClickPosition) override;
  void AfterScriptStep() override;
  void LoadProcedures() override;
  void SetTimeOut(std::int32_t milliseconds) override;
  void ResetTimedEvents() override { events_.ResetTimedEvents(); }
  void StartTimedEvents() override { events_.StartTimedEvents(); }
  void PauseTimedEvents() override { events_.PauseTimedEvents(); }
  std::vector<TimedEventState> TimedEventStates() override { return events_.States(); }
  void ExecuteVBScriptWindow() override { mnuExecuteVBScript_Click(); }
  void EditProcedures() override { mnuEditProcedures_Click(); }

  // Checking a game without playing it: nothing runs. CheckProcedures compiles the procedures
  // (loaded by LoadProcedures) with the game's objects exposed; CheckScript then compiles one
  // script as a run builds it. Both throw vbs::ScriptError for a syntax error, its line counted
  // in the text checked, and return the names used that nothing declares.
  std::vector<vbs::UndeclaredName> CheckProcedures();
  std::vector<vbs::UndeclaredName> CheckScript(const std::string& code);

  // The debug menu entries and the timer ticks (debug_commands.cpp).
  void mnuExecuteVBScript_Click();
  void mnuEditProcedures_Click();
  void TimerObject_Timer(int Index);
  void TimedEvent_Timer(int Index);

  // What the script API reaches.
  Game& GameWindow() { return *game_; }
  Project& GetProject() { return c_.project; }
  ui::WindowManager& Windows() { return c_.windows; }
  Resolutions& Display() { return c_.display; }
  draw::PictureCache& Pictures() { return c_.pictures; }
  DesktopRequests& Desktop() { return c_.desktop; }
  ScriptFiles& Files() { return files_; }
  TimedEvents& Events() { return events_; }
  VBScriptActionModule& Action() { return *action_; }
  const std::string& ProceduresText() const { return procedures_; }

  // Runs `wait` (a dialog, a started program) without counting its time against the script's
  // time-out.
  template <class F>
  void WhileBlocked(F&& wait) {
    auto start = std::chrono::steady_clock::now();
    struct Account {
      Scripting* self;
      std::chrono::steady_clock::time_point start;
      ~Account() { self->AddBlockedTime(start); }
    } account{this, start};
    wait();
  }

 private:
  struct EngineSlot {
    vbs::Engine engine;
    std::uint64_t prepared = 0;  // the procedures generation its base was made from
    bool hasBase = false;
  };

  EngineSlot& EngineForRun();
  void BuildProgram(EngineSlot& slot, const std::string& code);
  void PrepareBase(EngineSlot& slot);
  void ExposeObjects(vbs::Engine& engine);
  void RefreshVariableObjects();
  void ReportScriptError(const std::string& description);
  void AddBlockedTime(std::chrono::steady_clock::time_point since);
  // vbs::EngineHost
  int MessageBox(const std::string& prompt, int buttons, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;

  ScriptingContext c_;
  Game* game_ = nullptr;
  ScriptFiles files_;
  TimedEvents events_;
  Ref<VBScriptActionModule> action_;
  Ref<ui::ScreenObject> screen_;
  Ref<ui::AppObject> app_;
  std::vector<Ref<VariableObject>> variableObjects_;
  std::vector<std::unique_ptr<EngineSlot>> engines_;
  std::unique_ptr<vbs::Engine> checkEngine_;
  int running_ = 0;  // runs in progress (nested while a dialog waits)
  std::string procedures_;
  std::uint64_t proceduresGeneration_ = 1;
  std::string startupHeader_ = "Sub StartupProcedure\r\n";
  std::int32_t timeOutMs_ = kDefaultTimeOutMs;
};

}  // namespace sl
