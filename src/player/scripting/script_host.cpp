// ExecuteVBScript: the engine started afresh from the procedures, the game's objects exposed,
// the code run; the after-script step; the procedures and the time-out; what the engine asks
// of its host (message and input boxes).
#include <algorithm>
#include <cctype>

#include "core/case_fold.h"
#include "core/message_box.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/scripting/procedures.h"
#include "player/scripting/script_api.h"
#include "player/scripting/scripting.h"
#include "player/scripting/variable_objects.h"
#include "player/startup/project.h"
#include "player/variables/variable_store.h"
#include "ui/control_array.h"
#include "ui/form.h"
#include "ui/screen_object.h"
#include "ui/standard_dialogs.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr const char* kStartupProcedure = "StartupProcedure";
constexpr const char* kDefaultBoxTitle = "VBScript";

// Whether the first statement of a text is Option Explicit (blank lines and comments before it
// allowed), which then holds for the code run after the text as well.
bool DeclaresOptionExplicit(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
      ++i;
    std::string_view rest = text.substr(i);
    bool comment = rest.starts_with('\'') || FoldCase(rest.substr(0, 4)) == "rem ";
    if (!comment) {
      std::string head = FoldCase(rest.substr(0, 15));
      if (head != "option explicit") return false;
      return rest.size() == 15 || !std::isalnum(static_cast<unsigned char>(rest[15]));
    }
    i = text.find('\n', i);
  }
  return false;
}

}  // namespace

Scripting::Scripting(ScriptingContext context)
    : c_(context),
      files_(context.project),
      events_(context.project),
      action_(MakeRef<VBScriptActionModule>(*this)),
      screen_(MakeRef<ui::ScreenObject>(context.windows)),
      app_(MakeRef<ui::AppObject>(ui::AppInfo{})) {}

Scripting::~Scripting() = default;

void Scripting::Attach(Game& game) {
  game_ = &game;
  ui::Form& form = game.Form();
  if (ui::ControlArray* timers = form.FindArray("TimedEvent")) {
    events_.Attach(*timers);
    timers->Item(0).on.timer = [this](ui::Control& c) { TimedEvent_Timer(c.Index()); };
  }
  if (ui::ControlArray* timers = form.FindArray("TimerObject")) {
    timers->Item(0).on.timer = [this](ui::Control& c) { TimerObject_Timer(c.Index()); };
  }
  std::string folder = c_.project.Paths().ProjectFolder();
  std::replace(folder.begin(), folder.end(), '/', '\\');
  ui::AppInfo& app = app_->Info();
  app.path = folder;
  app.title = "Storyloom";
  app.exeName = "storyloom";
  app.major = 3;
  app.minor = 3;
  app.revision = 1;
}

void Scripting::ReleaseEngines() {
  engines_.clear();
}

// ---- The request fields ----

void Scripting::ResetModule() {
  action_->ResetModule();
}
void Scripting::SetHotspotNumber(int number) {
  action_->iHotspotNumber = static_cast<std::int16_t>(number);
}
bool Scripting::StopGameRequested() {
  return action_->bStopGame;
}
std::string Scripting::FrameToLoad() {
  return action_->sFrameToLoad;
}
void Scripting::SetFrameToLoad(const std::string& name) {
  action_->sFrameToLoad = name;
}
int Scripting::TransitionNumber() {
  return action_->iTransitionNumber;
}
double Scripting::TransitionDuration() {
  return action_->dTransitionDuration;
}

// ---- Procedures and time-out ----

void Scripting::LoadProcedures() {
  procedures_ = sl::LoadProcedures(c_.project);
  ++proceduresGeneration_;
  startupHeader_ = DeclaresOptionExplicit(procedures_)
                       ? "Option Explicit\r\nSub StartupProcedure\r\n"
                       : "Sub StartupProcedure\r\n";
}

void Scripting::SetTimeOut(std::int32_t milliseconds) {
  // No project may switch the limit off or make a script hold the player for longer.
  if (milliseconds <= 0) milliseconds = kDefaultTimeOutMs;
  timeOutMs_ = std::min(milliseconds, kLongestTimeOutMs);
  for (auto& slot : engines_)
    slot->engine.SetTimeLimit(timeOutMs_);
}

// ---- Running a script ----

Scripting::EngineSlot& Scripting::EngineForRun() {
  auto depth = static_cast<std::size_t>(running_);
  while (engines_.size() <= depth) {
    auto slot = std::make_unique<EngineSlot>();
    slot->engine.SetHost(this);
    slot->engine.SetClock(&c_.windows.GetPlatform().GetClock());
    // Measured on the system clock, which moves even while a virtual clock stands still.
    slot->engine.SetTimeLimit(timeOutMs_);
    engines_.push_back(std::move(slot));
  }
  return *engines_[depth];
}

// The procedures, then "Sub StartupProcedure", the code and "End Sub", as one program. With the
// procedures compiled once into the engine's base, a run restarts from it and adds the rest.
void Scripting::BuildProgram(EngineSlot& slot, const std::string& code) {
  bool fresh = slot.prepared != proceduresGeneration_;
  if (fresh) PrepareBase(slot);
  if (!slot.hasBase) {
    slot.engine.Reset();
    slot.engine.AddCode(
        procedures_ + "\r\n\r\n" + kStartupProcedure + "\r\n" + code + "\r\nEnd Sub", "script");
    return;
  }
  if (!fresh) slot.engine.RestartFromBase();
  slot.engine.AddCode(startupHeader_ + code + "\r\nEnd Sub", "script");
}

// Compiles the procedures and runs their global code (this run's). When that fails, the run
// fails with it and every later run builds the whole program as one text, failing as it does.
void Scripting::PrepareBase(EngineSlot& slot) {
  slot.prepared = proceduresGeneration_;
  slot.hasBase = false;
  slot.engine.Reset();
  slot.engine.AddCode(procedures_, "procedures");
  slot.engine.MarkBase();
  slot.hasBase = true;
}

void Scripting::RefreshVariableObjects() {
  VariableStore& store = c_.variables;
  std::size_t count =
      static_cast<std::size_t>(store.Variables.Count() + store.VariablesVariant.Count());
  bool same = variableObjects_.size() == count;
  std::size_t k = 0;
  for (auto it = store.Variables.begin(); same && it != store.Variables.end(); ++it)
    same = variableObjects_[k++]->Holds(it->get());
  for (auto it = store.VariablesVariant.begin(); same && it != store.VariablesVariant.end(); ++it)
    same = variableObjects_[k++]->Holds(it->get());
  if (same) return;
  variableObjects_.clear();
  for (const auto& v : store.Variables)
    variableObjects_.push_back(VariableObject::Of(v));
  for (const auto& v : store.VariablesVariant)
    variableObjects_.push_back(VariableObject::Of(v));
}

void Scripting::ExposeObjects(vbs::Engine& engine) {
  RefreshVariableObjects();
  // Every variable's members are global; all have the same two, so the first one's answer
  // every bare `Name` and `Value`, and the others need not be searched.
  bool first = true;
  for (const Ref<VariableObject>& v : variableObjects_) {
    engine.AddObject(v->Name(), v, first);
    first = false;
  }
  ui::Form& form = game_->Form();
  auto control = [&](const char* name) { return Ref<Object>(form.FindControl(name)); };
  auto array = [&](const char* name) { return Ref<Object>(form.FindArray(name)); };
  engine.AddObject("Hotspot", array("Area"), true);
  engine.AddObject("Text", array("Text"), true);
  engine.AddObject("ScreenObject", screen_, true);
  engine.AddObject("AppObject", app_, true);
  engine.AddObject("MessageObject", control("LabelMessageBox"), true);
  engine.AddObject("FrameMessageObject", control("FrameMessageBox"), true);
  if (game_->ControlsReferencesMode == kControlsReferencesAllowed) {
    engine.AddObject("WindowObject", Ref<Object>(&form), true);
  }
  engine.AddObject("TimedEventObject", array("TimedEvent"), true);
  engine.AddObject("Action", action_, true);
}

bool Scripting::ExecuteVBScript(const std::string& sText, bool bResetLastClickPosition) {
  if (!game_ || game_->GameStopping()) return false;
  GameSubsystems& subs = game_->Subsystems();
  if (bResetLastClickPosition) subs.hotspots->SaveClickPos(0, 0);
  if (running_ >= kMaxNestedRuns) {
    ReportScriptError(std::string(RuntimeError::StandardDescription(kErrOutOfStack)));
    return true;
  }
  EngineSlot& slot = EngineForRun();
  ++running_;
  struct Leave {
    int& running;
    ~Leave() { --running; }
  } leave{running_};
  try {
    BuildProgram(slot, sText);
    ExposeObjects(slot.engine);
    slot.engine.Run(kStartupProcedure);
    return false;
  } catch (const vbs::ScriptError& e) {
    ReportScriptError(e.FullDescription());
  } catch (const RuntimeError& e) {
    ReportScriptError(e.Description());
  } catch (const std::bad_alloc&) {
    ReportScriptError(std::string(RuntimeError::StandardDescription(kErrOutOfMemory)));
  }
  return true;
}

// ---- Checking without running ----

std::vector<vbs::UndeclaredName> Scripting::CheckProcedures() {
  checkEngine_ = std::make_unique<vbs::Engine>();
  ExposeObjects(*checkEngine_);
  return checkEngine_->CheckCode(procedures_, "procedures", vbs::CheckedBlock::Keep);
}

std::vector<vbs::UndeclaredName> Scripting::CheckScript(const std::string& code) {
  if (!checkEngine_) {
    checkEngine_ = std::make_unique<vbs::Engine>();
    ExposeObjects(*checkEngine_);
  }
  // The code's lines follow the header's; an error found at the closing "End Sub" (a block the
  // code leaves open) belongs to its last line.
  int headerLines =
      static_cast<int>(std::count(startupHeader_.begin(), startupHeader_.end(), '\n'));
  int codeLines = static_cast<int>(std::count(code.begin(), code.end(), '\n')) + 1;
  auto lineOfCode = [&](int line) { return std::clamp(line - headerLines, 1, codeLines); };
  std::vector<vbs::UndeclaredName> names;
  try {
    names = checkEngine_->CheckCode(startupHeader_ + code + "\r\nEnd Sub", "script");
  } catch (const vbs::ScriptError& e) {
    throw vbs::ScriptError(e.Number(), e.Description(), e.Name(), e.IsCompilation(), e.Block(),
                           lineOfCode(e.Line()), e.Column());
  }
  for (vbs::UndeclaredName& n : names)
    n.line = lineOfCode(n.line);
  return names;
}

void Scripting::ReportScriptError(const std::string& description) {
  const InterfaceTexts& t = c_.project.Texts();
  MessageBoxRequest box;
  box.title = t[29];
  box.text = t[30] + " " + t[31] +
             "\r\n\r\nError executing script. The Scripting Engine returned the following error "
             "message:\r\n\r\n" +
             description;
  box.icon = MsgIcon::Critical;
  c_.project.Messages().Show(box);
}

void Scripting::AfterScriptStep() {
  if (!game_) return;
  GameSubsystems& subs = game_->Subsystems();
  subs.hotspots->ShowOrNotShowAreas();
  if (action_->bStopGame) {
    game_->StartUnloading();
    return;
  }
  if (!subs.hotspots->OpenRequestedFrame()) events_.StartTimedEvents();
}

// ---- What the engine asks of its host ----

void Scripting::AddBlockedTime(std::chrono::steady_clock::time_point since) {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  since)
                .count();
  if (running_ > 0 && static_cast<std::size_t>(running_) <= engines_.size())
    engines_[static_cast<std::size_t>(running_ - 1)]->engine.AddBlockedTime(ms);
}

int Scripting::MessageBox(const std::string& prompt, int buttons, const std::string& title) {
  MessageBoxRequest box =
      MessageBoxRequest::FromStyle(title.empty() ? kDefaultBoxTitle : title, prompt, buttons);
  return static_cast<int>(c_.project.Messages().Show(box));
}

std::optional<std::string> Scripting::InputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
  ui::StandardDialogs dialogs(c_.windows);
  return dialogs.InputBox({title.empty() ? kDefaultBoxTitle : title, prompt, defaultText});
}

}  // namespace sl
