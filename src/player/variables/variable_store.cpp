// The variable store's operations, the variables list file and the status window.
#include "player/variables/variable_store.h"

#include <string_view>
#include <unordered_map>

#include "core/case_fold.h"
#include "core/data_file_reader.h"
#include "core/message_box.h"
#include "core/path_resolver.h"
#include "core/variant_convert.h"
#include "player/startup/project.h"

namespace sl {

namespace {

constexpr int kPageLines = 25;

std::string StatusValue(const Variant& v) {
  if (v.IsEmpty()) return {};
  if (v.Type() == VarType::String || v.Type() == VarType::Boolean || v.Type() == VarType::Null ||
      v.Type() == VarType::Date) {
    return ToUtf8(v);
  }
  return FormatGeneralNumber(ToDouble(v));
}

std::string HelpText() {
  return "This window allows you to view the value of all the project variables. To create a new "
         "project variable, click \"Project Variables...\" from the frame editor menu. To "
         "manually change the value of a variable, click \"Execute VBS code...\" from the Debug "
         "menu, and then enter: \"VARIABLE_NAME = NEW_VALUE\" (without the quotes).";
}

}  // namespace

void VariableStore::ChangeVariableValue(const std::string& VariableName, std::int16_t NewValue) {
  try {
    for (const auto& v : Variables) {
      if (v->Name != VariableName) continue;
      v->Value = NewValue == -1 ? static_cast<std::int16_t>(v->Value ^ 1) : NewValue;
    }
  } catch (const RuntimeError&) {
    project_.ShowError(" Unable to change the value of the following variable: '" + VariableName +
                       "'. The variable may have been removed during the project creation.");
  }
}

void VariableStore::SetVariableValue(const std::string& VariableName, std::int16_t NewValue) {
  for (const auto& v : Variables) {
    if (v->Name == VariableName) v->Value = NewValue;
  }
}

void VariableStore::ChangeVariableVariantValue(const std::string& VariableName,
                                               const Variant& NewValue) {
  try {
    for (const auto& v : VariablesVariant) {
      if (v->Name == VariableName) v->Value = NewValue;
    }
  } catch (const RuntimeError&) {
    project_.ShowError(" Unable to change the value of the following variable: '" + VariableName +
                       "'. The variable may have been removed during the project creation.");
  }
}

namespace {

template <class Collection, class Value>
void AssignLastValueOfEachName(Collection& variables,
                               const std::vector<std::pair<std::string, Value>>& values) {
  std::unordered_map<std::string_view, const Value*> last;
  last.reserve(values.size());
  for (const auto& [name, value] : values)
    last[name] = &value;
  for (const auto& v : variables) {
    auto found = last.find(v->Name);
    if (found != last.end()) v->Value = *found->second;
  }
}

}  // namespace

void VariableStore::SetVariableValues(
    const std::vector<std::pair<std::string, std::int16_t>>& values) {
  AssignLastValueOfEachName(Variables, values);
}

void VariableStore::SetVariantValues(const std::vector<std::pair<std::string, Variant>>& values) {
  AssignLastValueOfEachName(VariablesVariant, values);
}

std::int16_t VariableStore::GetVariableValue(const std::string& VariableName) const {
  for (const auto& v : Variables) {
    if (v->Name == VariableName) return v->Value;
  }
  return kUnknownVariable;
}

bool VariableStore::IsDisappeared(const std::string& frame, std::int16_t number) const {
  for (const auto& d : Disappear) {
    if (d->Name == frame && d->Value == number) return true;
  }
  return false;
}

void VariableStore::ClearAll() {
  Variables.Clear();
  VariablesVariant.Clear();
  Disappear.Clear();
}

bool VariableStore::HasVariable(const std::string& name) {
  std::string folded = FoldCase(name);
  for (const auto& v : Variables) {
    if (FoldCase(v->Name) == folded) return true;
  }
  for (const auto& v : VariablesVariant) {
    if (FoldCase(v->Name) == folded) return true;
  }
  return false;
}

void VariableStore::LoadVariables() {
  Variables.Clear();
  VariablesVariant.Clear();
  try {
    DataFileReader reader(project_.Paths().ReadFile(project_.Folders().ConfigFolder + "Variables"));
    reader.Skip(1);
    bool variantMode = false;
    while (!reader.Eof()) {
      std::string name = reader.ReadString();
      if (name == "***") {
        variantMode = true;
      } else if (variantMode) {
        VariablesVariant.Add(name, Variant(std::int16_t{0}));
      } else {
        Variables.Add(name, 0);
      }
    }
  } catch (const RuntimeError&) {
    project_.ShowError(" Unable to load variables list.");
  }
}

std::vector<std::string> VariableStore::StatusLines() const {
  std::vector<std::string> lines{HelpText(), "", ""};
  lines.push_back(
      "-------------------------- INTEGER VARIABLES: --------------------------             ");
  lines.emplace_back();
  for (const auto& v : Variables)
    lines.push_back(v->Name + " = " + FormatGeneralNumber(v->Value));
  lines.emplace_back();
  lines.push_back(
      "-------------------------- VARIANT VARIABLES: --------------------------             ");
  lines.emplace_back();
  for (const auto& v : VariablesVariant)
    lines.push_back(v->Name + " = " + StatusValue(v->Value));
  return lines;
}

std::vector<std::string> VariableStore::StatusPages(const std::vector<std::string>& lines) {
  std::vector<std::string> pages;
  std::string buffer;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    buffer += lines[k] + "\r\n";
    if ((k + 1) % kPageLines == 0 && k + 1 != lines.size()) {
      pages.push_back(buffer);
      buffer = std::string(52, ' ') + "\r\n";
    }
  }
  pages.push_back(buffer + "\r\n");
  return pages;
}

void VariableStore::ViewVariablesStatus() {
  try {
    for (const std::string& page : StatusPages(StatusLines())) {
      MessageBoxRequest box;
      box.title = "Variables Status";
      box.text = page;
      box.icon = MsgIcon::Information;
      project_.Messages().Show(box);
    }
  } catch (const RuntimeError& e) {
    MessageBoxRequest box;
    box.title = "Error";
    box.text = "Error displaying variables status. " + e.Description();
    box.icon = MsgIcon::Exclamation;
    project_.Messages().Show(box);
  }
}

}  // namespace sl
