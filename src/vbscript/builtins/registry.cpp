// The table of every built-in function, joined from the families, and look-up by name.
#include <algorithm>
#include <vector>

#include "core/case_fold.h"
#include "core/object.h"
#include "vbscript/builtins/families.h"

namespace sl::vbs {

namespace {

bool NameLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
}

using Family = std::span<const BuiltinInfo> (*)();
constexpr Family kFamilies[] = {
    ConversionBuiltins, MathBuiltins,   StringBuiltins,     InspectionBuiltins, ArrayBuiltins,
    DateTimeBuiltins,   FormatBuiltins, MessageBoxBuiltins, ObjectBuiltins,
};

std::vector<BuiltinInfo> JoinFamilies() {
  std::vector<BuiltinInfo> all;
  for (Family family : kFamilies) {
    std::span<const BuiltinInfo> functions = family();
    all.insert(all.end(), functions.begin(), functions.end());
  }
  std::sort(all.begin(), all.end(),
            [](const BuiltinInfo& a, const BuiltinInfo& b) { return NameLess(a.name, b.name); });
  return all;
}

}  // namespace

std::span<const BuiltinInfo> AllBuiltins() {
  static const std::vector<BuiltinInfo> all = JoinFamilies();
  return all;
}

const BuiltinInfo* FindBuiltin(std::string_view name) {
  std::span<const BuiltinInfo> all = AllBuiltins();
  auto it = std::lower_bound(
      all.begin(), all.end(), name,
      [](const BuiltinInfo& info, std::string_view key) { return NameLess(info.name, key); });
  if (it != all.end() && NamesEqual(it->name, name)) return &*it;
  return nullptr;
}

}  // namespace sl::vbs
