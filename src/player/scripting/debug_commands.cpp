// The debug menu's script entries, and the ticks of timed events and timer objects: each runs
// its code through ExecuteVBScript and then the after-script step.
#include "core/message_box.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "player/engine/game.h"
#include "player/scripting/script_api.h"
#include "player/scripting/scripting.h"
#include "player/startup/project.h"
#include "ui/control_array.h"
#include "ui/controls/timer_control.h"
#include "ui/standard_dialogs.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr const char* kSettingsApp = "Software";
constexpr const char* kLastCodeKey = "ExecuteVBScriptCode";
constexpr const char* kCodeErrorTitle = "Error Executing VBScript Code";

void ShowCritical(Project& project, const std::string& title, const std::string& text) {
  MessageBoxRequest box;
  box.title = title;
  box.text = text;
  box.icon = MsgIcon::Critical;
  project.Messages().Show(box);
}

}  // namespace

void Scripting::mnuExecuteVBScript_Click() {
  if (!game_) return;
  ui::UserSettings& settings = c_.windows.GetPlatform().Settings();
  const std::string& section = c_.project.Info().ProjectName;
  std::string code;
  std::string last;
  try {
    last = settings.Get(kSettingsApp, section, kLastCodeKey).value_or("");
  } catch (const std::exception&) {
  }
  try {
    ui::InputBoxRequest request;
    request.title = "Execute VBScript Code (for advanced users)";
    request.prompt =
        "Enter the VBScript code you want to execute and then click OK.\r\n\r\n"
        "For example, to retrieve the value of a variable, use the following code:\r\n\r\n"
        "                MsgBox VARIABLE_NAME\r\n\r\n";
    request.defaultText = last;
    std::optional<std::string> answer = ui::StandardDialogs(c_.windows).InputBox(request);
    if (!answer || answer->empty()) return;
    code = *answer;
    ExecuteVBScript(code, true);
    AfterScriptStep();
  } catch (const RuntimeError& e) {
    ShowCritical(c_.project, kCodeErrorTitle,
                 "Unable to execute the following VBScript code:\r\n\r\n" + code + "\r\n\r\n" +
                     e.Description());
    return;
  }
  if (action_->bStopGame) return;
  try {
    settings.Save(kSettingsApp, section, kLastCodeKey, code);
  } catch (const std::exception&) {
  }
}

void Scripting::mnuEditProcedures_Click() {
  MessageBoxRequest box;
  box.title = "Not Available";
  box.text = "This command is not available in the compiled version of the project.";
  box.icon = MsgIcon::Information;
  c_.project.Messages().Show(box);
}

void Scripting::TimerObject_Timer(int Index) {
  if (!game_) return;
  ui::ControlArray* timers = game_->Form().FindArray("TimerObject");
  auto* timer = timers ? dynamic_cast<ui::TimerControl*>(timers->Find(Index)) : nullptr;
  if (game_->GameStopping()) {
    if (timer) timer->SetEnabled(false);
    return;
  }
  try {
    ResetModule();
    ExecuteVBScript("TimerObject" + FormatGeneralNumber(Index), true);
    AfterScriptStep();
  } catch (const RuntimeError& e) {
    ShowCritical(c_.project, kCodeErrorTitle,
                 "Unable to execute the procedure named TimerObject" + std::to_string(Index) +
                     ". " + e.Description());
    // The timer may have gone with its frame meanwhile.
    timer = timers ? dynamic_cast<ui::TimerControl*>(timers->Find(Index)) : nullptr;
    if (timer) timer->SetEnabled(false);
  }
}

void Scripting::TimedEvent_Timer(int Index) {
  if (!game_ || game_->GameStopping()) return;
  std::optional<std::string> code = events_.Fire(Index);
  if (!code) return;
  std::uint64_t generation = events_.Generation();
  ResetModule();
  SetHotspotNumber(0);
  if (ExecuteVBScript(*code, true)) events_.Drop(Index, generation);
  AfterScriptStep();
}

}  // namespace sl
