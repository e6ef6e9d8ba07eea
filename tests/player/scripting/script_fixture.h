// The script fixture game (tests/projects/scripts_game) started in-process, with shortcuts for
// running code through the script host as the game's callers do and for reading variables.
#pragma once

#include <filesystem>
#include <string>

#include "core/variant_convert.h"
#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "player/scripting/script_api.h"
#include "player/scripting/scripting.h"
#include "player/variables/variable_store.h"
#include "support/temp_folder.h"

namespace sl::test {

struct ScriptRun : GameRun {
  explicit ScriptRun(const std::string& project = "scripts_game") : GameRun(project) { Start(); }

  Scripting& Host() { return player->Scripts(); }
  VBScriptActionModule& Action() { return Host().Action(); }
  // Runs code as the debug command does (the after-script step included); true when it failed.
  bool Run(const std::string& code) {
    bool failed = Host().ExecuteVBScript(code, true);
    Host().AfterScriptStep();
    return failed;
  }
  int Integer(const std::string& name) { return player->Variables().GetVariableValue(name); }
  std::string Text(const std::string& name) {
    for (const auto& v : player->Variables().VariablesVariant) {
      if (v->Name == name) return ToUtf8(v->Value);
    }
    return "<none>";
  }
  // The text of the last message box, or "" when none was shown.
  std::string LastBox() {
    return boxes.Shown().empty() ? std::string() : boxes.Shown().back().text;
  }
};

// The script fixture game copied where a test may change it.
struct FixtureCopy {
  TempFolder dir;
  FixtureCopy() {
    std::filesystem::copy(std::string(STORYLOOM_TEST_PROJECTS) + "/scripts_game", dir.Path(),
                          std::filesystem::copy_options::recursive);
  }
};

// The script error report as the player shows it, for `description`.
inline std::string ScriptErrorText(const std::string& description) {
  return "An error has occurred. The program may not work properly. Press 'Esc' and the click "
         "'Exit' to quit. Error description:\r\n\r\nError executing script. The Scripting "
         "Engine returned the following error message:\r\n\r\n" +
         description;
}

}  // namespace sl::test
