// The game's variable store: the integer variables `Variables`, the variant variables
// `VariablesVariant` and the `Disappear` list of (frame name, hotspot number) pairs, with the
// operations the rest of the player calls, the variables list file "Config\Variables" and the
// paged "Variables Status" window of the Debug menu.
//
// API:
//   VariableStore store(project);
//   store.LoadVariables();                        // both lists from the list file, all 0
//   store.ChangeVariableValue("lamp", -1);        // -1 toggles bit 0 of every "lamp"
//   std::int16_t v = store.GetVariableValue("x"); // -32000 when there is no such variable
//   store.Disappear.Add("Hall", 3);               // hotspot 3 of "Hall" has disappeared
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/variant.h"
#include "player/game_subsystems.h"
#include "player/variables/variable_collections.h"

namespace sl {

class Project;

class VariableStore final : public VariableSubsystem {
 public:
  static constexpr std::int16_t kUnknownVariable = -32000;

  explicit VariableStore(Project& project) : project_(project) {}

  VariablesCollection Variables;
  VariantCollection VariablesVariant;
  VariablesCollection Disappear;  // Name = frame name, Value = hotspot number

  void ChangeVariableValue(const std::string& VariableName, std::int16_t NewValue);
  // Every integer variable of that name takes exactly `NewValue`, -1 included (no toggle): how
  // a saved game gives values back.
  void SetVariableValue(const std::string& VariableName, std::int16_t NewValue);
  void ChangeVariableVariantValue(const std::string& VariableName, const Variant& NewValue);
  // Many values at once, as a saved game gives them back: every variable takes the value listed
  // last for its name, as calling SetVariableValue / ChangeVariableVariantValue for each pair in
  // order would leave it, in one pass over the variables.
  void SetVariableValues(const std::vector<std::pair<std::string, std::int16_t>>& values);
  void SetVariantValues(const std::vector<std::pair<std::string, Variant>>& values);
  std::int16_t GetVariableValue(const std::string& VariableName) const;
  bool IsDisappeared(const std::string& frame, std::int16_t number) const;

  // The status window's lines (line 0 is the help text) and its pages as shown.
  std::vector<std::string> StatusLines() const;
  static std::vector<std::string> StatusPages(const std::vector<std::string>& lines);

  // VariableSubsystem
  void ClearAll() override;
  void LoadVariables() override;
  bool HasVariable(const std::string& name) override;
  void ViewVariablesStatus() override;

 private:
  Project& project_;
};

}  // namespace sl
